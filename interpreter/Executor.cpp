// The running use of the line grammar: the mark scan, then each statement
// executed as the line reader takes it. These handlers are the reference
// that the compiled lines follow, and they run every line the compiled
// form cannot finish.
#include <memory>
#include <string_view>

#include "base/Numbers.h"
#include "graphs/Graphic.h"
#include "interpreter/CompiledProgram.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/LineGrammar.h"
#include "interpreter/LineState.h"
#include "interpreter/Operators.h"

namespace {

// Makes line the current one and reads its command word. The line's copy
// keeps its buffer from line to line.
void UseLine(CInterpreter::LineState& s, std::string_view line) {
    s.strLine.assign(line);
    s.pPos = s.strLine.c_str();
    s.strWord = ReadWord(s.pPos);
}

// Starts the next line of the program: reads it and its command word.
void BeginLine(CInterpreter::LineState& s) { UseLine(s, NextLine(s.pNext)); }

double* RangeField(CVGraphic& g, std::string_view key) {
    if (key == "loX") return &g.m_dLoX;
    if (key == "hiX") return &g.m_dHiX;
    if (key == "loY") return &g.m_dLoY;
    if (key == "hiY") return &g.m_dHiY;
    return key == "divY" ? &g.m_dDivY : nullptr;
}

class CRunDomain {
public:
    CRunDomain(CInterpreter& interp, CInterpreter::LineState& s) : m_interp(interp), m_s(s) {}

    std::string LineText() const { return LineNumberText(m_s.nLine); }
    [[noreturn]] bool Fail(EMessage id, std::initializer_list<std::string_view> args) { ThrowMessage(id, args); }
    bool Nothing(const std::string&) { return true; }
    bool Mark() { return true; }  // the mark scan has read it

    bool Var() {
        const std::string name = ReadWord(m_s.pPos);
        SymbolRec rec;
        rec.nKind = SK_NUMBER;
        if (!m_interp.m_symbols.Insert(name, rec)) Fail(EMessage::Redefinition, {name});
        return true;
    }

    bool Target(const std::string& name) {
        m_pTarget = m_interp.m_symbols.Find(name);
        if (!m_pTarget || m_pTarget->nKind != SK_NUMBER) Fail(EMessage::Undefined, {name});
        return true;
    }
    bool Expression(const char*& pos) { return m_interp.Evaluate(pos, m_values[0]); }
    // Evaluation only reads the table, so the record found before is still valid.
    bool Assign() {
        m_pTarget->dValue = m_values[0];
        return true;
    }

    bool Operand(const char*& pos, bool bNumber, int nSlot) { return m_interp.ReadOperand(pos, bNumber, m_values[nSlot]); }
    bool If(char comparison) {
        if (Holds(comparison, m_values[0], m_values[1])) return true;
        // Skip the next line whatever it holds; it still counts as a line.
        NextLine(m_s.pNext);
        ++m_s.nLine;
        return true;
    }

    bool Jump(const std::string& name) { return (m_pMark = m_interp.m_marks.Find(name)) != nullptr; }
    bool Goto() {
        m_s.nLine = m_pMark->nLine;
        return true;
    }

    // A series must be declared by a "graphic" line that has run before.
    bool Series(const std::string& name) {
        const SymbolRec* pRec = m_interp.m_symbols.Find(name);
        if (!pRec || pRec->nKind != SK_GRAPHIC) return false;
        m_pSeries = pRec->pGraphic;
        return true;
    }
    bool Plot() {
        m_pSeries->AddSample(m_values[0], m_values[1]);
        return true;
    }

    // The new series is discarded on every refusal after it is made.
    bool NewSeries(const std::string& name) {
        m_pNew = std::make_unique<CVGraphic>();
        if (m_interp.m_symbols.Find(name)) Fail(EMessage::Redefinition, {name});
        m_strNew = name;
        return true;
    }
    void Key(const std::string&, bool) {}
    bool AttributeNumber(const char*& pos, const std::string& key) {
        double value = 0.0;
        if (!ReadNumber(pos, value)) return false;
        if (double* pField = RangeField(*m_pNew, key))
            *pField = value;
        else
            m_pNew->m_nColor = SaturatingTrunc(value);
        return true;
    }
    bool Caption(const char*& pos) {
        m_pNew->m_strText = ReadQuoted(pos);
        return true;
    }
    bool Declare() {
        SymbolRec rec;
        rec.nKind = SK_GRAPHIC;
        rec.pGraphic = m_pNew.get();
        m_interp.HoldSeries(std::move(m_pNew));
        // NewSeries found the name free, and nothing has declared it since.
        m_interp.m_symbols.Insert(m_strNew, rec);
        return true;
    }

private:
    CInterpreter& m_interp;
    CInterpreter::LineState& m_s;
    SymbolRec* m_pTarget = nullptr;
    const MarkPos* m_pMark = nullptr;
    CVGraphic* m_pSeries = nullptr;
    std::unique_ptr<CVGraphic> m_pNew;
    std::string m_strNew;
    double m_values[2] = {0.0, 0.0};
};

}  // namespace

// Only the mark lines are read again here; the program found them, and
// counted the lines that may declare a name, when it split the text, so
// that the symbol table is sized for the run once.
void CInterpreter::ScanMarks(const CCompiledProgram& program) {
    m_marks.RemoveAll();
    LineState s;
    try {
        for (size_t index : program.MarkLines()) {
            s.nLine = static_cast<int64_t>(index) + 1;
            UseLine(s, program.LineText(index));
            const std::string name = ReadWord(s.pPos);
            const MarkPos pos{s.nLine};
            if (!m_marks.Insert(name, pos)) ThrowMessage(EMessage::MarkRedefinition, {name});
            if (HasMoreText(s.pPos)) ThrowMessage(EMessage::BadAttributes, {s.strWord, LineNumberText(s.nLine)});
        }
    } catch (CInterpreterError& error) {
        error.SetLine(s.nLine);
        throw;
    }
    m_symbols.Reserve(m_symbols.GetCount() + program.DeclaringLineCount());
}

void CInterpreter::ExecuteLine(LineState& s) {
    BeginLine(s);
    m_nLine = s.nLine;
    CRunDomain domain(*this, s);
    CLineGrammar(domain, s.pPos, s.strWord).Statement();
}
