#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

// Every test process makes a home of its own in the temporary folder; no way a process can end
// in an orderly fashion may leave it there, not even one that runs no test.
TEST(TestHome, ATestProcessThatRunsNoTestLeavesNoHomeBehind)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    for (const char* argument : {"--gtest_list_tests", "--gtest_filter=NoSuchTest.AtAll"}) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(argument)});
        ASSERT_TRUE(child.waitForFinished(30000)) << argument;
        EXPECT_EQ(child.exitCode(), 0) << argument;
        EXPECT_EQ(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
            << argument;
    }
}
