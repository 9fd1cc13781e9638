#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The camera's password in a file of its own beside the settings file, for a machine whose
// keyring stays locked (an unattended login after a power cut). Only its owner may read it: a
// file that others could read, or that is not the user's own, is refused rather than trusted.

// <profile folder>/<application name>.password
QString PasswordFilePath();

struct PasswordFileRead {
    enum class Kind {
        Missing,      // no file: the password lives in the keyring, if anywhere
        Read,         // `password` holds it
        NotPlain,     // a link, a folder, a device ...
        OpenToOthers, // mode or owner wrong; `mode` and `owner` say how
        Unreadable,
    };
    Kind kind = Kind::Missing;
    QByteArray password; // the caller wipes it after use
    uint32_t mode = 0;   // permission bits, e.g. 0644
    uint32_t owner = 0;  // user ID
};

// The file's first line, a trailing CR or LF dropped (a file written with echo reads alike).
PasswordFileRead ReadPasswordFile(const QString& path);
// Replaces the file whole with mode 0600, also when it had another mode before.
bool WritePasswordFile(const QString& path, const QByteArray& password);
// True when no file is left.
bool RemovePasswordFile(const QString& path);
