#pragma once

#include "app/AppMotionView.h"
#include "base/BeforeModal.h"
#include "controls/ImageList.h"
#include "motion/ArrivalWatch.h"
#include "motion/CameraExchanges.h"
#include "motion/CommPort.h"
#include "motion/DirectionControl.h"
#include "motion/LiveImageFeed.h"
#include "motion/TickThread.h"
#include "platform/CameraSecret.h"
#include "platform/SoundPlayer.h"
#include "platform/TrayIcon.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

class CReportListCtrl;
class FileInUseLock;
class LivePictureView;
class PatrolSequencer;
class PositionCommands;
class ReportListRows;
class SettingsStore;
struct ProcessState;

// The main window (template APPDLG): position display and arrows, the position list, the
// automatic group, the tray icon and the timers. It is a plain top-level window, not a modal
// dialog, so that hiding it to the tray does not end it; it ends only through ConfirmAndExit().
class CAppDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTrayIconId = 1000;
    static constexpr int kPositionTimerMs = 100;
    static constexpr int kLiveImageTimerMs = 500;

    explicit CAppDlg(SettingsStore& store);
    ~CAppDlg() override;

    // Loads the settings (asking for the language on the first start) and brings up everything
    // the window owns, timers last. False, after its message, when another running Pantiro
    // holds the position list of the working directory.
    bool OnInitDialog();
    // Captions of the group boxes, the buttons and the fixed rows in the current language.
    void ApplyLanguage();
    // Asks; on Yes ends in order.
    void ConfirmAndExit();
    // Every end of the program: stops the head (a patrol too), saves the position and hides the
    // window at once; releases everything and emits ended() once the stop is out, or after
    // HeadCommands::kEndStopTimeoutMs for a silent camera. The event loop runs meanwhile.
    void EndInOrder();
    // 1 when a left click on our tray icon restored the window, else 0.
    int OnTrayNotify(int iconId, int mouseMessage);

    void centreOnScreen();
    CReportListCtrl* listControl() const { return list_.get(); }
    LivePictureView* livePicture() const { return livePicture_; }
    const TrayIcon& tray() const { return tray_; }
    // Every command given to the head has been answered (or has left on the serial line).
    bool commandsSettled() const { return directions_.CommandsSettled(); }

signals:
    void ended();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The steering keys, whichever control of the window has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectCommands();
    // Tab reaches every button and the list; Enter clicks a button as Space does.
    void prepareKeyboard();
    void addTrayIcon();
    void startTimers();
    void OnClose();
    // The settings dialog; after its OK the window re-captions itself and reopens the port.
    void OnSettings();
    void OnActivate(bool minimised);
    // Shows the window again, normal and centred, as the tray icon's click does.
    void bringBack();
    void OnPatrolTick();
    void saveRestingPosition();
    // The second half of the end, once the stop is out or its time is up.
    void releaseAndEnd();
    // Draws the last completed picture, then starts the next fetch when none runs.
    void OnLiveImageTick();
    // The list's rows from the list file, and the commands and the patrol that work on them.
    void loadPositions();
    // The context menu at a point in screen coordinates; (-1, -1) comes from the keyboard.
    void OnContextMenu(QPoint globalPos);
    // A command of the buttons or the context menu by its ID.
    void OnCommand(int id);
    // The camera's password from where it is kept, then `then`.
    void readCameraPassword(std::function<void()> then);
    // The login dialog over the settings dialog; its OK takes effect at once.
    void OnLogin(QWidget* over);
    void OnLoginRefused(CameraExchanges::Purpose purpose);

    SettingsStore& store_;
    ProcessState& state_;
    CommPort ports_;
    // Every camera request of the window; outlives everything that starts them.
    CameraExchanges exchanges_;
    AppMotionView motionView_;
    DirectionControl directions_;
    ArrivalWatch arrival_; // outlives the tick thread that checks it
    TickThread tickThread_;
    int tickTimerId_ = 0;
    QTimer positionTimer_;
    QTimer liveImageTimer_;
    LivePictureView* livePicture_;
    // Its end ends a running fetch at once; the window's end thus never waits for the camera.
    LiveImageFeed liveFeed_;
    TrayIcon tray_;
    QIcon appIcon_;
    ImageList images_;
    // The list draws from images_, so it is deleted first, here, not later by QWidget.
    std::unique_ptr<CReportListCtrl> list_;
    std::unique_ptr<FileInUseLock> listLock_; // the list file is this instance's alone
    std::unique_ptr<ReportListRows> rows_;    // the list's rows, while the list exists
    std::unique_ptr<PositionCommands> positionCommands_;
    SoundPlayer sound_;
    std::unique_ptr<PatrolSequencer> patrol_; // drives through the list's rows, while they exist
    BeforeModalHook previousBeforeModal_;
    CameraSecret secret_;
    bool passwordKnown_ = false;    // the login has a password stored
    bool refusalJournaled_ = false; // the journal heard that the camera refused this login
    bool refusalTold_ = false;      // the operator has been told
    bool ended_ = false;
    bool ending_ = false;
    static constexpr qint64 kRestSaveMs = 1000;
    std::pair<int32_t, int32_t> savedPosition_; // as stored in ActPos; loaded at start
    QElapsedTimer sinceSave_;
};
