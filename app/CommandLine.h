#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the program before any window exists.
struct CommandLineRequest {
    enum class Action { RunWindow, Help, Version, AutostartOn, AutostartOff, ListProfiles, Usage };
    Action action = Action::RunWindow;
    QString usageError; // for Usage: what was wrong, in one line
    QString profile;    // --profile NAME; empty for the default profile
};

// Reads the arguments after the program name. Qt's own options (-style, -platform, ...) are let
// through for QApplication; anything else that is not Pantiro's own is a usage error.
CommandLineRequest ReadCommandLine(const QStringList& arguments);

// Answers --help, --version, --autostart and usage errors on the terminal, without a display, and
// says so in one line when the window would need a display that there is not (exit code 1).
// Returns the exit code then, or nothing when the window should start, with the profile chosen
// (UseProfile).
std::optional<int> AnswerCommandLine(int argc, char** argv);
