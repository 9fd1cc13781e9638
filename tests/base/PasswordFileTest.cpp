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

// The password file is trusted only when it is a plain file of the user's own that nobody else
// may read or change; anything else is refused with what is wrong, never read. Pantiro writes it
// with mode 0600, also over a file of a wider mode, and never through a link.
TEST(PasswordFile, OnlyAPlainFileOfTheUsersOwnWithoutRightsForOthersIsRead)
{
    enum What { Plain, Link, Folder, None, OtherUsers };
    struct Row {
        const char* why;
        const char* content;
        mode_t mode;
        What what;
        Kind kind;
        const char* password;
    };
    const Row rows[] = {
        {"as Pantiro writes it", "pw 1\n", 0600, Plain, Kind::Read, "pw 1"},
        {"read-only, CR LF, a second line", "pw\r\nmore\n", 0400, Plain, Kind::Read, "pw"},
        {"readable by the group", "pw\n", 0640, Plain, Kind::OpenToOthers, ""},
        {"writable by others only", "pw\n", 0602, Plain, Kind::OpenToOthers, ""},
        {"a link to a proper file", "pw\n", 0600, Link, Kind::NotPlain, ""},
        {"a folder", "", 0700, Folder, Kind::NotPlain, ""},
        {"none at all", "", 0600, None, Kind::Missing, ""},
        {"another user's (only root can give a file away)", "pw\n", 0600, OtherUsers, Kind::OpenToOthers, ""},
    };
    for (const Row& row : rows) {
        if (row.what == OtherUsers && ::geteuid() != 0)
            continue;
        QTemporaryDir folder;
        const QString path = folder.filePath(u"pantiro.password"_s);
        const QString target = row.what == Link ? folder.filePath(u"elsewhere"_s) : path;
        QFile file(target);
        if (row.what == Plain || row.what == Link || row.what == OtherUsers) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(row.content) >= 0 && file.flush());
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), row.mode), 0);
        }
        ASSERT_TRUE(row.what != Link || QFile::link(target, path));
        ASSERT_TRUE(row.what != Folder || QDir().mkdir(path));
        ASSERT_TRUE(row.what != OtherUsers || ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);

        const PasswordFileRead read = ReadPasswordFile(path);
        EXPECT_EQ(read.kind, row.kind) << row.why;
        EXPECT_EQ(read.password, QByteArray(row.password)) << row.why;
        if (row.kind == Kind::OpenToOthers) {
            EXPECT_EQ(read.mode, row.mode) << row.why;
            EXPECT_EQ(read.owner, row.what == OtherUsers ? 65534u : ::geteuid()) << row.why;
        }
        if (row.what == Plain && row.kind == Kind::OpenToOthers) {
            ASSERT_TRUE(WritePasswordFile(path, "mended")) << row.why;
            EXPECT_EQ(ReadPasswordFile(path).password, QByteArray("mended")) << row.why;
        }
        if (row.what == Link) {
            EXPECT_FALSE(WritePasswordFile(path, "through")) << row.why;
            EXPECT_EQ(ReadPasswordFile(target).password, QByteArray("pw")) << row.why;
        }
    }
}

} // namespace
