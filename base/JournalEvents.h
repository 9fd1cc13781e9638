#pragma once

#include "base/Journal.h"

#include <QString>

#include <cstdint>
#include <string>

// The operator's journal of the night: one plain line per event in pantiro.log, to be read with
// tail -f and grep. The events go to the journal of the running program, and nowhere while
// there is none (a refused start, a test of one part).

// $XDG_STATE_HOME/Korvath/pantiro.log, by default ~/.local/state/Korvath/pantiro.log; a named
// profile's is pantiro-NAME.log.
QString JournalPath();

// The journal of this run: opened at JournalPath(), it notes the start with the settings file and
// the position list this instance runs (and names them again at the top of every later file),
// takes the events while it exists, and notes the exit at its end.
class ProgramJournal {
public:
    ProgramJournal(const QString& settingsFile, const QString& listFile);
    ~ProgramJournal();
    ProgramJournal(const ProgramJournal&) = delete;
    ProgramJournal& operator=(const ProgramJournal&) = delete;

private:
    Journal journal_;
    Journal* previous_;
};

void JournalPatrolStarted(bool goToOnly);
void JournalPatrolStopped(bool goToOnly);
void JournalPositionReached(const QString& name, int32_t x, int32_t y);
// A direction command did not reach the head: the patrol photographs nothing until a reference
// drive has found the head's place again.
void JournalPositionUncertain();
// `outcome` as DescribeCameraOutcome puts it: "success", "HTTP status 500", "time-out", ...
void JournalUserClick(const QString& name, const std::string& outcome);
void JournalLivePictureFailing(const std::string& outcome);
void JournalLivePictureBack();
void JournalSerialPortNotOpened(const QString& port);
void JournalSerialPortFailed(const QString& port, const QString& error);
void JournalSerialPortReopened(const QString& port);
// The camera answered 401 or 403 to a request with the login of `user`.
void JournalCameraLoginRefused(const QString& user);
// The camera's password could not be had at start; requests go with the user name alone.
void JournalCameraPasswordUnread(const QString& why);
// A stop command the head's route did not take, sent once more.
void JournalStopSentAgain();
