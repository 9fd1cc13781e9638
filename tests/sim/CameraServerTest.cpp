#include "tests/sim/RunningCamera.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>

using namespace Qt::StringLiterals;

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

QByteArray Md5(const QByteArray& text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

// A Digest answer to `nonce` as a client computes it; `uri` is what the header names.
QByteArray DigestHeader(const QByteArray& nonce, const char* nc, const QByteArray& password, const QString& uri)
{
    const QByteArray ha1 = Md5("op:" + QByteArray(LoginCheck::kRealm) + ':' + password);
    const QByteArray response = Md5(ha1 + ':' + nonce + ':' + nc + ":c0ffee:auth:" + Md5("GET:" + uri.toLatin1()));
    return "Authorization: Digest username=\"op\", realm=\"" + QByteArray(LoginCheck::kRealm) + "\", nonce=\"" + nonce
           + "\", uri=\"" + uri.toLatin1() + "\", response=\"" + response + "\", qop=auth, nc=" + nc
           + ", cnonce=\"c0ffee\"";
}

// What a camera that requires a login lets through, in turn on one camera: replays, foreign
// nonces, a login for another path, the wrong password and Basic where Digest was asked are
// refused; the simulator's own /sim/ is open.
TEST_F(SimCameraServerTest, ALoginIsCheckedAsACameraChecksIt)
{
    CameraServer digest(head, panorama, clicks, faults);
    digest.requireLogin("op", "pw:1 \xC3\xA4", LoginCheck::Scheme::Digest);
    CameraServer basic(head, panorama, clicks, faults);
    basic.requireLogin("op", "pw", LoginCheck::Scheme::Basic);
    ASSERT_TRUE(digest.start(0) && basic.start(0));
    const QByteArray pw = "pw:1 \xC3\xA4";
    const QString target = relay('8');
    const HttpAnswer challenged = HttpGet(digest.port(), target);
    EXPECT_EQ(challenged.status, 401);
    EXPECT_TRUE(challenged.challenge.startsWith("Digest realm=") && challenged.challenge.contains("qop=\"auth\""));
    const QByteArray nonce = challenged.challenge.split('"').value(5);
    ASSERT_EQ(nonce.size(), 32) << challenged.challenge.constData();

    const struct {
        const char* why;
        quint16 port;
        QByteArray header;
        long status;
    } rows[] = {
        {"the right answer", digest.port(), DigestHeader(nonce, "00000001", pw, target), 200},
        {"the same count again is a replay", digest.port(), DigestHeader(nonce, "00000001", pw, target), 401},
        {"a higher count", digest.port(), DigestHeader(nonce, "00000002", pw, target), 200},
        {"the wrong password", digest.port(), DigestHeader(nonce, "00000003", "pw", target), 401},
        {"a login for another path", digest.port(), DigestHeader(nonce, "00000004", pw, kPicture), 401},
        {"a nonce never given", digest.port(), DigestHeader(Md5("made up"), "00000001", pw, target), 401},
        {"Basic where Digest is asked", digest.port(), "Authorization: Basic " + ("op:" + pw).toBase64(), 401},
        {"Basic, right", basic.port(), "Authorization: Basic " + QByteArray("op:pw").toBase64(), 200},
        {"Basic, wrong", basic.port(), "Authorization: Basic " + QByteArray("op:px").toBase64(), 401},
    };
    for (const auto& row : rows)
        EXPECT_EQ(HttpGet(row.port, target, {row.header}).status, row.status) << row.why;
    EXPECT_EQ(HttpGet(basic.port(), target).challenge, QByteArray("Basic realm=\"pantiro-sim camera\""));
    EXPECT_EQ(HttpGet(digest.port(), u"/sim/state"_s).status, 200);
    EXPECT_EQ(head.state().commands, 3) << "the relay ran for the admitted requests alone";
}

} // namespace
