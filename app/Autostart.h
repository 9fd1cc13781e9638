#pragma once

#include <QString>

// The user's autostart entry (XDG autostart folder): a link to the installed menu entry, so
// that the desktop starts Pantiro at every login, as the menu would. Switched off, it is gone, or
// says Hidden where an administrator's entry for every user would start Pantiro still.
struct AutostartResult {
    bool ok = false;
    QString message; // one line for the terminal: what now holds, or why nothing changed
};

AutostartResult EnableAutostart();
AutostartResult DisableAutostart();
