#pragma once

#include "base/JournalEvents.h"
#include "base/Settings.h"
#include "platform/SingleInstanceLock.h"

#include <memory>
#include <optional>

class CAppDlg;

// The application: refuses a second instance, prepares the process and brings up the main
// window.
class CPantiroApp {
public:
    CPantiroApp();
    ~CPantiroApp();
    CPantiroApp(const CPantiroApp&) = delete;
    CPantiroApp& operator=(const CPantiroApp&) = delete;

    // False when the start is refused (message shown); true once the main window is shown.
    bool InitInstance();
    // Runs the event loop until the main window's confirmed exit or an end requested from outside.
    int Run();
    // An end that cannot be refused (a signal, the session's end): the main window's orderly end,
    // also from inside a message box or dialog; before the window is up, the start ends there.
    void EndInOrder();

    CAppDlg* mainDialog() const { return dialog_.get(); }

private:
    SingleInstanceLock lock_;
    SettingsStore store_;
    std::optional<ProgramJournal> journal_; // outlives the window, whose events it notes
    std::unique_ptr<CAppDlg> dialog_;
    bool initialised_ = false;
    bool endRequested_ = false;
};
