// The build-graphs run without its window: import the diagram, run the
// program, take the series and sort each by x. Every path tears the run
// down completely; a failed or stopped run leaves no series behind.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "interpreter/ValueOverride.h"

class EntityList;
class CVGraphic;

struct RunControl {
    // Stop with StepLimit after this many statements; 0 means no bound.
    uint64_t nMaxSteps = 0;
    // Called about every kPollInterval statements, and after every
    // kPollBytes of program lines read, with the count so far; returning
    // false stops the run with Cancelled.
    std::function<bool(uint64_t nSteps)> pfnPoll;
    // Reads and looks up every line afresh each time it executes instead of
    // running the compiled form: the slow path that the fast one is checked
    // against. Both give the same series, messages and step counts.
    bool bReference = false;
    static constexpr uint64_t kPollInterval = 1u << 14;
    static constexpr uint64_t kPollBytes = 1u << 22;
};

// UnknownName: a value override names no settable value of the diagram;
// the run did not start.
enum class RunOutcome { Ok, Error, StepLimit, Cancelled, UnknownName };

struct BuildGraphsResult {
    RunOutcome outcome = RunOutcome::Ok;
    std::string strError;  // the interpreter's message when outcome is Error
    int64_t nErrorLine = 0;  // the program line of that error; 0 for none
    uint64_t nSteps = 0;     // statements executed, as the step bound counts them
    std::string strUnknownName;  // the override's name when outcome is UnknownName
    std::vector<std::unique_ptr<CVGraphic>> series;  // graphs-window order
};

// The overrides replace diagram values for this run only; the diagram is
// only read, so runs over one diagram may go on in parallel threads.
BuildGraphsResult BuildGraphs(const EntityList* pList, const std::string& program,
                              const RunControl& control = {}, const std::vector<CValueOverride>& overrides = {});
