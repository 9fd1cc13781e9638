#include "tests/sim/RunningCamera.h"

#include <QElapsedTimer>

namespace {

using SimFaultsTest = RunningCamera;

QImage decoded(const QByteArray& bytes)
{
    return QImage::fromData(bytes, "JPEG");
}

TEST_F(SimFaultsTest, FixedStatusAnswersEveryCameraRequestAndDoesNothing)
{
    for (const int status : {404, 500}) {
        ASSERT_EQ(get(QStringLiteral("/sim/fault?status=%1").arg(status)).status, 200);
        for (const QString& target : {kPicture, relay('6'), kUserClick})
            EXPECT_EQ(get(target).status, status) << qPrintable(target);
    }
    clock.advance(1000);
    const QJsonObject s = state(); // the simulator's own pages keep working
    EXPECT_EQ(s[QStringLiteral("commands")].toInt(), 0);
    EXPECT_EQ(s[QStringLiteral("clicks")].toInt(), 0);
    EXPECT_EQ(s[QStringLiteral("pan")].toDouble(), 100.0);

    EXPECT_EQ(get(QStringLiteral("/sim/fault?clear")).status, 200);
    EXPECT_EQ(get(kPicture).status, 200);
}

TEST_F(SimFaultsTest, DelayHoldsBackEveryCameraAnswer)
{
    ASSERT_EQ(get(QStringLiteral("/sim/fault?delay=300")).status, 200);
    for (const QString& target : {kPicture, relay('6')}) {
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(get(target).status, 200);
        EXPECT_GE(timer.elapsed(), 300);
    }
    EXPECT_EQ(head.state().commands, 1);
}

TEST_F(SimFaultsTest, SpoiledPictures)
{
    const QByteArray normal = get(kPicture).body;

    get(QStringLiteral("/sim/fault?picture=garbage"));
    HttpAnswer answer = get(kPicture);
    EXPECT_EQ(answer.status, 200);
    EXPECT_FALSE(answer.body.startsWith("\xFF\xD8"));
    EXPECT_TRUE(decoded(answer.body).isNull());

    get(QStringLiteral("/sim/fault?picture=truncated"));
    answer = get(kPicture);
    EXPECT_EQ(answer.result, CURLE_OK);
    EXPECT_EQ(answer.status, 200);
    EXPECT_TRUE(answer.body.startsWith("\xFF\xD8"));
    EXPECT_FALSE(answer.body.endsWith("\xFF\xD9"));
    EXPECT_LT(answer.body.size(), normal.size() * 3 / 4);

    // The picture data lies beyond what the controller keeps (449999 bytes).
    get(QStringLiteral("/sim/fault?picture=oversized&bytes=600000"));
    answer = get(kPicture);
    EXPECT_EQ(answer.body.size(), 600000);
    EXPECT_EQ(decoded(answer.body).size(), QSize(320, 240));
    EXPECT_TRUE(decoded(answer.body.left(449999)).isNull());

    get(QStringLiteral("/sim/fault?picture=close"));
    answer = get(kPicture);
    EXPECT_EQ(answer.result, CURLE_PARTIAL_FILE);
    EXPECT_GT(answer.body.size(), 0);
    EXPECT_LT(answer.body.size(), normal.size());
}

TEST_F(SimFaultsTest, OversizedPictureHasExactlyTheAskedSize)
{
    const QByteArray jpeg = panorama.jpeg(100, 0, QDateTime::currentDateTime());
    // Around the largest comment segment, where the padding must be split with care.
    for (const qsizetype extra : {4, 5, 65537, 65538, 65539, 65540, 65541, 131074, 300001}) {
        const QByteArray large = oversizedPicture(jpeg, jpeg.size() + extra);
        EXPECT_EQ(large.size(), jpeg.size() + extra) << extra;
        EXPECT_EQ(decoded(large).size(), QSize(320, 240)) << extra;
    }
    EXPECT_EQ(oversizedPicture(jpeg, 1000), jpeg);
}

TEST_F(SimFaultsTest, WrongFaultRequestsChangeNothing)
{
    get(QStringLiteral("/sim/fault?status=404&delay=10"));
    for (const char* query : {"status=200", "status=abc", "delay=-1", "delay=60001", "picture=broken", "bytes=0",
                              "status=500&speed=3", "clear&status=99"})
        EXPECT_EQ(get(QStringLiteral("/sim/fault?") + QLatin1String(query)).status, 400) << query;
    const Faults::Settings now = faults.current();
    EXPECT_EQ(now.status, 404);
    EXPECT_EQ(now.delayMs, 10);
    EXPECT_EQ(now.picture, PictureFault::None);

    const QJsonObject answer =
        QJsonDocument::fromJson(get(QStringLiteral("/sim/fault?clear&picture=truncated")).body).object();
    EXPECT_EQ(answer[QStringLiteral("status")].toInt(), 0);
    EXPECT_EQ(answer[QStringLiteral("picture")].toString(), QStringLiteral("truncated"));
}

} // namespace
