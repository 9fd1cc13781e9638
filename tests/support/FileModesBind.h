#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the calling thread is held to the file modes even as root (as in CI): root's
// capability to write into any folder is set aside.
struct FileModesBind {
    FileModesBind()
    {
        __user_cap_data_struct bound[2] = {saved[0], saved[1]};
        bound[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        held = held && syscall(SYS_capset, &header, bound) == 0;
    }
    ~FileModesBind()
    {
        if (held)
            syscall(SYS_capset, &header, saved);
    }
    FileModesBind(const FileModesBind&) = delete;
    FileModesBind& operator=(const FileModesBind&) = delete;

    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
    bool held = syscall(SYS_capget, &header, saved) == 0; // after the two it fills
};
