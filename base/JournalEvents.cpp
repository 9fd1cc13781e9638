#include "base/JournalEvents.h"

#include "base/Profile.h"
#include "base/TextRules.h"

#include <QDir>
#include <QFile>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

std::atomic<Journal*> running{nullptr};

void Note(const QString& event)
{
    if (Journal* journal = running.load())
        journal->add(event.toStdString());
}

// Two profiles on one desktop share the journal: each line names its process, and each file
// names the profile and the list behind that process.
JournalWriter Writer(const QString& settingsFile, const QString& listFile)
{
    const QString runs = u"settings \"%1\", list \"%2\""_s.arg(settingsFile, listFile);
    return {"pantiro", (u"Pantiro started: "_s + runs).toStdString(), (u"Pantiro running: "_s + runs).toStdString()};
}

} // namespace

QString JournalPath()
{
    // The desktop's rules ignore a state folder that is not given as an absolute path.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/Korvath/"_s + ProfileStem() + u".log"_s;
}

ProgramJournal::ProgramJournal(const QString& settingsFile, const QString& listFile)
    : journal_(QFile::encodeName(JournalPath()).toStdString(), Writer(settingsFile, listFile)),
      previous_(running.exchange(&journal_))
{}

ProgramJournal::~ProgramJournal()
{
    Note(u"Pantiro exited"_s);
    running.store(previous_);
}

void JournalPatrolStarted(bool goToOnly)
{
    Note(goToOnly ? u"go-to started"_s : u"patrol started"_s);
}

void JournalPatrolStopped(bool goToOnly)
{
    Note(goToOnly ? u"go-to ended"_s : u"patrol stopped"_s);
}

void JournalPositionReached(const QString& name, int32_t x, int32_t y)
{
    Note(u"position reached: \"%1\", X %2, Y %3"_s.arg(name, FormatCounter(x), FormatCounter(y)));
}

void JournalPositionUncertain()
{
    Note(u"position uncertain: a command did not reach the head; the patrol starts again with the reference drive"_s);
}

void JournalUserClick(const QString& name, const std::string& outcome)
{
    Note(u"user click at \"%1\": %2"_s.arg(name, QString::fromStdString(outcome)));
}

void JournalLivePictureFailing(const std::string& outcome)
{
    Note(u"live picture failing: "_s + QString::fromStdString(outcome));
}

void JournalLivePictureBack()
{
    Note(u"live picture back"_s);
}

void JournalSerialPortNotOpened(const QString& port)
{
    Note(u"serial port %1 cannot be opened"_s.arg(port));
}

void JournalSerialPortFailed(const QString& port, const QString& error)
{
    Note(u"serial port %1 failed: %2"_s.arg(port, error));
}

void JournalSerialPortReopened(const QString& port)
{
    Note(u"serial port %1 reopened"_s.arg(port));
}

void JournalStopSentAgain()
{
    Note(u"stop sent again"_s);
}

void JournalCameraLoginRefused(const QString& user)
{
    Note(u"camera refused the login of user \"%1\""_s.arg(user));
}

void JournalCameraPasswordUnread(const QString& why)
{
    Note(u"camera password not read: "_s + why);
}
