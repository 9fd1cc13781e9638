#pragma once

#include <QString>

// The user's autostart entry (XDG autostart folder): a link to the installed menu entry, so
// that the desktop starts Pantiro at every login, as the menu would. Switched off, it is gone, or
// says Hidden where an administrator's entry for every user would start Pantiro still.
struct AutostartResult {
    bool ok = false;
    QString message; // one line for the terminal: what now holds, or why nothing changed
};

// For a named profile the entry is a file of its own, written from the menu entry: it starts
// `pantiro --profile NAME` in ~/Pantiro/NAME (made if missing; the entry's Path line says so and
// can be changed), and the same entry is added to the menu. Switched off, only the autostart
// entry goes.
AutostartResult EnableAutostart(const QString& profile = {});
AutostartResult DisableAutostart(const QString& profile = {});

// The desktop entry's name without ".desktop": org.korvath.Pantiro, or org.korvath.Pantiro-NAME.
QString DesktopEntryId(const QString& profile);
