#include "tests/support/TestEnvironment.h"

#include "tests/support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QTemporaryDir* processHome = nullptr;

}  // namespace

void PrepareTestProcess()
{
    processHome = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/pantiro-test-XXXXXX"));
    const QString home = processHome->path();
    for (const char* sub : {"config", "runtime", "work"})
        QDir(home).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(home + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                 | QFileDevice::ExeOwner);
    setenv("XDG_CONFIG_HOME", qPrintable(home + QStringLiteral("/config")), 1);
    setenv("XDG_RUNTIME_DIR", qPrintable(home + QStringLiteral("/runtime")), 1);
    setenv("HOME", qPrintable(home), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QDir::setCurrent(home + QStringLiteral("/work"));
}

void TestEnvironment::SetUp()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptedMessageBoxes::Listener);
}

void TestEnvironment::TearDown()
{
    delete processHome;
    processHome = nullptr;
}
