// A ring of result slots: a thread claims the next index only while that
// index's slot is free, the caller's thread empties the slots in index
// order.
#include "app/cli/OrderedJobs.h"

#include <condition_variable>
#include <exception>
#include <new>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

// An exception leaving a thread's function would end the process.
std::string Produce(const COrderedJobs& jobs, uint64_t i) {
    try {
        return jobs.produce(i);
    } catch (const std::bad_alloc&) {
        return jobs.fail(i, "out of memory");
    } catch (const std::exception& e) {
        return jobs.fail(i, e.what());
    } catch (...) {
        return jobs.fail(i, "an unknown failure");
    }
}

}  // namespace

void RunOrderedJobs(uint64_t nCount, unsigned nThreads, const COrderedJobs& jobs) {
    if (nThreads <= 1) {
        for (uint64_t i = 0; i < nCount; ++i) {
            std::string result = Produce(jobs, i);
            jobs.consume(result);
        }
        return;
    }
    const uint64_t nWindow = 2 * uint64_t{nThreads};
    std::vector<std::optional<std::string>> slots(nWindow);
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t nNext = 0;      // the next index to claim
    uint64_t nConsumed = 0;  // indices below this one are taken by consume

    auto work = [&] {
        for (;;) {
            uint64_t i = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return nNext >= nCount || nNext < nConsumed + nWindow; });
                if (nNext >= nCount) return;
                i = nNext++;
            }
            std::string result = Produce(jobs, i);
            {
                const std::lock_guard lock(mutex);
                slots[i % nWindow] = std::move(result);
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (unsigned n = 0; n < nThreads; ++n) threads.emplace_back(work);
    for (uint64_t i = 0; i < nCount; ++i) {
        std::string result;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slots[i % nWindow].has_value(); });
            result = std::move(*slots[i % nWindow]);
            slots[i % nWindow].reset();
            nConsumed = i + 1;
        }
        changed.notify_all();
        jobs.consume(result);
    }
    for (std::thread& thread : threads) thread.join();
}
