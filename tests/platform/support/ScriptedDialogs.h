#pragma once

#include "platform/ModalDialog.h"

#include <QList>
#include <QString>

#include <functional>

class QDialog;

// Modal dialogs in a test. While an object of this class lives, RunModal() shows each dialog
// that the test announced with expect(), in order, hands it to the test's action (which clicks
// what a user would click) and returns the dialog's result. Any other dialog fails the test and
// is cancelled; at the end every announced dialog must have appeared.
class ScriptedDialogs {
public:
    using Action = std::function<void(QDialog&)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // `className` is the dialog's C++ class, as its meta-object names it.
    void expect(const QString& className, Action action);
    int shownCount() const { return shown_; }

private:
    int run(QDialog& dialog);

    struct Expected {
        QString className;
        Action action;
    };
    QList<Expected> script_;
    int shown_ = 0;
    ModalDialogRunner previous_;
};
