#pragma once

// The program inside the QApplication that main made: shows "Socket Init Error" and ends when
// the camera requests could not be prepared, before anything is read or written; otherwise
// runs Pantiro until its confirmed exit. Returns the process's exit code.
int RunPantiro(bool cameraRequestsReady);
