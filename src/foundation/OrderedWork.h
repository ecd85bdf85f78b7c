#pragma once
// Per-item work on a few threads with the results handed over in order: the folder listing and
// the tag list read their files side by side, yet rows still arrive one after the other, each
// as soon as it and every row before it are read.

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace OrderedWork {

/// The number of threads to use: the machine's cores (at least 1).
[[nodiscard]] inline int defaultThreads()
{
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

/// Runs work(i) for every i from 0 to count - 1 on up to `threads` threads (0: the machine's
/// cores) and calls done(i, result) on the calling thread in the order of i, each as soon as
/// its result and all before it are ready. An exception from work is rethrown from here when
/// its turn comes; one from done stops the remaining work.
template <typename Result>
void run(int count, int threads, const std::function<Result(int)> &work,
         const std::function<void(int, Result &)> &done)
{
    if (threads <= 0)
        threads = defaultThreads();
    threads = std::min(threads, count);
    if (threads <= 1) {
        for (int i = 0; i < count; ++i) {
            Result result = work(i);
            done(i, result);
        }
        return;
    }

    struct Cell {
        std::optional<Result> result;
        std::exception_ptr error;
    };
    std::vector<Cell> cells(static_cast<std::size_t>(count));
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};

    const auto worker = [&] {
        for (int i = next++; i < count && !stop; i = next++) {
            Cell slot;
            try {
                slot.result.emplace(work(i));
            } catch (...) {
                slot.error = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                cells[static_cast<std::size_t>(i)] = std::move(slot);
            }
            ready.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    pool.reserve(std::size_t(threads));
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(worker);
    // Stops and joins the workers whichever way this function is left.
    struct Finish {
        std::atomic<bool> &stop;
        std::vector<std::jthread> &pool;
        ~Finish()
        {
            stop = true;
            pool.clear();
        }
    } finish{stop, pool};

    for (int i = 0; i < count; ++i) {
        Cell slot;
        {
            std::unique_lock lock(mutex);
            ready.wait(lock, [&] { return cells[static_cast<std::size_t>(i)].result || cells[static_cast<std::size_t>(i)].error; });
            slot = std::move(cells[static_cast<std::size_t>(i)]);
        }
        if (slot.error)
            std::rethrow_exception(slot.error);
        done(i, *slot.result);
    }
}

} // namespace OrderedWork
