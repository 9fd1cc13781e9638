#include "base/BeforeModal.h"

#include <utility>

namespace {

BeforeModalHook& currentHook()
{
    static BeforeModalHook hook;
    return hook;
}

}  // namespace

BeforeModalHook SetBeforeModalHook(BeforeModalHook hook)
{
    return std::exchange(currentHook(), std::move(hook));
}

void RunBeforeModalHook()
{
    const BeforeModalHook& hook = currentHook();
    if (hook)
        hook();
}
