#include "app/CAppDlg.h"

#include "app/ProcessState.h"
#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "motion/Direction.h"
#include "motion/PatrolSequencer.h"

#include <QCloseEvent>

namespace {

constexpr int kExitQuestionId = 1000;

} // namespace

// The close box, the window menu and Alt+F4 ask like "Beenden" does; only a confirmed exit closes.
void CAppDlg::closeEvent(QCloseEvent* event)
{
    if (!ended_)
        OnClose();
    event->setAccepted(ended_);
}

void CAppDlg::OnClose()
{
    if (state_.motion.automaticMode != 0)
        return;
    ConfirmAndExit();
}

void CAppDlg::ConfirmAndExit()
{
    if (MessageBox(this, LoadText(kExitQuestionId), MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
        return;
    EndInOrder();
}

void CAppDlg::EndInOrder()
{
    if (ended_)
        return;
    // A head left running would reach its end stop; the stop also ends stops still being sent again.
    directions_.PrepareForTheEnd();
    if (state_.motion.automaticMode != 0 && patrol_)
        patrol_->OnStopAutomatic();
    else
        directions_.SendDirection(Stop);
    SaveActPos(store_, state_.motion.posX, state_.motion.posY);
    if (tickTimerId_ != 0)
        tickThread_.stop();
    tickTimerId_ = 0;
    ports_.Close(appConfig().portSlot);
    positionTimer_.stop();
    liveImageTimer_.stop();
    tray_.remove();
    // The counters stand still now: this is the final position.
    SaveActPos(store_, state_.motion.posX, state_.motion.posY);
    ended_ = true;
    hide();
    emit ended();
}
