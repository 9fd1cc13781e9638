#pragma once

#include "base/AppConfig.h"
#include "motion/CameraRequest.h"
#include "tests/support/RawHttpServer.h"

#include <cstdlib>
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
