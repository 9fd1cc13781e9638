// Pictures per second that pantiro-sim serves to two clients fetching at once, and its peak
// resident memory, at 640 x 480 and 1280 x 960. Each fetch uses a fresh connection, as the
// controller's does.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

constexpr auto kRunTime = std::chrono::seconds(4);
constexpr int kClients = 2;

size_t countBytes(char*, size_t size, size_t count, void* total)
{
    *static_cast<size_t*>(total) += size * count;
    return size * count;
}

bool fetchPicture(const QByteArray& url)
{
    CURL* curl = curl_easy_init();
    size_t bytes = 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 5L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, countBytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &bytes);
    long status = 0;
    const bool ok = curl_easy_perform(curl) == CURLE_OK
                    && curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status == 200
                    && bytes > 0;
    curl_easy_cleanup(curl);
    return ok;
}

// Peak resident memory of a process in MB.
double peakMemoryMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression peak(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : 0;
}

struct Result {
    double picturesPerSecond = 0;
    double memoryMb = 0;
    int failures = 0;
};

Result measure(const QString& size)
{
    QProcess sim;
    sim.start(QStringLiteral(PANTIRO_SIM_EXECUTABLE), {QStringLiteral("--http-port"), QStringLiteral("0"),
                                                       QStringLiteral("--size"), size, QStringLiteral("--quiet")});
    QString printed;
    static const QRegularExpression address(QStringLiteral("http://127\\.0\\.0\\.1:\\d+"));
    while (!address.match(printed).hasMatch() && sim.waitForReadyRead(10000))
        printed += QString::fromLocal8Bit(sim.readAllStandardOutput());
    if (!address.match(printed).hasMatch()) {
        std::fprintf(stderr, "pantiro-sim did not start: %s\n", qPrintable(printed));
        return {};
    }
    const QByteArray url = (address.match(printed).captured(0) + QStringLiteral("/record/current.jpg")).toUtf8();
    for (int i = 0; i < 5; ++i)
        fetchPicture(url);

    std::atomic<int> served{0};
    std::atomic<int> failed{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&] {
            while (std::chrono::steady_clock::now() - start < kRunTime)
                ++(fetchPicture(url) ? served : failed);
        });
    for (std::thread& client : clients)
        client.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    Result result{served / seconds, peakMemoryMb(sim.processId()), failed.load()};
    ::kill(static_cast<pid_t>(sim.processId()), SIGINT);
    sim.waitForFinished(10000);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    QCoreApplication app(argc, argv);
    const Result small = measure(QStringLiteral("640x480"));
    const Result large = measure(QStringLiteral("1280x960"));
    std::printf("size       pictures/s  peak MB  failed\n");
    std::printf("640x480    %10.1f  %7.1f  %6d\n", small.picturesPerSecond, small.memoryMb, small.failures);
    std::printf("1280x960   %10.1f  %7.1f  %6d\n", large.picturesPerSecond, large.memoryMb, large.failures);
    std::printf("figure: sim-pictures-per-second-640 = %.0f pictures/s\n", small.picturesPerSecond);
    std::printf("figure: sim-pictures-per-second-1280 = %.0f pictures/s\n", large.picturesPerSecond);
    std::printf("figure: sim-memory-mb = %.1f MB\n", small.memoryMb);
    std::printf("figure: sim-memory-mb-1280 = %.1f MB\n", large.memoryMb);
    curl_global_cleanup();
    return small.picturesPerSecond > 0 && large.picturesPerSecond > 0 ? 0 : 1;
}
