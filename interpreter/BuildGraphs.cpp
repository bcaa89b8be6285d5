// The build-graphs run without its window: import, run, take, sort. The
// interpreter's teardown destroys every series that did not reach the
// result, whichever way the run ends.
#include "interpreter/BuildGraphs.h"

#include "graphs/Graphic.h"
#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"

BuildGraphsResult BuildGraphs(const EntityList* pList, const std::string& program,
                              const RunControl& control) {
    BuildGraphsResult result;
    CInterpreter interpreter;
    try {
        interpreter.ImportDrawingVariables(pList);
        result.outcome = interpreter.Run(program, control);
        if (result.outcome != RunOutcome::Ok) return result;
        interpreter.TakeGraphics(result.series);
    } catch (const CInterpreterError& error) {
        result.series.clear();
        result.outcome = RunOutcome::Error;
        result.strError = error.Message();
        result.nErrorLine = error.Line();
        return result;
    }
    for (const auto& pSeries : result.series) pSeries->SortByX();
    return result;
}
