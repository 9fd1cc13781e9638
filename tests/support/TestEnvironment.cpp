#include "tests/support/TestEnvironment.h"

#include "tests/support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

// Removed when the process ends in any orderly way: also when it only lists its tests, runs
// none of them, or is a child that returns or calls exit() early, where the test environment's
// TearDown never runs.
std::unique_ptr<QTemporaryDir> processHome;

}  // namespace

void PrepareTestProcess()
{
    processHome = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pantiro-test-XXXXXX"));
    const QString home = processHome->path();
    for (const char* sub : {"config", "state", "runtime", "work"})
        QDir(home).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(home + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                 | QFileDevice::ExeOwner);
    setenv("XDG_CONFIG_HOME", qPrintable(home + QStringLiteral("/config")), 1);
    setenv("XDG_STATE_HOME", qPrintable(home + QStringLiteral("/state")), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home + QStringLiteral("/runtime")), 1);
    setenv("HOME", qPrintable(home), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QDir::setCurrent(home + QStringLiteral("/work"));
}

void TestEnvironment::SetUp()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptedMessageBoxes::Listener);
}
