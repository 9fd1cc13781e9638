#include "tests/platform/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDialog>

ScriptedDialogs::ScriptedDialogs()
{
    previous_ = SetModalDialogRunner([this](QDialog& dialog) { return run(dialog); });
}

ScriptedDialogs::~ScriptedDialogs()
{
    SetModalDialogRunner(previous_);
    for (const Expected& missing : script_)
        ADD_FAILURE() << "expected dialog did not appear: " << missing.className.toStdString();
}

void ScriptedDialogs::expect(const QString& className, Action action)
{
    script_.append({className, std::move(action)});
}

int ScriptedDialogs::run(QDialog& dialog)
{
    ++shown_;
    const QString className = QString::fromLatin1(dialog.metaObject()->className());
    if (script_.isEmpty() || script_.first().className != className) {
        ADD_FAILURE() << "unexpected dialog: " << className.toStdString();
        dialog.reject();
        return ModalResult(dialog);
    }
    const Expected next = script_.takeFirst();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    next.action(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return ModalResult(dialog);
}
