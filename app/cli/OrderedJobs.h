// Work spread over threads with its results taken in order: produce(i) runs
// for every i below count on N threads, and consume receives the results in
// the order of i, whatever order the threads finish in. At most a few
// results per thread wait for their turn, so the memory held does not grow
// with the count. A produce that throws ends neither the other jobs nor the
// process: fail(i, reason) gives that index's result instead.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

struct COrderedJobs {
    std::function<std::string(uint64_t)> produce;
    std::function<std::string(uint64_t, const std::string& reason)> fail;
    std::function<void(std::string&)> consume;
};

void RunOrderedJobs(uint64_t nCount, unsigned nThreads, const COrderedJobs& jobs);
