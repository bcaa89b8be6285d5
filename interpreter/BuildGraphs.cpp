// The build-graphs run without its window: import, override, run, take,
// sort. The interpreter's teardown destroys every series that did not reach
// the result, whichever way the run ends.
#include "interpreter/BuildGraphs.h"

#include "graphs/Graphic.h"
#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"

BuildGraphsResult BuildGraphs(const EntityList* pList, const std::string& program, const RunControl& control,
                              const std::vector<CValueOverride>& overrides) {
    BuildGraphsResult result;
    CInterpreter interpreter;
    try {
        interpreter.ImportDrawingVariables(pList);
        if (auto unknown = ApplyValueOverrides(interpreter.m_symbols, overrides)) {
            result.strUnknownName = std::move(*unknown);
            result.outcome = RunOutcome::UnknownName;
            return result;
        }
        result.outcome = interpreter.Run(program, control);
        result.nSteps = interpreter.StepCount();
        if (result.outcome != RunOutcome::Ok) return result;
        interpreter.TakeGraphics(result.series);
    } catch (const CInterpreterError& error) {
        result.series.clear();
        result.outcome = RunOutcome::Error;
        result.strError = error.Message();
        result.nErrorLine = error.Line();
        result.nSteps = interpreter.StepCount();
        return result;
    }
    for (const auto& pSeries : result.series) pSeries->SortByX();
    return result;
}
