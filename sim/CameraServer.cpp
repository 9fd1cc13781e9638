#include "sim/CameraServer.h"

#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/HeadProtocol.h"
#include "sim/Panorama.h"
#include "sim/RequestLog.h"
#include "sim/UserClicks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <httplib.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <thread>

namespace {

constexpr const char* kJpegType = "image/jpeg";
constexpr const char* kTextType = "text/plain";
constexpr const char* kJsonType = "application/json";

double rounded(double degrees)
{
    return std::round(degrees * 1000.0) / 1000.0;
}

QString jsonText(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject clickJson(const UserClicks::Click& click)
{
    QJsonObject object{{QStringLiteral("number"), click.number},
                       {QStringLiteral("time"), click.time.toString(Qt::ISODateWithMs)},
                       {QStringLiteral("pan"), rounded(click.pan)},
                       {QStringLiteral("tilt"), rounded(click.tilt)}};
    if (!click.file.isEmpty())
        object.insert(QStringLiteral("file"), click.file);
    return object;
}

QJsonObject faultsJson(const Faults::Settings& faults)
{
    return {{QStringLiteral("delay"), faults.delayMs},
            {QStringLiteral("status"), faults.status},
            {QStringLiteral("picture"), pictureFaultName(faults.picture)},
            {QStringLiteral("bytes"), static_cast<qint64>(faults.oversizedBytes)}};
}

// The camera never compresses, whatever Accept-Encoding says (the controller stores bodies
// without decoding them), and httplib leaves bodies from a provider of known length alone.
// A body cut short of its announced length ends with a dropped connection.
void sendBody(httplib::Response& response, const QByteArray& body, const char* type, qsizetype sent = -1)
{
    auto bytes = std::make_shared<const QByteArray>(body);
    const auto end = static_cast<size_t>(sent < 0 ? body.size() : sent);
    response.set_content_provider(static_cast<size_t>(body.size()), type,
                                  [bytes, end](size_t offset, size_t, httplib::DataSink& sink) {
                                      return offset < end && sink.write(bytes->constData() + offset, end - offset);
                                  });
}

void sendText(httplib::Response& response, const QString& text, const char* type = kTextType)
{
    sendBody(response, text.toUtf8() + '\n', type);
}

bool isAddedByServer(const std::string& header)
{
    return header == "REMOTE_ADDR" || header == "REMOTE_PORT" || header == "LOCAL_ADDR" || header == "LOCAL_PORT";
}

} // namespace

struct CameraServer::Impl {
    Impl(HeadModel& h, const Panorama& p, UserClicks& c, Faults& f, RequestLog* l)
        : head(h), panorama(p), clicks(c), faults(f), log(l)
    {}

    HeadModel& head;
    const Panorama& panorama;
    UserClicks& clicks;
    Faults& faults;
    RequestLog* log;
    std::unique_ptr<LoginCheck> login;

    httplib::Server server;
    std::thread thread;
    quint16 port = 0;
    std::atomic<int64_t> pictures{0};
    std::mutex stopMutex;
    std::condition_variable stopping;
    bool stopped = false;

    void route();
    bool behaveAsCamera(const Faults::Settings& settings, httplib::Response& response);
    void pause(int ms);
    void logRequest(const httplib::Request& request) const;
    void picture(httplib::Response& response);
    void control(const httplib::Request& request, httplib::Response& response);
    void state(httplib::Response& response);
    void fault(const httplib::Request& request, httplib::Response& response);
};

void CameraServer::Impl::route()
{
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        logRequest(request);
        if (!login || request.path.rfind("/sim/", 0) == 0
            || login->admits(request.method, request.target, request.get_header_value("Authorization")))
            return httplib::Server::HandlerResponse::Unhandled;
        response.status = 401;
        response.set_header("WWW-Authenticate", login->challenge());
        sendText(response, QStringLiteral("Unauthorized"));
        return httplib::Server::HandlerResponse::Handled;
    });
    server.Get(QRegularExpression::escape(QLatin1String(CameraPath::kPicture)).toStdString(), [this](const httplib::Request&, httplib::Response& r) { picture(r); });
    server.Get(CameraPath::kControl,
               [this](const httplib::Request& request, httplib::Response& r) { control(request, r); });
    server.Get("/sim/state", [this](const httplib::Request&, httplib::Response& r) { state(r); });
    server.Get("/sim/fault", [this](const httplib::Request& request, httplib::Response& r) { fault(request, r); });
}

void CameraServer::Impl::logRequest(const httplib::Request& request) const
{
    if (!log)
        return;
    std::string entry = request.method + " " + request.target + " " + request.version + "\r\n";
    for (const auto& [name, value] : request.headers)
        if (!isAddedByServer(name))
            entry += name + ": " + value + "\r\n";
    entry += "\r\n";
    log->append(QByteArray::fromStdString(entry));
}

// Delay and fixed status of the camera faults; false when the request ends with that status.
bool CameraServer::Impl::behaveAsCamera(const Faults::Settings& settings, httplib::Response& response)
{
    if (settings.delayMs > 0)
        pause(settings.delayMs);
    if (settings.status == 0)
        return true;
    response.status = settings.status;
    sendText(response, QStringLiteral("Error %1").arg(settings.status));
    return false;
}

void CameraServer::Impl::pause(int ms)
{
    std::unique_lock lock(stopMutex);
    stopping.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopped; });
}

void CameraServer::Impl::picture(httplib::Response& response)
{
    const Faults::Settings settings = faults.current();
    if (!behaveAsCamera(settings, response))
        return;
    const HeadModel::State now = head.state();
    const QByteArray jpeg = panorama.jpeg(now.pan, now.tilt, QDateTime::currentDateTime());
    ++pictures;
    response.set_header("Cache-Control", "no-cache");
    switch (settings.picture) {
    case PictureFault::None:
        sendBody(response, jpeg, kJpegType);
        break;
    case PictureFault::Garbage:
        sendBody(response, garbagePicture(jpeg.size()), kJpegType);
        break;
    case PictureFault::Truncated:
        sendBody(response, truncatedPicture(jpeg), kJpegType);
        break;
    case PictureFault::Oversized:
        sendBody(response, oversizedPicture(jpeg, settings.oversizedBytes), kJpegType);
        break;
    case PictureFault::Close:
        sendBody(response, jpeg, kJpegType, jpeg.size() / 2);
        break;
    }
}

void CameraServer::Impl::control(const httplib::Request& request, httplib::Response& response)
{
    const std::string action = request.get_param_value(CameraPath::kActionParameter);
    const bool relay = action == CameraPath::kRelayAction && request.has_param(CameraPath::kRelayTextParameter);
    if (!relay && action != CameraPath::kClickAction) {
        response.status = 404;
        return;
    }
    if (!behaveAsCamera(faults.current(), response))
        return;
    if (relay) {
        for (char byte : request.get_param_value(CameraPath::kRelayTextParameter))
            head.receive(byte);
    } else {
        const HeadModel::State now = head.state();
        QByteArray picture;
        if (clicks.savesPictures())
            picture = panorama.jpeg(now.pan, now.tilt, QDateTime::currentDateTime());
        clicks.record(now.pan, now.tilt, picture);
    }
    sendText(response, QStringLiteral("OK"));
}

void CameraServer::Impl::state(httplib::Response& response)
{
    const HeadModel::State now = head.state();
    QJsonArray lastClicks;
    for (const UserClicks::Click& click : clicks.last())
        lastClicks.append(clickJson(click));
    const QJsonObject object{{QStringLiteral("pan"), rounded(now.pan)},
                             {QStringLiteral("tilt"), rounded(now.tilt)},
                             {QStringLiteral("direction"), HeadMotionName(now.direction)},
                             {QStringLiteral("lastCommand"), HeadMotionName(now.lastCommand)},
                             {QStringLiteral("commands"), static_cast<qint64>(now.commands)},
                             {QStringLiteral("clicks"), clicks.count()},
                             {QStringLiteral("pictures"), static_cast<qint64>(pictures.load())},
                             {QStringLiteral("lastClicks"), lastClicks},
                             {QStringLiteral("faults"), faultsJson(faults.current())}};
    sendText(response, jsonText(object), kJsonType);
}

void CameraServer::Impl::fault(const httplib::Request& request, httplib::Response& response)
{
    const QString error = faults.update(request.params);
    if (!error.isEmpty()) {
        response.status = 400;
        sendText(response, error);
        return;
    }
    sendText(response, jsonText(faultsJson(faults.current())), kJsonType);
}

CameraServer::CameraServer(HeadModel& head, const Panorama& panorama, UserClicks& clicks, Faults& faults,
                           RequestLog* log)
    : impl_(std::make_unique<Impl>(head, panorama, clicks, faults, log))
{
    impl_->route();
}

CameraServer::~CameraServer()
{
    stop();
}

void CameraServer::requireLogin(const QByteArray& user, const QByteArray& password, LoginCheck::Scheme scheme)
{
    impl_->login = std::make_unique<LoginCheck>(user, password, scheme);
}

bool CameraServer::start(quint16 port)
{
    Impl& d = *impl_;
    if (d.thread.joinable())
        return false;
    if (port == 0) {
        const int chosen = d.server.bind_to_any_port("127.0.0.1");
        if (chosen <= 0)
            return false;
        d.port = static_cast<quint16>(chosen);
    } else {
        if (!d.server.bind_to_port("127.0.0.1", port))
            return false;
        d.port = port;
    }
    d.thread = std::thread([&d] { d.server.listen_after_bind(); });
    // stop() only reaches a server that has begun to listen.
    while (!d.server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void CameraServer::stop()
{
    Impl& d = *impl_;
    if (!d.thread.joinable())
        return;
    {
        std::lock_guard lock(d.stopMutex);
        d.stopped = true;
    }
    d.stopping.notify_all();
    d.server.stop();
    d.thread.join();
}

quint16 CameraServer::port() const
{
    return impl_->port;
}

int64_t CameraServer::picturesServed() const
{
    return impl_->pictures.load();
}
