#pragma once

#include "fileio/file_lock.h"

#include <chrono>
#include <thread>

namespace tavolin {

// The rounds of a wait for a lock, up to a deadline.
class LockWait final {
public:
    LockWait(std::chrono::milliseconds timeout, const LockWaitHook& hook)
        : deadline_(std::chrono::steady_clock::now() + timeout), hook_(hook) {}
    ~LockWait() {
        if (waited_ && hook_)
            hook_(false);
    }
    LockWait(const LockWait&) = delete;
    LockWait& operator=(const LockWait&) = delete;

    // Waits a moment; false once the deadline has passed.
    bool Round() {
        if (std::chrono::steady_clock::now() >= deadline_)
            return false;
        waited_ = true;
        if (hook_)
            hook_(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    }

private:
    std::chrono::steady_clock::time_point deadline_;
    const LockWaitHook& hook_;
    bool waited_ = false;
};

} // namespace tavolin
