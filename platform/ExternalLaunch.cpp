#include "platform/ExternalLaunch.h"

#include <QDesktopServices>
#include <QProcess>

#include <utility>

namespace {

ExternalLauncher& currentLauncher()
{
    static ExternalLauncher launcher;
    return launcher;
}

bool launchForReal(const ExternalLaunch& launch)
{
    if (launch.program.isEmpty())
        return QDesktopServices::openUrl(launch.url);
    return QProcess::startDetached(launch.program, launch.arguments);
}

} // namespace

bool LaunchExternal(const ExternalLaunch& launch)
{
    const ExternalLauncher& launcher = currentLauncher();
    return launcher ? launcher(launch) : launchForReal(launch);
}

ExternalLauncher SetExternalLauncher(ExternalLauncher launcher)
{
    return std::exchange(currentLauncher(), std::move(launcher));
}
