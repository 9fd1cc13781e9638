#include "platform/SoundPlayer.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>

namespace {

int loggedMessages = 0;

void CountMessage(QtMsgType, const QMessageLogContext&, const QString&)
{
    ++loggedMessages;
}

} // namespace

// Here, as in CI, there is no audio output: every play must return at once and say nothing.
// (Asking for the outputs may let the audio system log one notice of its own, once.)
TEST(SoundPlayer, WithoutAudioOutputPlayingIsSilentQuickAndLogsNothing)
{
    SoundPlayer player;
    if (player.hasAudioOutput())
        GTEST_SKIP() << "this machine has an audio output";
    loggedMessages = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountMessage);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 50; ++i) {
        player.play(178);
        player.play(999);  // no such sound
    }
    const qint64 elapsedMs = clock.elapsed();
    qInstallMessageHandler(previous);
    EXPECT_EQ(loggedMessages, 0);
    EXPECT_LT(elapsedMs, 100);
}
