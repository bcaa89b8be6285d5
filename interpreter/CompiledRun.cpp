// The statement loop, over lines compiled once unless the run is the
// reference. Evaluation works on a preallocated stack and allocates
// nothing; a line it cannot finish (a table without a value at its
// argument, a line left uncompiled) is executed by the line-reading
// handlers, which give its effect or message.
#include "graphs/Graphic.h"
#include "interpreter/CompiledProgram.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/LineState.h"
#include "interpreter/Operators.h"

namespace {

// The top of the stack stays in acc; false when a table has no value. The
// first op always pushes (an operator needs two values, a carried one one).
inline bool Evaluate(const COp* op, const COp* end, double* stack, double& result) {
    double acc = op->code == EOpCode::PushConst ? op->dConst : *op->pVar;
    double* sp = stack;
    for (++op; op != end; ++op) {
        switch (op->code) {
            case EOpCode::PushConst: *sp++ = acc; acc = op->dConst; break;
            case EOpCode::PushVar: *sp++ = acc; acc = *op->pVar; break;
            case EOpCode::Add: acc = *--sp + acc; break;
            case EOpCode::Sub: acc = *--sp - acc; break;
            case EOpCode::Mul: acc = *--sp * acc; break;
            case EOpCode::Div: acc = *--sp / acc; break;
            case EOpCode::AddConst: acc = acc + op->dConst; break;
            case EOpCode::SubConst: acc = acc - op->dConst; break;
            case EOpCode::MulConst: acc = acc * op->dConst; break;
            case EOpCode::DivConst: acc = acc / op->dConst; break;
            case EOpCode::AddVar: acc = acc + *op->pVar; break;
            case EOpCode::SubVar: acc = acc - *op->pVar; break;
            case EOpCode::MulVar: acc = acc * *op->pVar; break;
            case EOpCode::DivVar: acc = acc / *op->pVar; break;
            case EOpCode::Table: {
                // Through a local: handing acc itself by reference would
                // keep it in memory for every other op.
                double value = 0.0;
                if (!TableValue(*op->pRec, acc, value)) return false;
                acc = value;
                break;
            }
            case EOpCode::Switch: acc = SwitchValue(*op->pRec, acc); break;
            case EOpCode::Call1: acc = op->pfnUnary(acc); break;
            case EOpCode::Call2: acc = op->pfnBinary(*--sp, acc); break;
        }
    }
    result = acc;
    return true;
}

inline bool Evaluate(CCompiledProgram& program, COpRange range, double& result) {
    const COp* ops = program.Ops();
    return Evaluate(ops + range.nBegin, ops + range.nEnd, program.Stack(), result);
}


// Executes a compiled statement and moves index on; false when the line
// must go to the line-reading handlers (nothing has changed then).
inline bool ExecuteCompiled(CCompiledProgram& program, const CStatement& st, size_t& index) {
    double a = 0.0, b = 0.0;
    switch (st.kind) {
        case EStatement::Nop:
            ++index;
            return true;
        case EStatement::SetAdd:
            *st.pTarget = *st.pA + *st.pB;
            ++index;
            return true;
        case EStatement::SetSub:
            *st.pTarget = *st.pA - *st.pB;
            ++index;
            return true;
        case EStatement::SetMul:
            *st.pTarget = *st.pA * *st.pB;
            ++index;
            return true;
        case EStatement::SetDiv:
            *st.pTarget = *st.pA / *st.pB;
            ++index;
            return true;
        case EStatement::Set:
            if (!Evaluate(program, st.a, a)) return false;
            *st.pTarget = a;
            ++index;
            return true;
        // A failed comparison skips the next line, which still counts.
        case EStatement::IfLess:
            index += *st.pA < *st.pB ? 1 : 2;
            return true;
        case EStatement::IfEqual:
            index += *st.pA == *st.pB ? 1 : 2;
            return true;
        case EStatement::IfGreater:
            index += *st.pA > *st.pB ? 1 : 2;
            return true;
        case EStatement::If:
            if (!Evaluate(program, st.a, a) || !Evaluate(program, st.b, b)) return false;
            index += Holds(st.cComparison, a, b) ? 1 : 2;
            return true;
        case EStatement::Goto:
            index = st.nJump;
            return true;
        case EStatement::PlotPlain:
            st.pGraphic->AddSample(*st.pA, *st.pB);
            ++index;
            return true;
        case EStatement::Plot:
            if (!Evaluate(program, st.a, a) || !Evaluate(program, st.b, b)) return false;
            st.pGraphic->AddSample(a, b);
            ++index;
            return true;
        default:
            return false;
    }
}

}  // namespace

RunOutcome CInterpreter::Run(const std::string& program, const RunControl& control) {
    m_nSteps = 0;
    CCompiledProgram lines(program.c_str());
    ScanMarks(lines);
    return RunLines(lines, control);
}

// The one statement loop. Each step counts a statement, bounds and polls;
// the reference run reads, copies and looks up every line afresh each time
// it executes, the compiled run does so only for the lines it cannot finish.
RunOutcome CInterpreter::RunLines(CCompiledProgram& program, const RunControl& control) {
    const char* text = program.Text();
    const size_t nLines = program.LineCount();
    const uint64_t nMaxSteps = control.nMaxSteps != 0 ? control.nMaxSteps : UINT64_MAX;
    const bool bPoll = static_cast<bool>(control.pfnPoll);
    const bool bCompile = !control.bReference;
    LineState s;
    uint64_t nSteps = 0;
    // Long lines make single statements slow, so the poll also comes after
    // every few megabytes of program text, however few statements that is.
    uint64_t nBytesSincePoll = 0;
    size_t nSymbols = m_symbols.GetCount();
    size_t index = 0;
    try {
        while (index < nLines) {
            ++nSteps;
            if (nSteps > nMaxSteps) {
                m_nSteps = nSteps;
                return RunOutcome::StepLimit;
            }
            if (bPoll) {
                if (nSteps % RunControl::kPollInterval == 0 || nBytesSincePoll >= RunControl::kPollBytes) {
                    nBytesSincePoll = 0;
                    if (!control.pfnPoll(nSteps)) {
                        m_nSteps = nSteps;
                        return RunOutcome::Cancelled;
                    }
                }
                nBytesSincePoll += program.LineLength(index);
            }
            if (bCompile) {
                CStatement& st = program.Statement(index);
                if (st.kind == EStatement::Uncompiled) program.Compile(index, m_symbols, m_marks);
                if (ExecuteCompiled(program, st, index)) continue;
            }
            s.pNext = text + program.LineOffset(index);
            s.nLine = static_cast<int64_t>(index) + 1;
            ExecuteLine(s);
            // The handlers leave the number of the last line they read.
            index = static_cast<size_t>(s.nLine);
            // Only "var" and "graphic" lines add names, and only then can a
            // line that looked up an absent name mean something else.
            if (bCompile && m_symbols.GetCount() != nSymbols) {
                nSymbols = m_symbols.GetCount();
                program.ForgetBoundLines();
            }
        }
    } catch (CInterpreterError& error) {
        m_nSteps = nSteps;
        // The statement handlers throw before they move to another line.
        error.SetLine(s.nLine);
        throw;
    }
    m_nSteps = nSteps;
    return RunOutcome::Ok;
}
