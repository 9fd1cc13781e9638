#include "platform/ModalDialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>

TEST(ModalDialog, RunsWithExecAndReportsZeroForOkAndMinusOneOtherwise)
{
    QDialog dialog;
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    EXPECT_EQ(RunModal(dialog), kDialogOk);
    QTimer::singleShot(0, &dialog, &QDialog::reject);
    EXPECT_EQ(RunModal(dialog), kDialogCancel);
}
