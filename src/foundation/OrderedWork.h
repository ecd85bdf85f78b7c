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

/// Runs work(i) for every i from 0 to count - 1 on up to `threads` threads, the calling one
/// among them (0: the machine's cores), and calls done(i, result) on the calling thread in the
/// order of i, each as soon as its result and all before it are ready. An exception from work is rethrown from here when
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

    const auto process = [&](int i) {
        Cell cell;
        try {
            cell.result.emplace(work(i));
        } catch (...) {
            cell.error = std::current_exception();
        }
        {
            const std::lock_guard lock(mutex);
            cells[static_cast<std::size_t>(i)] = std::move(cell);
        }
        ready.notify_all();
    };
    const auto isReady = [&](int i) {
        const Cell &cell = cells[static_cast<std::size_t>(i)];
        return cell.result.has_value() || cell.error != nullptr;
    };

    // The calling thread reads the first item itself, so the first row never waits for a
    // thread to start, and it keeps reading while it waits: it is one of the `threads`.
    next = 1;
    std::vector<std::jthread> pool;
    pool.reserve(std::size_t(threads - 1));
    for (int t = 1; t < threads; ++t) {
        pool.emplace_back([&] {
            for (int i = next++; i < count && !stop; i = next++)
                process(i);
        });
    }
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
    process(0);

    for (int i = 0; i < count; ++i) {
        Cell cell;
        {
            std::unique_lock lock(mutex);
            while (!isReady(i)) {
                lock.unlock();
                const int mine = next++;
                if (mine < count) {
                    process(mine);
                    lock.lock();
                    continue;
                }
                lock.lock();
                ready.wait(lock, [&] { return isReady(i); });
            }
            cell = std::move(cells[static_cast<std::size_t>(i)]);
        }
        if (cell.error)
            std::rethrow_exception(cell.error);
        done(i, *cell.result);
    }
}

} // namespace OrderedWork
