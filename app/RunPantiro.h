#pragma once

// The program inside the QApplication that main made: shows "Socket Init Error" and ends when
// the camera requests could not be prepared, before anything is read or written; otherwise
// runs Pantiro until its confirmed exit, or until SIGTERM, SIGINT, SIGHUP or the desktop session's
// end bring the same orderly end (exit code 0). Returns the process's exit code.
int RunPantiro(bool cameraRequestsReady);
