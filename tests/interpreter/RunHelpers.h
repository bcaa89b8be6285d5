// Helpers for the interpreter tests: a named stand-in entity, programs
// written one line per string, and running a program to its message.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"
#include "support/RunSnapshot.h"

// An element that hands a fixed record to the import, as the diagram's
// levels, tables and switches do.
class CNamedStub : public CVEntity {
public:
    CNamedStub(std::string name, SymbolRec rec) : m_name(std::move(name)), m_rec(rec) {}
    std::string GetName(SymbolRec* pRec) override {
        if (!m_name.empty()) *pRec = m_rec;
        return m_name;
    }

private:
    std::string m_name;
    SymbolRec m_rec;
};

inline SymbolRec NumberRec(double value) {
    SymbolRec rec;
    rec.nKind = SK_NUMBER;
    rec.dValue = value;
    return rec;
}

inline SymbolRec SwitchRec(double below, double atOrAbove, double threshold) {
    SymbolRec rec;
    rec.nKind = SK_SWITCH;
    rec.dValue = below;
    rec.dFrom = atOrAbove;
    rec.dTo = threshold;
    return rec;
}

// The values must outlive the record, as the element's do.
inline SymbolRec TableRec(double from, double to, double step, const std::vector<double>* pValues) {
    SymbolRec rec;
    rec.nKind = SK_TABLE;
    rec.dFrom = from;
    rec.dTo = to;
    rec.dStep = step;
    rec.pData = pValues && !pValues->empty() ? pValues->data() : nullptr;
    return rec;
}

// Lines joined with CR LF, as the program editor delivers them.
inline std::string Program(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += "\r\n";
        text += lines[i];
    }
    return text;
}

// Runs the program on a fresh interpreter; the message of the error it
// raised, or "" when it ran to the end.
inline std::string RunError(CInterpreter& interp, const std::string& program) {
    try {
        interp.Run(program);
    } catch (const CInterpreterError& e) {
        return e.Message();
    }
    return "";
}

inline std::string RunError(const std::string& program) {
    CInterpreter interp;
    return RunError(interp, program);
}

inline double NumberOf(CInterpreter& interp, const std::string& name) {
    const SymbolRec* pRec = interp.m_symbols.Find(name);
    return pRec ? pRec->dValue : -12345.0;
}

// A program run both ways on fresh interpreters over the same diagram; the
// test fails when the compiled run leaves anything the line-reading one
// does not. The interpreters keep the symbols and series for inspection.
struct CBothRuns {
    CInterpreter reference;
    CInterpreter compiled;
    CRunSnapshot run;  // the compiled one
};

inline std::unique_ptr<CBothRuns> RunBothPaths(const std::string& program, RunControl control = {},
                                               const EntityList* pDiagram = nullptr) {
    auto both = std::make_unique<CBothRuns>();
    if (pDiagram) {
        both->reference.ImportDrawingVariables(pDiagram);
        both->compiled.ImportDrawingVariables(pDiagram);
    }
    control.bReference = true;
    const CRunSnapshot expected = SnapshotRun(both->reference, program, control);
    control.bReference = false;
    both->run = SnapshotRun(both->compiled, program, control);
    EXPECT_EQ(FirstDifference(expected, both->run), "");
    return both;
}
