#include "motion/CameraRequestAbort.h"

#include <sys/socket.h>

void CameraRequestAbort::abort()
{
    aborted_.store(true, std::memory_order_release);
    const std::lock_guard lock(mutex_);
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

void CameraRequestAbort::attach(int socket)
{
    const std::lock_guard lock(mutex_);
    socket_ = socket;
    if (aborted())
        ::shutdown(socket_, SHUT_RDWR);
}

void CameraRequestAbort::detach(int socket)
{
    const std::lock_guard lock(mutex_);
    if (socket_ == socket)
        socket_ = -1;
}
