#include "sim/CommandLine.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QCommandLineOption option(const char* name, const QString& description, const char* valueName = nullptr,
                          const QString& defaultValue = {})
{
    QCommandLineOption result(QString::fromLatin1(name),
                              defaultValue.isEmpty() ? description
                                                     : description + QStringLiteral(" Default: %1.").arg(defaultValue));
    if (valueName) {
        result.setValueName(QString::fromLatin1(valueName));
        result.setDefaultValue(defaultValue);
    }
    return result;
}

constexpr std::chrono::milliseconds kLongestLatency{10000};

} // namespace

CommandLine::CommandLine()
{
    parser_.setApplicationDescription(
        QStringLiteral("Plays the network camera (HTTP on 127.0.0.1) and the pan/tilt head (a pseudo-terminal) "
                       "for Pantiro. Stop it with Ctrl-C."));
    parser_.addHelpOption();
    parser_.addOptions({
        option("http-port", QStringLiteral("Camera port on 127.0.0.1; 0 takes a free one."), "N",
               QStringLiteral("8080")),
        option("serial-link", QStringLiteral("Make a link to the head's pseudo-terminal at PATH."), "PATH"),
        option("pan-speed", QStringLiteral("Pan speed."), "DEG_PER_S", QStringLiteral("10")),
        option("tilt-speed", QStringLiteral("Tilt speed."), "DEG_PER_S", QStringLiteral("5")),
        option("pan-end-stop", QStringLiteral("Right pan end stop; the left one is at 0."), "DEG",
               QStringLiteral("350")),
        option("tilt-min", QStringLiteral("Lowest tilt."), "DEG", QStringLiteral("-45")),
        option("tilt-max", QStringLiteral("Highest tilt."), "DEG", QStringLiteral("45")),
        option("start-pan", QStringLiteral("Pan at start; default the middle of the pan range."), "DEG"),
        option("start-tilt", QStringLiteral("Tilt at start."), "DEG", QStringLiteral("0")),
        option("start-latency", QStringLiteral("Time from a move command to the start of motion."), "MS",
               QStringLiteral("50")),
        option("stop-latency", QStringLiteral("Time from a stop command to standstill."), "MS", QStringLiteral("50")),
        option("size", QStringLiteral("Picture size."), "WxH", QStringLiteral("640x480")),
        option("click-pictures", QStringLiteral("Save the picture of every user click into DIR."), "DIR"),
        option("log", QStringLiteral("Append every request line and its headers to FILE."), "FILE"),
        option("fault-delay", QStringLiteral("Wait MS before each camera answer."), "MS", QStringLiteral("0")),
        option("fault-status", QStringLiteral("Answer every camera request with CODE (e.g. 404, 500); 0 for none."),
               "CODE", QStringLiteral("0")),
        option("fault-picture",
               QStringLiteral("Spoil the picture: none, garbage, truncated, oversized, close (mid-answer)."), "KIND",
               QStringLiteral("none")),
        option("fault-bytes", QStringLiteral("Body size of an oversized picture."), "N", QStringLiteral("600000")),
        option("camera-user", QStringLiteral("Every camera request needs this user name and the password."), "NAME"),
        option("camera-password", QStringLiteral("The password that goes with --camera-user."), "PW"),
        option("auth", QStringLiteral("How the camera asks for the login: digest or basic."), "SCHEME",
               QStringLiteral("digest")),
        option("quiet", QStringLiteral("No live status line.")),
    });
}

bool CommandLine::parse(const QStringList& arguments)
{
    if (!parser_.parse(arguments))
        return fail(parser_.errorText());
    if (!parser_.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument: %1").arg(parser_.positionalArguments().first()));
    return helpRequested() || readOptions();
}

bool CommandLine::readOptions()
{
    SimOptions& o = options_;
    HeadModel::Settings& head = o.head;
    double port = 0;
    if (!readNumber(QStringLiteral("http-port"), 0, 65535, port) || port != std::floor(port))
        return fail(QStringLiteral("--http-port must be a whole number from 0 to 65535"));
    o.httpPort = static_cast<quint16>(port);
    o.serialLink = parser_.value(QStringLiteral("serial-link"));
    o.clickFolder = parser_.value(QStringLiteral("click-pictures"));
    o.logFile = parser_.value(QStringLiteral("log"));
    o.quiet = parser_.isSet(QStringLiteral("quiet"));
    o.cameraUser = parser_.value(QStringLiteral("camera-user")).toUtf8();
    o.cameraPassword = parser_.value(QStringLiteral("camera-password")).toUtf8();
    const QString auth = parser_.value(QStringLiteral("auth"));
    if (auth != QStringLiteral("digest") && auth != QStringLiteral("basic"))
        return fail(QStringLiteral("--auth must be digest or basic"));
    o.auth = auth == QStringLiteral("basic") ? LoginCheck::Scheme::Basic : LoginCheck::Scheme::Digest;
    if (o.cameraUser.contains(':') || (o.cameraUser.isEmpty() && !o.cameraPassword.isEmpty()))
        return fail(QStringLiteral("--camera-password needs --camera-user, a name without a colon"));
    if (!readNumber(QStringLiteral("pan-speed"), 0.001, 360, head.panSpeed)
        || !readNumber(QStringLiteral("tilt-speed"), 0.001, 360, head.tiltSpeed)
        || !readNumber(QStringLiteral("pan-end-stop"), 1, 360, head.panEndStop)
        || !readNumber(QStringLiteral("tilt-min"), -90, 90, head.tiltMin)
        || !readNumber(QStringLiteral("tilt-max"), -90, 90, head.tiltMax)
        || !readMilliseconds(QStringLiteral("start-latency"), head.startLatency)
        || !readMilliseconds(QStringLiteral("stop-latency"), head.stopLatency)
        || !readSize(QStringLiteral("size"), o.pictureSize))
        return false;
    if (head.tiltMin >= head.tiltMax)
        return fail(QStringLiteral("--tilt-min must be below --tilt-max"));
    if (!readNumber(QStringLiteral("start-tilt"), head.tiltMin, head.tiltMax, head.startTilt))
        return false;
    if (parser_.isSet(QStringLiteral("start-pan"))) {
        double pan = 0;
        if (!readNumber(QStringLiteral("start-pan"), 0, head.panEndStop, pan))
            return false;
        head.startPan = pan;
    }
    Faults faults;
    const QString faultError = faults.update({
        {"delay", parser_.value(QStringLiteral("fault-delay")).toStdString()},
        {"status", parser_.value(QStringLiteral("fault-status")).toStdString()},
        {"picture", parser_.value(QStringLiteral("fault-picture")).toStdString()},
        {"bytes", parser_.value(QStringLiteral("fault-bytes")).toStdString()},
    });
    if (!faultError.isEmpty())
        return fail(QStringLiteral("--fault-") + faultError);
    o.faults = faults.current();
    return true;
}

bool CommandLine::readNumber(const QString& name, double lowest, double highest, double& value)
{
    bool ok = false;
    const double number = parser_.value(name).toDouble(&ok);
    if (!ok || !(number >= lowest && number <= highest))
        return fail(QStringLiteral("--%1 must be a number from %2 to %3").arg(name).arg(lowest).arg(highest));
    value = number;
    return true;
}

bool CommandLine::readMilliseconds(const QString& name, std::chrono::milliseconds& value)
{
    bool ok = false;
    const int ms = parser_.value(name).toInt(&ok);
    if (!ok || ms < 0 || ms > kLongestLatency.count())
        return fail(QStringLiteral("--%1 must be 0 to %2 ms").arg(name).arg(kLongestLatency.count()));
    value = std::chrono::milliseconds(ms);
    return true;
}

bool CommandLine::readSize(const QString& name, QSize& value)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{2,4})x(\\d{2,4})$"));
    const QRegularExpressionMatch match = pattern.match(parser_.value(name));
    const QSize size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 16 || size.height() < 16 || size.width() > 4096 || size.height() > 4096)
        return fail(QStringLiteral("--%1 must be WIDTHxHEIGHT, each 16 to 4096").arg(name));
    value = size;
    return true;
}

bool CommandLine::fail(const QString& text)
{
    error_ = text;
    return false;
}
