#pragma once

#include <QString>
#include <QStringList>

// How a configured browser command starts the browser on one address: a program and its
// arguments, handed to the system as they are, never through a shell.
struct BrowserLaunch {
    QString program; // empty: the command names no program
    QStringList arguments;
};

// The program part of a browser command. With double quotes: the text between the first two
// (a quoted program may be followed by quoted arguments); a single quote leaves the command as
// it is. Without quotes: the text before the first blank after the last backslash, when there
// are both and the backslash is not the first character; otherwise the command as it is.
QString BrowserProgram(const QString& command);

// The launch of `command` on `url`. A program cut out of the command is taken whole (its path
// may hold blanks) and gets the address as its one argument. A command left as it is, such as
// "firefox --new-window", is split into program and arguments by the shell's quoting rules
// without running a shell; an argument "%s" stands for the address, else the address comes last.
BrowserLaunch BrowserLaunchFor(const QString& command, const QString& url);
