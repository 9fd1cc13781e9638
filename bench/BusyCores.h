#pragma once

#include <atomic>
#include <thread>
#include <vector>

// Keeps `count` threads spinning while it lives: the machine loaded as a busy desktop loads it.
class BusyCores {
public:
    explicit BusyCores(int count)
    {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] {
                unsigned long spins = 0;
                while (!stop_.load(std::memory_order_relaxed))
                    spins = spins * 3 + 1;
                sink_ = spins;
            });
    }
    ~BusyCores()
    {
        stop_ = true;
        for (std::thread& thread : threads_)
            thread.join();
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::atomic<unsigned long> sink_{0};
    std::vector<std::thread> threads_;
};
