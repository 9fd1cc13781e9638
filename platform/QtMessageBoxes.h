#pragma once

#include "base/MessageBox.h"

// Shows a request as a real modal QMessageBox and returns the button pressed.
MessageAnswer ShowQtMessageBox(const MessageBoxRequest& request);

// Makes every MessageBox() of the process a QMessageBox.
void InstallQtMessageBoxes();
