#include "app/CAppDlg.h"

#include "app/AppDlgTemplate.h"
#include "app/ProcessState.h"
#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "controls/CReportListCtrl.h"
#include "controls/PositionListMenu.h"
#include "controls/ReportListRows.h"
#include "motion/Direction.h"
#include "motion/PatrolSequencer.h"
#include "platform/DialogBuilder.h"
#include "positions/PositionCommands.h"
#include "positions/PositionListFile.h"
#include "positions/dialogs/CPosDlg.h"

#include <QContextMenuEvent>
#include <QDir>

namespace {

constexpr int kListFileUnusableId = 1017;
constexpr int kPositionEdit = 400;
constexpr int kGoToPosition = 450;

} // namespace

// The list holds the positions: the file fills it once, and every change rewrites the file.
void CAppDlg::loadPositions()
{
    if (!list_)
        return;
    rows_ = std::make_unique<ReportListRows>(*list_);
    const QString path = PositionListPath(state_.workingDirectory);
    const bool listFileUsable = LoadPositionList(path, *rows_) >= 0;
    // Whatever stands there instead of a list stays as it is: this run keeps its list on screen
    // only, and says so once, when the window shows.
    if (!listFileUsable)
        QMetaObject::invokeMethod(
            this,
            [this, path] {
                MessageBox(this, LoadText(kListFileUnusableId).arg(QDir::toNativeSeparators(path)), MessageButtons::Ok,
                           MessageIcon::Stop);
            },
            Qt::QueuedConnection);
    positionCommands_ = std::make_unique<PositionCommands>(
        *rows_, listFileUsable ? path : QString(), state_.motion.posX, state_.motion.posY,
        [this](PositionTexts& texts) { return RunPositionDialog(texts, this); }, this);
    patrol_ = std::make_unique<PatrolSequencer>(state_.patrol, state_.motion, appConfig(), directions_, motionView_,
                                                motionView_, *rows_, sound_, arrival_, exchanges_);
    connect(list_.get(), &CReportListCtrl::itemDoubleClicked, this, [this] { OnCommand(kPositionEdit); });
    connect(list_.get(), &CReportListCtrl::returnPressed, this, [this] { OnCommand(kPositionEdit); });
    // "Entfernen" with its question; not while its button is off (a patrol runs).
    connect(list_.get(), &CReportListCtrl::deletePressed, this, [this] {
        if (FindControl(*this, AppDlgId::PositionRemove)->isEnabled())
            OnCommand(AppDlgId::PositionRemove);
    });
}

void CAppDlg::contextMenuEvent(QContextMenuEvent* event)
{
    OnContextMenu(event->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : event->globalPos());
}

void CAppDlg::OnContextMenu(QPoint globalPos)
{
    if (!list_)
        return;
    const QRect listRect(list_->mapToGlobal(QPoint(0, 0)), list_->size());
    if (!ContextMenuOpens(state_.motion.automaticMode != 0, listRect, globalPos))
        return;
    if (const int command = ShowPositionListMenu(this, globalPos))
        OnCommand(command);
}

void CAppDlg::OnCommand(int id)
{
    if (!positionCommands_ || !patrol_)
        return;
    switch (id) {
    case AppDlgId::PositionNew:
        positionCommands_->OnPositionNew();
        break;
    case AppDlgId::PositionUpdate:
        positionCommands_->OnPositionUpdate();
        break;
    case AppDlgId::PositionRemove:
        positionCommands_->OnPositionRemove();
        break;
    case kPositionEdit:
        positionCommands_->OnPositionEdit(state_.motion.automaticMode != 0);
        break;
    case AppDlgId::Start:
        patrol_->OnStartAutomatic();
        break;
    case AppDlgId::Stop:
        patrol_->OnStopAutomatic();
        break;
    case kGoToPosition:
        patrol_->OnGoToPosition(this);
        break;
    default:
        break;
    }
}

void CAppDlg::OnPatrolTick()
{
    if (patrol_)
        patrol_->OnPatrolTick();
    else
        directions_.RefreshPositionDisplay();
    saveRestingPosition();
}

// Whenever the head comes to rest somewhere new, its position is stored, at most once a
// second: a crash then loses at most the move under way.
void CAppDlg::saveRestingPosition()
{
    const MotionState& motion = state_.motion;
    const std::pair<int32_t, int32_t> position{motion.posX.load(), motion.posY.load()};
    if (motion.direction.load() != Stop || position == savedPosition_ || !sinceSave_.hasExpired(kRestSaveMs))
        return;
    if (SaveActPos(store_, position.first, position.second))
        savedPosition_ = position;
    sinceSave_.start();
}
