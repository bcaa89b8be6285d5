// The statement loop of a model program: the mark scan, then one statement
// per line with "var", "set", "if", "goto" and "mark", handing "graphic"
// and "plot" to the plot commands. This line-reading loop is the reference;
// the compiled loop (CompiledRun.cpp) runs lines by its handlers too.
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/LineState.h"

namespace {

[[noreturn]] void ThrowBadAttributes(const CInterpreter::LineState& s) {
    ThrowMessage(EMessage::BadAttributes, {s.strWord, LineNumberText(s.nLine)});
}

[[noreturn]] void ThrowBadCommand(const CInterpreter::LineState& s) {
    ThrowMessage(EMessage::BadCommand, {s.strWord, LineNumberText(s.nLine)});
}

// Starts the next line of the program: reads it and its command word.
void BeginLine(CInterpreter::LineState& s) {
    s.strLine = ReadLine(s.pNext);
    s.pPos = s.strLine.c_str();
    s.strWord = ReadWord(s.pPos);
}

}  // namespace

void CInterpreter::ScanMarks(const char* text) {
    m_marks.RemoveAll();
    LineState s;
    s.pText = text;
    s.pNext = text;
    try {
        for (s.nLine = 1; *s.pNext != '\0'; ++s.nLine) {
            BeginLine(s);
            if (s.strWord != "mark") continue;
            const std::string name = ReadWord(s.pPos);
            const MarkPos pos{s.nLine, static_cast<size_t>(s.pNext - text)};
            if (m_marks.Find(name)) ThrowMessage(EMessage::MarkRedefinition, {name});
            m_marks.Set(name, pos);
            if (HasMoreText(s.pPos)) ThrowBadAttributes(s);
        }
    } catch (CInterpreterError& error) {
        error.SetLine(s.nLine);
        throw;
    }
}

RunOutcome CInterpreter::Run(const std::string& program, const RunControl& control) {
    const char* text = program.c_str();
    m_nSteps = 0;
    ScanMarks(text);
    return control.bReference ? RunByLines(text, control) : RunCompiled(text, control);
}

// The reference statement loop: every line is read, copied and looked up
// afresh each time it executes.
RunOutcome CInterpreter::RunByLines(const char* text, const RunControl& control) {
    LineState s;
    s.pText = text;
    s.pNext = text;
    uint64_t& nSteps = m_nSteps;
    // Long lines make single statements slow, so the poll also comes after
    // every few megabytes of program text, however few statements that is.
    uint64_t nBytesSincePoll = 0;
    try {
        for (s.nLine = 1; *s.pNext != '\0'; ++s.nLine) {
            ++nSteps;
            if (control.nMaxSteps != 0 && nSteps > control.nMaxSteps) return RunOutcome::StepLimit;
            if (control.pfnPoll &&
                (nSteps % RunControl::kPollInterval == 0 || nBytesSincePoll >= RunControl::kPollBytes)) {
                nBytesSincePoll = 0;
                if (!control.pfnPoll(nSteps)) return RunOutcome::Cancelled;
            }
            BeginLine(s);
            nBytesSincePoll += s.strLine.size();
            ExecuteStatement(s);
        }
    } catch (CInterpreterError& error) {
        // The statement handlers throw before they move to another line.
        error.SetLine(s.nLine);
        throw;
    }
    return RunOutcome::Ok;
}

void CInterpreter::ExecuteLine(LineState& s) {
    BeginLine(s);
    ExecuteStatement(s);
}

void CInterpreter::ExecuteStatement(LineState& s) {
    const std::string& word = s.strWord;
    m_nLine = s.nLine;
    if (word.empty() || word == "'" || word == "mark") return;
    if (word == "set") return ExecSet(s);
    if (word == "if") return ExecIf(s);
    if (word == "goto") return ExecGoto(s);
    if (word == "plot") return ExecPlot(s);
    if (word == "var") return ExecVar(s);
    if (word == "graphic") return ExecGraphic(s);
    ThrowMessage(EMessage::UnknownCommand, {word, LineNumberText(s.nLine)});
}

void CInterpreter::ExecVar(LineState& s) {
    const std::string name = ReadWord(s.pPos);
    if (m_symbols.Find(name)) ThrowMessage(EMessage::Redefinition, {name});
    SymbolRec rec;
    rec.nKind = SK_NUMBER;
    m_symbols.Set(name, rec);
}

void CInterpreter::ExecSet(LineState& s) {
    const std::string name = ReadWord(s.pPos);
    SymbolRec* pRec = m_symbols.Find(name);
    if (!pRec || pRec->nKind != SK_NUMBER) ThrowMessage(EMessage::Undefined, {name});
    if (ReadChar(s.pPos) != '=') ThrowBadCommand(s);
    double value = 0.0;
    if (!Evaluate(s.pPos, value)) ThrowBadCommand(s);
    // Evaluate only reads the table, so the record found above is still valid.
    pRec->dValue = value;
}

void CInterpreter::ExecIf(LineState& s) {
    double a = 0.0, b = 0.0;
    if (!ReadOperand(s.pPos, true, a)) ThrowBadAttributes(s);
    const char comparison = ReadChar(s.pPos);
    if (!ReadOperand(s.pPos, true, b)) ThrowBadAttributes(s);
    // Every comparison with a NaN operand fails (IEEE), so a loop guarded
    // by a NaN counter ends instead of running on.
    bool bHolds = false;
    switch (comparison) {
        case '<': bHolds = a < b; break;
        case '=': bHolds = a == b; break;
        case '>': bHolds = a > b; break;
        default:
            ThrowMessage(EMessage::BadComparison, {LineNumberText(s.nLine)});
    }
    if (HasMoreText(s.pPos)) ThrowBadAttributes(s);
    if (bHolds) return;
    // Skip the next line whatever it holds; it still counts as a line.
    ReadLine(s.pNext);
    ++s.nLine;
}

void CInterpreter::ExecGoto(LineState& s) {
    const std::string name = ReadWord(s.pPos);
    const MarkPos* pMark = m_marks.Find(name);
    if (!pMark)
        ThrowMessage(EMessage::BadMark, {LineNumberText(s.nLine)});
    if (HasMoreText(s.pPos)) ThrowBadAttributes(s);
    s.pNext = s.pText + pMark->nOffset;
    s.nLine = pMark->nLine;
}
