// Runs of a model on a thread of their own, the newest request winning: a
// request that arrives while a run is going stops that run at its next poll,
// and requests that were never started are dropped, so a user dragging a
// slider never waits for stale runs.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "interpreter/BuildGraphs.h"
#include "interpreter/ModelSnapshot.h"

struct CRunRequest {
    std::shared_ptr<const CModelSnapshot> pModel;
    std::vector<CValueOverride> overrides;
    uint64_t nMaxSteps = 0;  // 0: no bound
};

class CBackgroundRun {
public:
    // Called on the run's thread when a run ends, with the ticket Submit
    // gave its request; a run stopped by a newer request ends Cancelled.
    using Finished = std::function<void(uint64_t nTicket, BuildGraphsResult result)>;

    explicit CBackgroundRun(Finished onFinished);
    // Stops the run going, if any, and waits for its thread.
    ~CBackgroundRun();
    CBackgroundRun(const CBackgroundRun&) = delete;
    CBackgroundRun& operator=(const CBackgroundRun&) = delete;

    // Queues the request in place of any not yet started, stops the run
    // going and returns the request's ticket (1, 2, ...).
    uint64_t Submit(CRunRequest request);
    // The ticket of the run going now; 0 while none is.
    uint64_t RunningTicket();

private:
    void Work();
    bool IsCurrent(uint64_t nTicket);

    Finished m_onFinished;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<CRunRequest> m_pending;
    uint64_t m_nLatest = 0;
    uint64_t m_nRunning = 0;
    bool m_bStopping = false;
    std::thread m_thread;  // started by the first request
};
