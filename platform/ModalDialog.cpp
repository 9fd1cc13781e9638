#include "platform/ModalDialog.h"

#include "base/BeforeModal.h"

#include <QDialog>

#include <utility>

namespace {

ModalDialogRunner& currentRunner()
{
    static ModalDialogRunner runner;
    return runner;
}

} // namespace

int ModalResult(const QDialog& dialog)
{
    return dialog.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
}

int RunModal(QDialog& dialog)
{
    RunBeforeModalHook();
    const ModalDialogRunner& runner = currentRunner();
    if (runner)
        return runner(dialog);
    dialog.exec();
    return ModalResult(dialog);
}

ModalDialogRunner SetModalDialogRunner(ModalDialogRunner runner)
{
    return std::exchange(currentRunner(), std::move(runner));
}
