#include "motion/CameraExchanges.h"

#include "motion/CameraHandle.h"

#include <QSocketNotifier>

#include <curl/curl.h>

#include <optional>
#include <vector>

struct CameraExchanges::Exchange {
    std::unique_ptr<CameraHandle> handle;
    Done done;
    Purpose purpose = Purpose::Command;
    uint64_t login = 0; // the login it began with; 0 for none
};

// The notifiers of one socket that libcurl wants watched.
struct CameraExchanges::Watch {
    std::unique_ptr<QSocketNotifier> read;
    std::unique_ptr<QSocketNotifier> write;

    ~Watch()
    {
        // libcurl may let a socket go while its notifier is still handing out its signal.
        for (auto* notifier : {read.release(), write.release()}) {
            if (notifier != nullptr) {
                notifier->setEnabled(false);
                notifier->deleteLater();
            }
        }
    }
};

CameraExchanges::CameraExchanges() : multi_(curl_multi_init())
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    if (multi_ == nullptr)
        return;
    curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, onSocket);
    curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, onTimer);
    curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
}

CameraExchanges::~CameraExchanges()
{
    for (auto& [id, exchange] : exchanges_)
        curl_multi_remove_handle(multi_, exchange->handle->easy());
    exchanges_.clear();
    watches_.clear();
    curl_multi_cleanup(multi_);
}

CameraExchanges::Id CameraExchanges::start(const std::string& host, const std::string& path, char* body, long timeoutMs,
                                           Purpose purpose, Done done)
{
    const Id id = nextId_++;
    if (!CameraAddressSet(host)) {
        finishLater(id, {});
        exchanges_.emplace(id, std::make_unique<Exchange>(Exchange{nullptr, std::move(done), purpose, 0}));
        return id;
    }
    std::unique_ptr<CameraHandle> handle = CameraHandle::prepare(host, path, body, timeoutMs, login_);
    if (!handle || multi_ == nullptr || curl_multi_add_handle(multi_, handle->easy()) != CURLM_OK) {
        finishLater(id, CameraOutcome::notPrepared());
        exchanges_.emplace(id, std::make_unique<Exchange>(Exchange{nullptr, std::move(done), purpose, 0}));
        return id;
    }
    exchanges_.emplace(
        id, std::make_unique<Exchange>(Exchange{std::move(handle), std::move(done), purpose, login_.active() ? loginNumber_ : 0}));
    return id;
}

void CameraExchanges::setLogin(const std::string& user, std::string& password)
{
    // Requests on their way keep the login they began with: libcurl holds its own copy. Their
    // refusal no longer counts: it was the old login's.
    login_.set(user, password);
    ++loginNumber_;
}

void CameraExchanges::abort(Id id)
{
    const auto found = exchanges_.find(id);
    if (found == exchanges_.end())
        return;
    if (found->second->handle)
        curl_multi_remove_handle(multi_, found->second->handle->easy());
    exchanges_.erase(found);
}

// A request that never reached libcurl ends like the others: later, from the event loop.
void CameraExchanges::finishLater(Id id, CameraOutcome outcome)
{
    QTimer::singleShot(0, this, [this, id, outcome] {
        const auto found = exchanges_.find(id);
        if (found == exchanges_.end())
            return;
        const Done done = std::move(found->second->done);
        exchanges_.erase(found);
        if (done)
            done({id, outcome, 0});
    });
}

int CameraExchanges::onSocket(void*, int socket, int what, void* self, void*)
{
    auto* exchanges = static_cast<CameraExchanges*>(self);
    if (what == CURL_POLL_REMOVE) {
        exchanges->watches_.erase(socket);
        return 0;
    }
    std::unique_ptr<Watch>& watch = exchanges->watches_[socket];
    if (!watch)
        watch = std::make_unique<Watch>();
    const auto follow = [&](std::unique_ptr<QSocketNotifier>& notifier, QSocketNotifier::Type type, bool wanted,
                            int events) {
        if (!notifier) {
            notifier = std::make_unique<QSocketNotifier>(socket, type);
            connect(notifier.get(), &QSocketNotifier::activated, exchanges,
                    [exchanges, socket, events] { exchanges->act(socket, events); });
        }
        notifier->setEnabled(wanted);
    };
    follow(watch->read, QSocketNotifier::Read, what == CURL_POLL_IN || what == CURL_POLL_INOUT, CURL_CSELECT_IN);
    follow(watch->write, QSocketNotifier::Write, what == CURL_POLL_OUT || what == CURL_POLL_INOUT, CURL_CSELECT_OUT);
    return 0;
}

int CameraExchanges::onTimer(void*, long timeoutMs, void* self)
{
    auto* exchanges = static_cast<CameraExchanges*>(self);
    if (timeoutMs < 0)
        exchanges->timer_.stop();
    else
        exchanges->timer_.start(static_cast<int>(timeoutMs));
    return 0;
}

void CameraExchanges::act(int socket, int events)
{
    int stillRunning = 0;
    curl_multi_socket_action(multi_, socket, events, &stillRunning);
    finishEnded();
}

// Each handler runs after its request has left the table, so that it may start or end others.
void CameraExchanges::finishEnded()
{
    struct Ended {
        Done done;
        Result result;
        std::optional<Purpose> refused;
    };
    std::vector<Ended> ended;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CameraHandle* handle = nullptr;
        curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &handle);
        const CURLcode result = message->data.result;
        for (auto it = exchanges_.begin(); it != exchanges_.end(); ++it) {
            if (it->second->handle.get() != handle)
                continue;
            const Result end{it->first, handle->outcome(result), handle->stored(result)};
            const bool refused = it->second->login == loginNumber_ && end.outcome.kind == CameraOutcome::Kind::Answered
                                 && (end.outcome.status == 401 || end.outcome.status == 403);
            ended.push_back(
                {std::move(it->second->done), end, refused ? std::optional(it->second->purpose) : std::nullopt});
            curl_multi_remove_handle(multi_, handle->easy());
            exchanges_.erase(it);
            break;
        }
    }
    for (const Ended& end : ended) {
        if (end.refused && refused_)
            refused_(*end.refused);
        if (end.done)
            end.done(end.result);
    }
}
