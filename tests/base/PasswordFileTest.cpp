#include "base/PasswordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Kind = PasswordFileRead::Kind;

uint32_t ModeOf(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The password file is trusted only when it is a plain file of the user's own that nobody else
// may read or change; anything else is refused with what is wrong, never read.
TEST(PasswordFile, OnlyAPlainFileOfTheUsersOwnWithoutRightsForOthersIsRead)
{
    struct Row {
        const char* why;
        const char* content;
        mode_t mode;
        enum { Plain, Link, Folder, None, OtherOwner } what;
        Kind kind;
        const char* password;
    };
    const Row rows[] = {
        {"written as Pantiro writes it", "pw 1\n", 0600, Row::Plain, Kind::Read, "pw 1"},
        {"read-only for its owner", "pw", 0400, Row::Plain, Kind::Read, "pw"},
        {"CR LF from an editor elsewhere, the first line only", "pw\r\nmore\n", 0600, Row::Plain, Kind::Read, "pw"},
        {"readable by the group", "pw\n", 0640, Row::Plain, Kind::OpenToOthers, ""},
        {"readable by everyone", "pw\n", 0644, Row::Plain, Kind::OpenToOthers, ""},
        {"writable by others only", "pw\n", 0602, Row::Plain, Kind::OpenToOthers, ""},
        {"a link to a proper file", "pw\n", 0600, Row::Link, Kind::NotPlain, ""},
        {"a folder", "", 0700, Row::Folder, Kind::NotPlain, ""},
        {"none at all", "", 0600, Row::None, Kind::Missing, ""},
        {"another user's", "pw\n", 0600, Row::OtherOwner, Kind::OpenToOthers, ""},
    };
    for (const Row& row : rows) {
        // Only root can give a file away; elsewhere that row has nothing to show.
        if (row.what == Row::OtherOwner && ::geteuid() != 0)
            continue;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"pantiro.password"_s);
        const QString target = row.what == Row::Link ? folder.filePath(u"elsewhere"_s) : path;
        if (row.what == Row::Folder) {
            ASSERT_TRUE(QDir().mkdir(path));
        } else if (row.what != Row::None) {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.content) >= 0);
            file.close();
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), row.mode), 0);
        }
        if (row.what == Row::Link) {
            ASSERT_TRUE(QFile::link(target, path));
        }
        if (row.what == Row::OtherOwner) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }

        const PasswordFileRead read = ReadPasswordFile(path);
        EXPECT_EQ(read.kind, row.kind) << row.why;
        EXPECT_EQ(read.password, QByteArray(row.password)) << row.why;
        if (row.kind == Kind::OpenToOthers) {
            EXPECT_EQ(read.mode, row.mode) << row.why;
            EXPECT_EQ(read.owner, row.what == Row::OtherOwner ? 65534u : ::geteuid()) << row.why;
        }
    }
}

// Written whole with mode 0600, also over a file that others could read (the operator's mending
// of a refused file), never through a link.
TEST(PasswordFile, IsWrittenForItsOwnerAloneAndNeverThroughALink)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"profile/pantiro.password"_s);
    ASSERT_TRUE(WritePasswordFile(path, "first"));
    EXPECT_EQ(ModeOf(path), 0600u);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    ASSERT_TRUE(WritePasswordFile(path, "second"));
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_EQ(ReadPasswordFile(path).password, QByteArray("second"));
    EXPECT_EQ(QDir(folder.filePath(u"profile"_s)).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"pantiro.password"_s})
        << "no copy is left beside it";

    const QString link = folder.filePath(u"linked.password"_s);
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(WritePasswordFile(link, "third"));
    EXPECT_EQ(ReadPasswordFile(path).password, QByteArray("second"));
    EXPECT_TRUE(RemovePasswordFile(path));
    EXPECT_EQ(ReadPasswordFile(path).kind, Kind::Missing);
}

} // namespace
