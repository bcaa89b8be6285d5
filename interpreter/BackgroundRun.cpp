// The run thread: it sleeps until a request comes, runs it with a poll that
// says stop as soon as a newer ticket exists, and reports every run it
// started.
#include "interpreter/BackgroundRun.h"

#include <new>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"

CBackgroundRun::CBackgroundRun(Finished onFinished) : m_onFinished(std::move(onFinished)) {}

CBackgroundRun::~CBackgroundRun() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
        m_pending.reset();
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

uint64_t CBackgroundRun::Submit(CRunRequest request) {
    uint64_t nTicket = 0;
    {
        const std::lock_guard lock(m_mutex);
        nTicket = ++m_nLatest;
        m_pending = std::move(request);
        if (!m_thread.joinable()) m_thread = std::thread([this] { Work(); });
    }
    m_wake.notify_all();
    return nTicket;
}

uint64_t CBackgroundRun::RunningTicket() {
    const std::lock_guard lock(m_mutex);
    return m_nRunning;
}

bool CBackgroundRun::IsCurrent(uint64_t nTicket) {
    const std::lock_guard lock(m_mutex);
    return !m_bStopping && m_nLatest == nTicket;
}

void CBackgroundRun::Work() {
    for (;;) {
        CRunRequest request;
        uint64_t nTicket = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStopping || m_pending.has_value(); });
            if (m_bStopping) return;
            request = std::move(*m_pending);
            m_pending.reset();
            nTicket = m_nLatest;
            m_nRunning = nTicket;
        }
        RunControl control;
        control.nMaxSteps = request.nMaxSteps;
        control.pfnPoll = [this, nTicket](uint64_t) { return IsCurrent(nTicket); };
        BuildGraphsResult result;
        try {
            result = request.pModel
                         ? BuildGraphs(request.pModel->List(), request.pModel->Program(), control, request.overrides)
                         : BuildGraphs(nullptr, std::string(), control, request.overrides);
        } catch (const std::bad_alloc&) {
            // The thread must not take the application down with it.
            result.outcome = RunOutcome::Error;
            result.strError = "Out of memory.";
        }
        // An owner on its way out hears of no more runs.
        {
            const std::lock_guard lock(m_mutex);
            m_nRunning = 0;
            if (m_bStopping) return;
        }
        m_onFinished(nTicket, std::move(result));
    }
}
