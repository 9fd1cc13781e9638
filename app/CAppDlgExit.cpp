#include "app/CAppDlg.h"

#include "app/ProcessState.h"
#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "motion/Direction.h"
#include "motion/PatrolSequencer.h"

#include <QCloseEvent>
#include <QTimer>

#include <chrono>

namespace {

constexpr int kExitQuestionId = 1000;
constexpr std::chrono::milliseconds kEndStopPoll{5};
constexpr std::chrono::milliseconds kEndStopMargin{50};

} // namespace

// The close box, the window menu and Alt+F4 ask like "Beenden" does; only a confirmed exit closes.
void CAppDlg::closeEvent(QCloseEvent* event)
{
    if (!ended_ && !ending_)
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
    if (ending_)
        return;
    if (MessageBox(this, LoadText(kExitQuestionId), MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
        return;
    EndInOrder();
}

void CAppDlg::EndInOrder()
{
    if (ended_ || ending_)
        return;
    ending_ = true;
    // A head left running would reach its end stop; the stop also ends stops still being sent again.
    directions_.PrepareForTheEnd();
    if (state_.motion.automaticMode != 0 && patrol_)
        patrol_->OnStopAutomatic();
    else
        directions_.SendDirection(Stop);
    SaveActPos(store_, state_.motion.posX, state_.motion.posY);
    positionTimer_.stop();
    liveImageTimer_.stop();
    if (!directions_.StopOnItsWay()) {
        releaseAndEnd();
        return;
    }
    // The stop leaves from the event loop, which goes on taking signals meanwhile; a silent
    // camera is given the stop's own time-out, no more.
    hide();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(HeadCommands::kEndStopTimeoutMs) + kEndStopMargin;
    auto* watch = new QTimer(this);
    watch->setInterval(kEndStopPoll);
    connect(watch, &QTimer::timeout, this, [this, watch, deadline] {
        if (directions_.StopOnItsWay() && std::chrono::steady_clock::now() < deadline)
            return;
        watch->deleteLater();
        releaseAndEnd();
    });
    watch->start();
}

void CAppDlg::releaseAndEnd()
{
    if (tickTimerId_ != 0)
        tickThread_.stop();
    tickTimerId_ = 0;
    ports_.Close(appConfig().portSlot);
    tray_.remove();
    // The counters stand still now: this is the final position.
    SaveActPos(store_, state_.motion.posX, state_.motion.posY);
    ended_ = true;
    hide();
    emit ended();
}
