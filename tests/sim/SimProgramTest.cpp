#include "tests/sim/HttpGet.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const QString kProgram = QStringLiteral(PANTIRO_SIM_EXECUTABLE);

TEST(SimProgramTest, RunsUntilCtrlCAndRemovesItsLink)
{
    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("head"));
    QProcess sim;
    sim.start(kProgram, {QStringLiteral("--http-port"), QStringLiteral("0"), QStringLiteral("--serial-link"), link,
                         QStringLiteral("--quiet")});
    QString printed;
    const QRegularExpression port(QStringLiteral("127\\.0\\.0\\.1:(\\d+).*\\n.*head on (\\S+), linked"));
    QRegularExpressionMatch match;
    while (!(match = port.match(printed)).hasMatch() && sim.waitForReadyRead(10000))
        printed += QString::fromLocal8Bit(sim.readAllStandardOutput());
    ASSERT_TRUE(match.hasMatch()) << qPrintable(printed);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), match.captured(2));

    const HttpAnswer state = HttpGet(static_cast<quint16>(match.captured(1).toUInt()), QStringLiteral("/sim/state"));
    EXPECT_EQ(state.status, 200);
    EXPECT_EQ(QJsonDocument::fromJson(state.body).object()[QStringLiteral("pan")].toDouble(), 175.0);

    ::kill(static_cast<pid_t>(sim.processId()), SIGINT);
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(SimProgramTest, HelpListsTheOptionsAndWrongOptionsFail)
{
    QProcess help;
    help.start(kProgram, {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char* option : {"--http-port <N>", "--serial-link <PATH>", "--pan-speed <DEG_PER_S>",
                               "--tilt-speed <DEG_PER_S>", "--start-latency <MS>", "--fault-picture <KIND>"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;

    QProcess wrong;
    wrong.start(kProgram, {QStringLiteral("--pan-speed"), QStringLiteral("-1")});
    ASSERT_TRUE(wrong.waitForFinished(10000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(wrong.readAllStandardError().contains("--pan-speed"));
}

} // namespace
