#include "tests/sim/RunningCamera.h"

#include <QFile>
#include <QJsonArray>

namespace {

using SimCameraServerTest = RunningCamera;

TEST_F(SimCameraServerTest, PictureIsAJpegThatFollowsTheHead)
{
    const HttpAnswer first = get(kPicture);
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(first.contentType, QStringLiteral("image/jpeg"));
    const QImage before = QImage::fromData(first.body, "JPEG");
    EXPECT_EQ(before.size(), QSize(320, 240));

    EXPECT_EQ(get(relay('6')).status, 200);
    clock.advance(3050);
    const QImage after = QImage::fromData(get(kPicture).body, "JPEG");
    EXPECT_EQ(after.size(), QSize(320, 240));
    EXPECT_NE(after.copy(0, 20, 320, 200), before.copy(0, 20, 320, 200));
    EXPECT_EQ(state()[QStringLiteral("pictures")].toInt(), 2);
}

TEST_F(SimCameraServerTest, RelayedBytesMoveTheHead)
{
    EXPECT_EQ(get(relay('6')).status, 200);
    clock.advance(1050);
    QJsonObject s = state();
    EXPECT_DOUBLE_EQ(s[QStringLiteral("pan")].toDouble(), 110.0);
    EXPECT_EQ(s[QStringLiteral("direction")].toString(), QStringLiteral("right"));

    // The whole text goes to the head; bytes that are no command are passed and ignored.
    EXPECT_EQ(get(QStringLiteral("/control/rcontrol?action=putrs232&rs232outtext=58")).status, 200);
    EXPECT_EQ(get(relay('0')).status, 200);
    clock.advance(2000);
    s = state();
    EXPECT_EQ(s[QStringLiteral("commands")].toInt(), 3);
    EXPECT_EQ(s[QStringLiteral("direction")].toString(), QStringLiteral("up"));
    EXPECT_DOUBLE_EQ(s[QStringLiteral("pan")].toDouble(), 110.5);
    EXPECT_DOUBLE_EQ(s[QStringLiteral("tilt")].toDouble(), 9.75);
}

TEST_F(SimCameraServerTest, AnythingElseIsNotFound)
{
    for (const char* target :
         {"/", "/record/current.png", "/record/currentXjpg", "/control/rcontrol", "/control/rcontrol?action=putrs232",
          "/control/rcontrol?action=reboot", "/sim/other", "/control/rcontrol/x?action=userclick"})
        EXPECT_EQ(get(QString::fromLatin1(target)).status, 404) << target;
    const QJsonObject s = state();
    EXPECT_EQ(s[QStringLiteral("commands")].toInt(), 0);
    EXPECT_EQ(s[QStringLiteral("clicks")].toInt(), 0);
    EXPECT_EQ(s[QStringLiteral("pictures")].toInt(), 0);
}

TEST_F(SimCameraServerTest, UserClicksAreRecordedWithTheTruePosition)
{
    EXPECT_EQ(get(kUserClick).status, 200);
    get(relay('4'));
    clock.advance(2050);
    EXPECT_EQ(get(kUserClick).status, 200);

    const QJsonObject s = state();
    EXPECT_EQ(s[QStringLiteral("clicks")].toInt(), 2);
    const QJsonArray last = s[QStringLiteral("lastClicks")].toArray();
    ASSERT_EQ(last.size(), 2);
    EXPECT_DOUBLE_EQ(last[0][QStringLiteral("pan")].toDouble(), 100.0);
    EXPECT_DOUBLE_EQ(last[1][QStringLiteral("pan")].toDouble(), 80.0);
    EXPECT_EQ(last[1][QStringLiteral("number")].toInt(), 2);
    EXPECT_TRUE(QDateTime::fromString(last[1][QStringLiteral("time")].toString(), Qt::ISODateWithMs).isValid());
    QFile saved(last[1][QStringLiteral("file")].toString());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QImage::fromData(saved.readAll(), "JPEG").size(), QSize(320, 240));

    for (int i = 0; i < 12; ++i)
        clicks.record(0, 0);
    const std::vector<UserClicks::Click> kept = clicks.last();
    ASSERT_EQ(kept.size(), UserClicks::kKept);
    EXPECT_EQ(kept.front().number, 5);
    EXPECT_EQ(kept.back().number, 14);
}

TEST_F(SimCameraServerTest, LogsRequestsAndAnswersTheControllersHeadersUncompressed)
{
    const QList<QByteArray> headers = {"Accept: */*",
                                       "Accept-Language: de",
                                       "Accept-Encoding: gzip, deflate",
                                       "If-Modified-Since: Wed, 30 Nov 2005 16:29:27 GMT",
                                       "Connection: Keep-Alive",
                                       "User-Agent: Mozilla/4.0"};
    // The controller stores bodies without decoding them.
    EXPECT_EQ(HttpGet(server.port(), relay('8'), headers).body, QByteArray("OK\n"));
    EXPECT_TRUE(HttpGet(server.port(), QStringLiteral("/sim/state"), headers).body.startsWith("{"));
    EXPECT_TRUE(HttpGet(server.port(), kPicture, headers).body.startsWith("\xFF\xD8"));

    get(QStringLiteral("/nowhere?x=1"));
    QFile file(folder.filePath(QStringLiteral("requests.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> entries = file.readAll().split('\n');
    QByteArray first;
    for (const QByteArray& line : entries.mid(0, entries.indexOf("\r")))
        first += line + '\n';
    EXPECT_TRUE(first.startsWith("GET " + relay('8').toLatin1() + " HTTP/1.1\r\n"));
    for (const QByteArray& header : headers)
        EXPECT_TRUE(first.contains(header + "\r\n")) << header.constData();
    EXPECT_TRUE(first.contains("Host: 127.0.0.1:"));
    EXPECT_EQ(first.count('\n'), 8); // the request line and seven headers
    EXPECT_TRUE(entries.contains("GET /nowhere?x=1 HTTP/1.1\r"));
}

} // namespace
