#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <optional>

// How a replacement of a file ended.
enum class FileReplaced {
    Yes,
    No,                    // the old file is as it was
    FolderRefusesNewFiles, // nothing could be created beside the file; the old file is as it was
};

// Replaces the file at `path` (through a link: the file it leads to) with `bytes`, whole or not
// at all. The bytes go to a new file beside it, which is synced and read back; `check` may look
// at that copy by its path. Only then is the copy renamed over the old file and the folder synced.
// A disk that is full or fills up, or a toolkit that swallows a write error, leaves the old file,
// and so does an old file without write permission for the user (root included). The new file
// gets `permissions` where given, else the old file's.
FileReplaced ReplaceFile(const QString& path, const QByteArray& bytes,
                         const std::function<bool(const QString& copy)>& check = {},
                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Removes the copies that replacements of `path` cut off midway (a crash, a kill) left beside
// it: regular files named exactly as ReplaceFile names its copies, nothing else.
void RemoveLeftOverCopies(const QString& path);

// Writes `bytes` over the file at `path` in place and reads them back. Not atomic: only for a
// file whose folder takes no new files, where nothing else can keep it. A file without write
// permission for the user is left as it is.
bool OverwriteFile(const QString& path, const QByteArray& bytes);
