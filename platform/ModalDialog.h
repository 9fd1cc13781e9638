#pragma once

#include <functional>

class QDialog;

// Every modal dialog runs through RunModal(), so that tests can answer dialogs from a script
// the way they answer message boxes.

constexpr int kDialogOk = 0;
constexpr int kDialogCancel = -1;

// Runs the dialog modally; kDialogOk when it was accepted, kDialogCancel otherwise.
int RunModal(QDialog& dialog);

// The result RunModal() reports for a dialog that has ended.
int ModalResult(const QDialog& dialog);

using ModalDialogRunner = std::function<int(QDialog&)>;

// Replaces the runner and returns the one before; without one, dialogs run with exec().
ModalDialogRunner SetModalDialogRunner(ModalDialogRunner runner);
