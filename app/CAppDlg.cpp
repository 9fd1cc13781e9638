#include "app/CAppDlg.h"

#include "app/AppDlgTemplate.h"
#include "app/CSelLangDlg.h"
#include "app/LivePictureView.h"
#include "app/PositionListSetup.h"
#include "app/ProcessState.h"
#include "app/ShowHelp.h"
#include "base/AppConfig.h"
#include "base/FileReplace.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "base/Settings.h"
#include "controls/CReportListCtrl.h"
#include "controls/ReportListRows.h"
#include "motion/Direction.h"
#include "motion/OpenCommandPort.h"
#include "motion/PatrolSequencer.h"
#include "platform/DialogBuilder.h"
#include "platform/FileInUseLock.h"
#include "platform/ModalDialog.h"
#include "positions/PositionCommands.h"
#include "positions/PositionListFile.h"
#include "positions/dialogs/CInfoDlg.h"
#include "res/Resources.h"

#include <QDir>
#include <QMouseEvent>
#include <QPushButton>

namespace {

constexpr int kListInUseId = 1016;
constexpr int kLockFailedId = 1018;
constexpr int kAppIconId = 107;
constexpr int kImageStripId = 177;
constexpr QSize kListImageSize(20, 20);

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(IconResource(kAppIconId, size));
    return icon;
}

} // namespace

CAppDlg::CAppDlg(SettingsStore& store)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      store_(store), state_(processState()), motionView_(*this),
      directions_(state_.motion, appConfig(), ports_, exchanges_, motionView_), arrival_(this), positionTimer_(this),
      liveImageTimer_(this), livePicture_(nullptr), liveFeed_(state_.picture, exchanges_), tray_(kTrayIconId, this),
      images_(kListImageSize)
{
    BuildDialog(*this, AppDlgTemplate());
    livePicture_ = new LivePictureView(this);
    positionTimer_.setObjectName(QStringLiteral("timer100"));
    liveImageTimer_.setObjectName(QStringLiteral("timer500"));
    connectCommands();
    exchanges_.onLoginRefused([this](CameraExchanges::Purpose purpose) { OnLoginRefused(purpose); });
    // A box or dialog opened while an arrow is held takes the release away from this window.
    previousBeforeModal_ = SetBeforeModalHook([this] { directions_.ReleaseHeldArrow(); });
}

CAppDlg::~CAppDlg()
{
    SetBeforeModalHook(std::move(previousBeforeModal_));
}

bool CAppDlg::OnInitDialog()
{
    const ActPos position = LoadSettings(store_, appConfig(), [this] {
        CSelLangDlg languageDialog(store_, this);
        RunModal(languageDialog);
    });
    state_.motion.posX = position.x;
    state_.motion.posY = position.y;
    savedPosition_ = {position.x, position.y};
    sinceSave_.start();
    ApplyLanguage();

    state_.workingDirectory = QDir::currentPath();
    // Two instances of two profiles started in one folder would each rewrite the other's list.
    const QString listPath = PositionListPath(state_.workingDirectory);
    listLock_ = std::make_unique<FileInUseLock>(listPath);
    if (!listLock_->tryAcquire()) {
        const QString text =
            listLock_->heldElsewhere()
                ? LoadText(kListInUseId).arg(QDir::toNativeSeparators(listPath))
                : LoadText(kLockFailedId).arg(QDir::toNativeSeparators(listLock_->failedPath()), listLock_->failure());
        MessageBox(nullptr, text, MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    // Only this instance saves the list now; a copy left by a save that was cut off is its own.
    RemoveLeftOverCopies(listPath);
    setWindowTitle(WithProfileName(kMessageCaption));
    appIcon_ = appIcon();
    setWindowIcon(appIcon_);
    state_.motion.shownX = MotionState::kNeverShown;
    state_.motion.shownY = MotionState::kNeverShown;
    images_.addStrip(BitmapResource(kImageStripId));
    list_.reset(CreatePositionList(*this, images_));
    loadPositions();
    prepareKeyboard();
    // The desktop's notification area may take a moment to answer; the window does not wait.
    QTimer::singleShot(0, this, &CAppDlg::addTrayIcon);
    OpenCommandPort(appConfig(), ports_, this);
    // A Pantiro that crashed may have left the head running: a stop first, harmless at rest;
    // over a camera that asks for a login, as soon as its password is there.
    const bool stopNeedsLogin = !appConfig().usesSerialPort() && !appConfig().cameraUser.isEmpty();
    if (!stopNeedsLogin)
        directions_.SendDirection(Stop);
    startTimers();
    // Posted, so that the patrol starts once the window shows and its event loop runs, and with
    // the camera's login once its password is there.
    readCameraPassword([this, stopNeedsLogin] {
        if (stopNeedsLogin)
            directions_.SendDirection(Stop);
        if (appConfig().autoStartPatrol)
            QMetaObject::invokeMethod(
                this, [this] { OnCommand(AppDlgId::Start); }, Qt::QueuedConnection);
    });
    return true;
}

void CAppDlg::ApplyLanguage()
{
    for (const ControlCaption& caption : AppDlgCaptions())
        SetControlText(*this, caption.controlId, LoadText(caption.textId));
    if (list_)
        NameFixedRows(*list_);
    update();
}

void CAppDlg::centreOnScreen()
{
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}

void CAppDlg::connectCommands()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Control<QPushButton>(*this, id), &QPushButton::clicked, this, handler);
    };
    onClick(AppDlgId::Help, [this] { ShowHelp(*this); });
    onClick(AppDlgId::Settings, [this] { OnSettings(); });
    onClick(AppDlgId::Info, [this] { RunInfoDialog(this); });
    onClick(AppDlgId::ZeroPosition, [this] { directions_.OnZeroPosition(this); });
    onClick(AppDlgId::Exit, [this] { OnClose(); });
    for (int id :
         {AppDlgId::Start, AppDlgId::Stop, AppDlgId::PositionNew, AppDlgId::PositionUpdate, AppDlgId::PositionRemove})
        onClick(id, [this, id] { OnCommand(id); });
    connect(&positionTimer_, &QTimer::timeout, this, &CAppDlg::OnPatrolTick);
    connect(&liveImageTimer_, &QTimer::timeout, this, &CAppDlg::OnLiveImageTick);
    arrival_.onArrival([this] {
        if (patrol_)
            patrol_->OnArrival();
    });
    connect(&tray_, &TrayIcon::notify, this, &CAppDlg::OnTrayNotify);
    // Hidden without a tray, the window could never be brought back.
    connect(&tray_, &TrayIcon::hostLost, this, [this] {
        if (!isVisible() && !ended_)
            bringBack();
    });
}

void CAppDlg::startTimers()
{
    positionTimer_.start(kPositionTimerMs);
    liveImageTimer_.start(kLiveImageTimerMs);
    tickTimerId_ = tickThread_.start(state_.motion, &arrival_);
}

void CAppDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        directions_.OnArrowButtonDown(event->position().toPoint());
}

// Qt hands the release of a press that began on this window back to it even outside the
// window, so a held arrow always ends in a stop.
void CAppDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        directions_.OnArrowButtonUp(event->position().toPoint());
}
