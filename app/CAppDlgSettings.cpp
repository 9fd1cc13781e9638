#include "app/CAppDlg.h"

#include "base/AppConfig.h"
#include "motion/OpenCommandPort.h"
#include "platform/ModalDialog.h"
#include "positions/dialogs/CSetupDlg.h"

void CAppDlg::OnSettings()
{
    if (RunSetupDialog(
            appConfig(), store_, [this](QWidget* over) { OnLogin(over); }, this)
        != kDialogOk)
        return;
    ApplyLanguage();
    // Closes the port that was open and opens the one now configured.
    OpenCommandPort(appConfig(), ports_, this);
}
