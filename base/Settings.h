#pragma once

#include "base/IniText.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

struct AppConfig;

// The per-user store: section "Settings" of QSettings(NativeFormat, UserScope, "Korvath",
// <application name>), every value a string.
class SettingsStore {
public:
    SettingsStore();
    virtual ~SettingsStore();

    // The stored text, or `fallback` when the value is missing. A hand-edited value with
    // commas reads back whole.
    QString read(const QString& name, const QString& fallback) const;
    // False when the value could not be stored; the file then holds what it held before.
    bool write(const QString& name, const QString& text);
    // The writes that `writes` makes reach the file together, in one replacement of it: a crash,
    // a full disk or a refused lock leaves the old values or the new ones, never a part of each.
    // False when they could not be stored.
    bool writeTogether(const std::function<void()>& writes);

    // The folder of the settings file: the profile that one running instance owns. Where the
    // native store is no file (the Windows registry), the folder an INI profile would use.
    static QString profileFolder();
    // The settings file itself (on Windows, the registry key).
    static QString fileName();

    // Removes what saves cut off midway left beside the settings file. Only for the instance
    // that holds the profile.
    void removeLeftOverCopies();

protected:
    // Stores the values in their order, all or none. Virtual so that a test can watch them.
    virtual bool store(const IniValues& values);

private:
    std::optional<IniValues> together_;
};

struct ActPos {
    int32_t x = 0;
    int32_t y = 0;
};

// Reads every value into `config` and returns "ActPos". When "Language" is missing or negative,
// `chooseLanguage` runs (the language dialog: it sets config.language and writes "Language"
// itself, or changes nothing when cancelled). Missing values take their defaults and are not
// written back. The caller then re-captions its windows in the loaded language.
ActPos LoadSettings(SettingsStore& store, AppConfig& config, const std::function<void()>& chooseLanguage);

bool SaveActPos(SettingsStore& store, int32_t posX, int32_t posY);

// "Language" alone, as the language dialog writes it.
bool SaveLanguage(SettingsStore& store, int32_t language);

// "CameraUser" alone, as the login dialog writes it; an empty name removes the login.
bool SaveCameraUser(SettingsStore& store, const QString& user);

// The thirteen values the settings dialog writes on OK, in its order: Language, Comm, CommAdr,
// Cmd1 ... Cmd8, Times, Options. False when they could not be stored.
bool SaveAllSettings(SettingsStore& store, const AppConfig& config);
