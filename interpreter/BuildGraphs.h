// The build-graphs run without its window: import the diagram, run the
// program, take the series and sort each by x. Every path tears the run
// down completely; a failed or stopped run leaves no series behind.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class EntityList;
class CVGraphic;

struct RunControl {
    // Stop with StepLimit after this many statements; 0 means no bound.
    uint64_t nMaxSteps = 0;
    // Called about every kPollInterval statements, and after every
    // kPollBytes of program lines read, with the count so far; returning
    // false stops the run with Cancelled.
    std::function<bool(uint64_t nSteps)> pfnPoll;
    static constexpr uint64_t kPollInterval = 1u << 14;
    static constexpr uint64_t kPollBytes = 1u << 22;
};

enum class RunOutcome { Ok, Error, StepLimit, Cancelled };

struct BuildGraphsResult {
    RunOutcome outcome = RunOutcome::Ok;
    std::string strError;  // the interpreter's message when outcome is Error
    int64_t nErrorLine = 0;  // the program line of that error; 0 for none
    std::vector<std::unique_ptr<CVGraphic>> series;  // graphs-window order
};

BuildGraphsResult BuildGraphs(const EntityList* pList, const std::string& program,
                              const RunControl& control = {});
