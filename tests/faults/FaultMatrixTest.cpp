#include "tests/app/AppTestFixture.h"

#include "app/LivePictureView.h"
#include "app/ProcessState.h"
#include "base/JournalEvents.h"
#include "platform/DialogBuilder.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/faults/RecordedHeadLine.h"
#include "tests/support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int kStart = 170;
constexpr int kStop = 171;
constexpr int kClickStep = 70;
// Three positions on the line: right, right again, back left; the patrol then drives to zero.
constexpr char kList[] = "P1\t00300\t00000\r\nP2\t00600\t00000\r\nP3\t00400\t00000\r\n";

enum class FaultKind { Camera, CameraStopped, SerialGone, DiskFull };

struct FaultRow {
    const char* name;
    FaultKind kind;
    std::multimap<std::string, std::string> camera; // switched through the simulator's fault keys
    QStringList journal;                            // patterns of what JournalSays finds in the journal
};

void PrintTo(const FaultRow& row, std::ostream* out)
{
    *out << row.name;
}

// The directions the patrol sends for kList, each followed by a stop: the reference drive, then
// over and over the drive to zero and the three positions. A line that was plugged in late picks
// the cycle up anywhere; one that was pulled may end after a direction.
bool FollowsThePatrol(const std::string& bytes, bool fromStart, bool mayEndDriving)
{
    const std::string cycle = "4664";
    // The stop every start sends first, or the one that ended a cycle a late line missed.
    size_t i = !bytes.empty() && bytes.front() == '5' ? 1 : 0;
    for (size_t phase = 0; phase < (fromStart ? 1 : cycle.size()); ++phase) {
        size_t pair = fromStart ? 0 : 1 + phase;
        size_t at = i;
        for (; at + 1 < bytes.size(); at += 2, ++pair) {
            const char expected = pair == 0 ? '4' : cycle[(pair - 1) % cycle.size()];
            if (bytes[at] != expected || bytes[at + 1] != '5')
                break;
        }
        const size_t left = bytes.size() - at;
        const char next = pair == 0 ? '4' : cycle[(pair - 1) % cycle.size()];
        if (left == 0 || (left == 1 && (bytes[at] == '5' || (mayEndDriving && bytes[at] == next))))
            return true;
    }
    return false;
}

QString Journal()
{
    QFile file(JournalPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The outcomes of the user clicks, then what became of the live picture, of the serial port and of
// journal lines, each said once until it changes: the kinds interleave as the threads' timing has it.
QStringList JournalSays(const QString& journal)
{
    QStringList said;
    for (const char* event : {R"(user click at ".*": (.*))", R"(live picture (.*))", R"(serial port \S+ (\w+).*)",
                              R"(\d+ journal lines lost: (.*))"}) {
        const QRegularExpression line(u"^\\S+ pantiro\\[\\d+\\]: "_s + QLatin1String(event) + u'$',
                                      QRegularExpression::MultilineOption);
        QString last;
        for (auto match = line.globalMatch(journal); match.hasNext();) {
            const QString text = match.next().captured(1);
            if (text != std::exchange(last, text))
                said << text;
        }
    }
    return said;
}

// The 100 ms tick as it runs: the longest gap between two ticks, apart and while the user click is
// on its way, and how many clicks have ended.
class TickWatch {
public:
    explicit TickWatch(CAppDlg& window)
    {
        auto* timer = window.findChild<QTimer*>(u"timer100"_s);
        EXPECT_TRUE(timer);
        if (timer)
            QObject::connect(timer, &QTimer::timeout, &context_, [this] { onTick(); });
    }

    void restart()
    {
        longestGap_ = 0ms;
        longestClick_ = 0ms;
        clicksSent_ = 0;
        clickBegan_ = false;
    }
    std::chrono::milliseconds longestGap() const { return longestGap_; }
    std::chrono::milliseconds longestClick() const { return longestClick_; }
    int clicksSent() const { return clicksSent_; }

private:
    void onTick()
    {
        const auto now = std::chrono::steady_clock::now();
        const auto gap = last_ ? std::chrono::duration_cast<std::chrono::milliseconds>(now - *last_) : 0ms;
        const int32_t step = processState().patrol.step;
        if (step == kClickStep && lastStep_ != kClickStep)
            clickBegan_ = true;
        if (lastStep_ == kClickStep) {
            // A click begun since the restart has been answered (or timed out) once its step is left.
            if (step != kClickStep && std::exchange(clickBegan_, false))
                ++clicksSent_;
            longestClick_ = std::max(longestClick_, gap);
        } else {
            longestGap_ = std::max(longestGap_, gap);
        }
        last_ = now;
        lastStep_ = step;
    }

    QObject context_;
    std::optional<std::chrono::steady_clock::time_point> last_;
    int32_t lastStep_ = 0;
    std::chrono::milliseconds longestGap_{0};
    std::chrono::milliseconds longestClick_{0};
    int clicksSent_ = 0;
    bool clickBegan_ = false;
};

class FaultMatrix : public AppTest, public ::testing::WithParamInterface<FaultRow> {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(proxy);
        ASSERT_TRUE(camera->start(0));
        setenv("PANTIRO_CAMERA_PORT", std::to_string(camera->port()).c_str(), 1);
        writeSetting("Language", u"0"_s);
        writeSetting("Comm", line.link() + u",9600"_s);
        writeSetting("CommAdr", u"127.0.0.1"_s);
        writeSetting("Times", u"150,0,0,1"_s); // dwell ms, pause s, extra to zero s, reference s
        QFile list(QDir::current().filePath(u"pantiro.lst"_s));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write(kList);
        QFile::remove(JournalPath());
    }

    void TearDown() override
    {
        AppTest::TearDown();
        unsetenv("PANTIRO_CAMERA_PORT");
    }

    static QByteArray listFile()
    {
        QFile list(QDir::current().filePath(u"pantiro.lst"_s));
        return list.open(QIODevice::ReadOnly) ? list.readAll() : QByteArray("<missing>");
    }

    void switchOn(const FaultRow& row)
    {
        switch (row.kind) {
        case FaultKind::Camera:
            ASSERT_TRUE(faults.update(row.camera).isEmpty());
            break;
        case FaultKind::CameraStopped:
            camera.reset();
            break;
        case FaultKind::SerialGone:
            // Pulled while the head drives.
            WAIT_UNTIL_MS(processState().motion.direction != 0, 5000);
            line.pull();
            break;
        case FaultKind::DiskFull:
            // Put in place at once, as the writer may open the journal at any moment.
            std::filesystem::create_symlink("/dev/full", qPrintable(JournalPath() + u".full"_s));
            std::filesystem::rename(qPrintable(JournalPath() + u".full"_s), qPrintable(JournalPath()));
            break;
        }
    }

    void switchOff(const FaultRow& row, quint16 port)
    {
        switch (row.kind) {
        case FaultKind::Camera:
            ASSERT_TRUE(faults.update({{"clear", ""}}).isEmpty());
            break;
        case FaultKind::CameraStopped:
            camera = std::make_unique<CameraServer>(head, panorama, clicks, faults);
            ASSERT_TRUE(camera->start(port));
            break;
        case FaultKind::SerialGone:
            line.plugIn();
            break;
        case FaultKind::DiskFull:
            QFile::remove(JournalPath());
            break;
        }
    }

    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(160, 120)};
    UserClicks clicks;
    Faults faults;
    std::unique_ptr<CameraServer> camera = std::make_unique<CameraServer>(head, panorama, clicks, faults);
    RecordedHeadLine line{head};
};

// Each fault in turn while the patrol runs over the serial line and the live picture is on. The
// failures are silent (any message box fails the test), the tick keeps its pace, the head gets
// what the patrol's steps send, the list file stays as it was, and once the fault is gone the
// live picture and the user clicks come back by themselves. The journal tells it as it happened.
TEST_P(FaultMatrix, ThePatrolRidesOutTheFaultAndRecoversByItself)
{
    const FaultRow& row = GetParam();
    CAppDlg& window = start();
    const LivePictureView& live = *window.livePicture();
    TickWatch ticks(window);
    Control<QPushButton>(window, kStart)->click();
    WAIT_UNTIL_MS(clicks.count() >= 1 && live.picturesDrawn() >= 1, 15000);
    const quint16 port = camera->port();

    ticks.restart();
    const int drawnBefore = live.picturesDrawn();
    switchOn(row);
    // A second of commands into the void, or a user click under the fault.
    if (row.kind == FaultKind::SerialGone) {
        QTest::qWait(1000);
    } else {
        WAIT_UNTIL_MS(ticks.clicksSent() >= 1, 20000);
    }
    if (row.journal.contains(u"back"_s)) {
        WAIT_UNTIL_MS(Journal().contains(u"live picture failing"_s), 5000);
    }
    const int drawnInFault = live.picturesDrawn() - drawnBefore;
    switchOff(row, port);

    const int clicksAtClear = clicks.count();
    const int drawnAtClear = live.picturesDrawn();
    WAIT_UNTIL_MS(clicks.count() >= clicksAtClear + 2 && live.picturesDrawn() >= drawnAtClear + 2, 20000);
    const int clicksAfter = clicks.count() - clicksAtClear;
    const auto longestGap = ticks.longestGap();
    Control<QPushButton>(window, kStop)->click();
    WAIT_UNTIL_MS(Journal().contains(u"patrol stopped"_s), 5000);
    std::printf("fault-row %s: longest tick gap %lld ms, with the click %lld ms, pictures drawn in the fault %d, "
                "clicks after recovery %d\n",
                row.name, static_cast<long long>(longestGap.count()),
                static_cast<long long>(ticks.longestClick().count()), drawnInFault, clicksAfter);

    EXPECT_LE(longestGap, 150ms);
    const std::vector<std::string> received = line.received();
    ASSERT_EQ(received.size(), row.kind == FaultKind::SerialGone ? 2u : 1u);
    EXPECT_GE(received.front().size(), 6u) << "reference drive, drive to zero, first position";
    EXPECT_TRUE(FollowsThePatrol(received.front(), true, received.size() > 1)) << received.front();
    if (received.size() > 1) {
        EXPECT_TRUE(FollowsThePatrol(received.back(), false, false)) << received.back();
    }
    EXPECT_EQ(listFile(), QByteArray(kList));
    // The file begins with who writes it, also one made anew after the disk was full.
    EXPECT_EQ(Journal().section(u'\n', 0, 0).section(u' ', 2),
              u"Pantiro %1: settings \"%2\", list \"%3\""_s.arg(
                  row.kind == FaultKind::DiskFull ? u"running"_s : u"started"_s, SettingsStore::fileName(),
                  QDir::current().filePath(u"pantiro.lst"_s)));
    const QString said = JournalSays(Journal()).join(u" | "_s);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(row.journal.join(u" \\| "_s)));
    EXPECT_TRUE(expected.match(said).hasMatch())
        << "said:     " << qPrintable(said) << "\nexpected: " << qPrintable(row.journal.join(u" | "_s)) << "\n"
        << qPrintable(Journal());
}

const QString kRefused = u"connection error: Couldn't connect to server"_s;
const QString kUnreadable = u"failing: the camera sent no picture that could be shown"_s;

const FaultRow kRows[] = {
    {"delay3000", FaultKind::Camera, {{"delay", "3000"}}, {u"success"_s}},
    {"status404",
     FaultKind::Camera,
     {{"status", "404"}},
     {u"success"_s, u"HTTP status 404"_s, u"success"_s, u"failing: HTTP status 404"_s, u"back"_s}},
    {"status500",
     FaultKind::Camera,
     {{"status", "500"}},
     {u"success"_s, u"HTTP status 500"_s, u"success"_s, u"failing: HTTP status 500"_s, u"back"_s}},
    {"garbage", FaultKind::Camera, {{"picture", "garbage"}}, {u"success"_s, kUnreadable, u"back"_s}},
    {"truncatedJpeg", FaultKind::Camera, {{"picture", "truncated"}}, {u"success"_s}},
    {"oversized",
     FaultKind::Camera,
     {{"picture", "oversized"}, {"bytes", "2000000"}},
     {u"success"_s, kUnreadable, u"back"_s}},
    {"closeMidAnswer",
     FaultKind::Camera,
     {{"picture", "close"}},
     {u"success"_s, u"failing: connection error: Transferred a partial file"_s, u"back"_s}},
    {"cameraPortClosed",
     FaultKind::CameraStopped,
     {},
     // The picture on its way when the port closes is cut short, or the next one is refused.
     {u"success"_s, kRefused, u"success"_s, u"failing: connection error: .+"_s, u"back"_s}},
    {"serialDeviceGone", FaultKind::SerialGone, {}, {u"success"_s, u"failed"_s, u"reopened"_s}},
    {"diskFull", FaultKind::DiskFull, {}, {u"success"_s, u"No space left on device"_s}}, // lines but not the patrol
};

INSTANTIATE_TEST_SUITE_P(Rows, FaultMatrix, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FaultRow>& row) { return std::string(row.param.name); });

// The rule the rows check the serial line by.
TEST(FaultMatrixRule, TheLineMustCarryThePatrolsDirectionsEachFollowedByAStop)
{
    struct Case {
        const char* bytes;
        bool fromStart, mayEndDriving, follows;
    };
    const Case cases[] = {
        {"45456565454565", true, false, true}, // reference, zero, P1, P2, P3, zero, P1 ...
        {"545456565", true, false, true},      // the stop every start sends first
        {"4545656545455", true, false, true},  // stopped between two steps
        {"454565654545", true, false, true},   {"4545656", true, true, true},    // pulled while driving to P2
        {"4545656", true, false, false},       {"45455565", true, false, false}, // a stop too many mid-cycle
        {"4546", true, false, false},                                            // a position before the drive to zero
        {"56545456", false, true, true}, // plugged in late: the stop of P1, then on from P2
        {"6545", false, false, true},          {"6565", false, false, true}, // P1, P2
        {"666", false, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FollowsThePatrol(c.bytes, c.fromStart, c.mayEndDriving), c.follows) << c.bytes;
}

} // namespace
