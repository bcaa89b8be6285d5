// Everything a program run leaves that a caller can observe: the outcome,
// the message and its line, the step count, the steps at which the poll
// was asked, and every symbol with its value and series down to the bits.
// The corpus test and the differential fuzz target run a program both ways
// and compare two snapshots.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/Numbers.h"
#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"

struct CSymbolSnapshot {
    std::string strName;
    int32_t nKind = 0;
    double dValue = 0.0;
    const CVGraphic* pGraphic = nullptr;  // owned by the interpreter
};

struct CRunSnapshot {
    RunOutcome outcome = RunOutcome::Ok;
    std::string strError;
    int64_t nErrorLine = 0;
    uint64_t nSteps = 0;
    std::vector<uint64_t> polls;
    std::vector<CSymbolSnapshot> symbols;  // iteration order
};

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline bool SameSamples(const std::vector<CSample>& a, const std::vector<CSample>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

// Runs the program on the interpreter (already holding the diagram's
// symbols) and records what it left; the series stay in the interpreter.
// The steps at which a given poll is asked are recorded too.
inline CRunSnapshot SnapshotRun(CInterpreter& interp, const std::string& program, RunControl control) {
    CRunSnapshot snap;
    if (control.pfnPoll) {
        control.pfnPoll = [&snap, poll = control.pfnPoll](uint64_t nSteps) {
            snap.polls.push_back(nSteps);
            return poll(nSteps);
        };
    }
    try {
        snap.outcome = interp.Run(program, control);
    } catch (const CInterpreterError& e) {
        snap.outcome = RunOutcome::Error;
        snap.strError = e.Message();
        snap.nErrorLine = e.Line();
    }
    snap.nSteps = interp.StepCount();
    interp.m_symbols.ForEach([&](const std::string& name, const SymbolRec& rec) {
        snap.symbols.push_back({name, rec.nKind, rec.dValue, rec.nKind == SK_GRAPHIC ? rec.pGraphic : nullptr});
    });
    return snap;
}

// "" when the two runs left the same; else what differs first.
inline std::string FirstDifference(const CRunSnapshot& a, const CRunSnapshot& b) {
    if (a.outcome != b.outcome) return "outcome";
    if (a.strError != b.strError) return "message: [" + a.strError + "] vs [" + b.strError + "]";
    if (a.nErrorLine != b.nErrorLine) return "error line";
    if (a.nSteps != b.nSteps) return "steps: " + std::to_string(a.nSteps) + " vs " + std::to_string(b.nSteps);
    if (a.polls != b.polls) return "poll steps";
    if (a.symbols.size() != b.symbols.size()) return "symbol count";
    for (size_t i = 0; i < a.symbols.size(); ++i) {
        const CSymbolSnapshot& x = a.symbols[i];
        const CSymbolSnapshot& y = b.symbols[i];
        const std::string where = "symbol " + x.strName + ": ";
        if (x.strName != y.strName || x.nKind != y.nKind) return where + "name or kind";
        if (!SameBits(x.dValue, y.dValue))
            return where + FormatRoundTrip(x.dValue) + " vs " + FormatRoundTrip(y.dValue);
        if (!x.pGraphic) continue;
        const CVGraphic& g = *x.pGraphic;
        const CVGraphic& h = *y.pGraphic;
        if (g.m_nColor != h.m_nColor || g.m_strText != h.m_strText || !SameBits(g.m_dLoX, h.m_dLoX) ||
            !SameBits(g.m_dHiX, h.m_dHiX) || !SameBits(g.m_dLoY, h.m_dLoY) || !SameBits(g.m_dHiY, h.m_dHiY) ||
            !SameBits(g.m_dDivY, h.m_dDivY))
            return where + "series attributes";
        if (!SameSamples(g.m_samples, h.m_samples)) return where + "samples";
    }
    return "";
}
