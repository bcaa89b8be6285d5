// CInterpreter: one run of a model program. It holds the symbol table
// filled from the diagram and by the program, and the mark table of the
// program's jump targets; the run's plot series, which the symbol table
// names, are owned here until TakeGraphics moves them out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "diagram/SymbolRec.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/ExpressionGrammar.h"
#include "interpreter/SymbolTable.h"

class EntityList;
class CVGraphic;
class CCompiledProgram;

// Where a mark points: its own line number, wide so that marks in programs
// of any size work. The statement loop finds the line's text from it.
struct MarkPos {
    int64_t nLine = 0;
};

class CInterpreter {
public:
    CInterpreter();
    CInterpreter(const CInterpreter&) = delete;
    CInterpreter& operator=(const CInterpreter&) = delete;
    // Destroys the series not taken.
    ~CInterpreter();

    // Empties the symbol table and fills it with the diagram's named
    // elements. False, doing nothing, when there is no list.
    bool ImportDrawingVariables(const EntityList* pList);

    // Runs the whole program, compiled or line by line as control says.
    // Interpreter errors are thrown; a run stopped by the step bound or the
    // poll callback returns that outcome.
    RunOutcome Run(const std::string& program, const RunControl& control = {});
    // Sets up the marks of the program's "mark" lines, and room in the
    // symbol table for the names its lines may declare.
    void ScanMarks(const CCompiledProgram& program);
    // Statements the last Run executed, counted as the step bound counts
    // them (also when it ended with an error or was stopped).
    uint64_t StepCount() const { return m_nSteps; }

    // Expression from the cursor to the end of the line.
    bool Evaluate(const char*& cursor, double& result);
    // An operand of "if" (bNumber) or "plot": a symbol operand or a call.
    bool ReadOperand(const char*& cursor, bool bNumber, double& result);

    // Appends every series in the symbol table's order and removes their symbols.
    void TakeGraphics(std::vector<std::unique_ptr<CVGraphic>>& out);
    // Destroys the series and removes their symbols.
    void Clear();
    // Keeps a new "graphic" series until TakeGraphics or Clear.
    void HoldSeries(std::unique_ptr<CVGraphic> pSeries);

    CNameTable<SymbolRec> m_symbols;
    CNameTable<MarkPos> m_marks;

    // Run state of the statement loop (defined for the statement handlers).
    struct LineState;

private:
    RunOutcome RunLines(CCompiledProgram& program, const RunControl& control);
    // Reads the line at state.pNext and executes it as the line grammar reads it.
    void ExecuteLine(LineState& state);

    // Scratch stacks of evaluation, kept to avoid allocating per expression.
    CGrammarStacks m_stacks;
    std::vector<double> m_values;
    int64_t m_nLine = 0;  // the line executing, for messages raised inside expressions
    uint64_t m_nSteps = 0;
    // The series of the "graphic" symbols, in the order they were made.
    std::vector<std::unique_ptr<CVGraphic>> m_series;
};

// The value rules of table and switch symbols; false when the table has no
// value at x (the gap left at the end of an uneven range).
bool TableValue(const SymbolRec& rec, double x, double& value);
double SwitchValue(const SymbolRec& rec, double x);

// Line numbers as the messages write them.
std::string LineNumberText(int64_t nLine);
