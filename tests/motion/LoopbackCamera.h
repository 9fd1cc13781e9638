#pragma once

#include "base/AppConfig.h"
#include "motion/CameraExchanges.h"
#include "tests/support/RawHttpServer.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdlib>
#include <optional>
#include <string>

// Camera requests of this test process go to a loopback server: libcurl prepared once, and no
// proxy from the environment in between.
inline bool PrepareLoopbackCameraRequests()
{
    for (const char* proxy : {"http_proxy", "all_proxy", "ALL_PROXY"})
        unsetenv(proxy);
    return InitCameraRequests();
}

// Points the configuration at `camera` on 127.0.0.1, with the commands "cmd1" ... "cmd8".
inline void UseLoopbackCamera(AppConfig& config, const RawHttpServer& camera)
{
    setenv("PANTIRO_CAMERA_PORT", std::to_string(camera.port()).c_str(), 1);
    config.cameraAddress = QStringLiteral("127.0.0.1");
    for (int n = 1; n <= AppConfig::kCommandCount; ++n)
        config.commands[static_cast<size_t>(n - 1)] = QStringLiteral("cmd%1").arg(n);
}

// One camera request run to its end on a local event loop; nothing when it did not end within
// `limitMs` (a test fails on that).
inline std::optional<CameraExchanges::Result> ExchangeOnce(const std::string& host, const std::string& path, char* body,
                                                           int limitMs = 10000)
{
    CameraExchanges exchanges;
    QEventLoop loop;
    std::optional<CameraExchanges::Result> ended;
    exchanges.start(host, path, body, kCameraExchangeTimeoutMs, CameraExchanges::Purpose::Picture,
                    [&](const CameraExchanges::Result& result) {
                        ended = result;
                        loop.quit();
                    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return ended;
}

// The body bytes a request stored, 0 for none or for a request that did not end.
inline int32_t StoredBy(const std::string& host, const std::string& path, char* body)
{
    const std::optional<CameraExchanges::Result> ended = ExchangeOnce(host, path, body);
    return ended ? ended->stored : 0;
}
