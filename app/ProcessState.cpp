#include "app/ProcessState.h"

#include "base/AppConfig.h"

ProcessState& processState()
{
    static ProcessState state;
    return state;
}

void ClearProcessState()
{
    ProcessState& state = processState();
    state.workingDirectory.clear();
    state.picture.clear();
    state.motion.clear();
    state.patrol.clear();
    appConfig() = AppConfig{};
}
