// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one piece of work on each of several threads (the calling thread is one of them) and
// returns when all have ended; the first exception a worker throws is thrown again here, after
// the others have ended.
#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace sabrix {

// The threads a computation spreads over: the machine's hardware threads, 1 to 16.
inline int WorkerCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n > 16 ? 16 : n);
}

// Calls work(0) ... work(count - 1), each on a thread of its own, work(0) on this one. A
// thread that cannot be started leaves its work to this thread, after work(0).
inline void RunOnWorkers(int count, const std::function<void(int worker)>& work) {
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto guarded = [&](int worker) {
        try {
            work(worker);
        } catch (...) {
            const std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    int started = 1;
    for (; started < count; ++started) {
        try {
            threads.emplace_back(guarded, started);
        } catch (const std::system_error&) {
            break;
        }
    }
    guarded(0);
    for (int worker = started; worker < count; ++worker) guarded(worker);
    for (auto& thread : threads) thread.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace sabrix
