#pragma once

#include <QString>
#include <QStringList>

// The settings profile this process runs with: the default one, or one named with --profile so
// that one desk can steer several heads. Every file of a profile is named after its stem:
// Korvath/<stem>.conf, Korvath/<stem>.lock, Korvath/<stem>.log.

// Letters and digits (ASCII), '-' and '_', at most kMaxProfileName characters, not starting
// with '-' (it would read as an option).
constexpr int kMaxProfileName = 64;
bool IsProfileName(const QString& name);

// Chooses the profile for the rest of the process ("" for the default one), before anything
// reads settings; the application's name becomes the stem, so the settings follow.
void UseProfile(const QString& name);
QString ProfileName();
// "pantiro", or "pantiro-NAME".
QString ProfileStem();
// A title with the profile's name after it, so that windows side by side can be told apart.
QString WithProfileName(const QString& title);

// The named profiles whose settings exist in `settingsFolder` (.../Korvath), sorted.
QStringList FindProfiles(const QString& settingsFolder);
