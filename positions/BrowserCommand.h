#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a configured browser command starts the browser on one address: a program and its
// arguments, handed to the system as they are, never through a shell.
struct BrowserLaunch {
    QString program;
    QStringList arguments;
};

// The launches a browser command (`$BROWSER`) names for `url`, to be tried in order until one
// starts.
//
// A command whose program is a Windows ".exe" is one launch of that program with the address as
// its one argument; the program is the text between the first two double quotes, or, without
// quotes, the text before the first blank after the last backslash.
//
// Any other command is a colon-separated list, as Linux desktops write it. Each entry is split
// into words by the shell's quoting rules (single and double quotes, backslash) without running
// a shell; colons that are quoted or escaped belong to their word. In every word "%s" stands for
// the address and "%%" for a percent sign; an entry without "%s" gets the address as its last
// argument. Empty entries, entries that name no program and an entry whose quote is never
// closed give no launch; such an entry ends at the first colon after its open quote.
QList<BrowserLaunch> BrowserLaunchesFor(const QString& command, const QString& url);
