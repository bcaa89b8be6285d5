// Compiling one program line. The compiler reads the line with the same
// grammar as the line-reading handlers, and takes every decision they would
// take against the symbols as they stand; where they would fail, or where a
// value is only known at run time, the line is left to them.
#include <algorithm>
#include <cstring>
#include <limits>

#include "interpreter/CompiledProgram.h"
#include "interpreter/ExpressionGrammar.h"
#include "interpreter/Interpreter.h"
#include "interpreter/Lexer.h"
#include "interpreter/LineGrammar.h"
#include "interpreter/Operators.h"

namespace {

struct CCompileContext {
    CNameTable<SymbolRec>& symbols;
    std::vector<COp>& code;
    CGrammarStacks& stacks;
    // A name looked up was no symbol: the line's meaning may change once a
    // "var" or "graphic" line declares it.
    bool bAbsent = false;

    SymbolRec* Lookup(const std::string& name) {
        SymbolRec* pRec = symbols.Find(name);
        if (!pRec) bAbsent = true;
        return pRec;
    }
    void EmitVar(const double* pVar) {
        COp op{EOpCode::PushVar, {}};
        op.pVar = pVar;
        code.push_back(op);
    }
    void EmitConst(double value) {
        COp op{EOpCode::PushConst, {}};
        op.dConst = value;
        code.push_back(op);
    }
    void EmitCall(EOpCode call, const SymbolRec* pRec) {
        COp op{call, {}};
        op.pRec = pRec;
        code.push_back(op);
    }
    // An operator whose right operand was pushed by the op just before it
    // takes that operand into itself.
    void EmitArithmetic(char c, size_t nBegin) {
        static constexpr EOpCode kPlain[] = {EOpCode::Add, EOpCode::Sub, EOpCode::Mul, EOpCode::Div};
        static constexpr EOpCode kConst[] = {EOpCode::AddConst, EOpCode::SubConst, EOpCode::MulConst,
                                             EOpCode::DivConst};
        static constexpr EOpCode kVar[] = {EOpCode::AddVar, EOpCode::SubVar, EOpCode::MulVar, EOpCode::DivVar};
        const int k = c == '+' ? 0 : c == '-' ? 1 : c == '*' ? 2 : 3;
        if (code.size() > nBegin && code.back().code == EOpCode::PushConst) {
            code.back().code = kConst[k];
        } else if (code.size() > nBegin && code.back().code == EOpCode::PushVar) {
            code.back().code = kVar[k];
        } else {
            code.push_back(COp{kPlain[k], {}});
        }
    }
};

// The emitting use of the grammar: each operand and operator becomes the
// operation that computes it, each function call its own operation. A
// wrong argument count is left to the line-reading handlers, which say so.
class CEmitDomain {
public:
    explicit CEmitDomain(CCompileContext& ctx) : m_ctx(ctx), m_nBegin(ctx.code.size()) {}

    bool Number(const char*& cursor) {
        double value = 0.0;
        if (!ReadNumber(cursor, value)) return false;
        m_ctx.EmitConst(value);
        return true;
    }
    // Tables are assumed to have a value; where one has none at run time
    // the line goes to the line-reading handlers.
    using Symbol = const SymbolRec*;
    ESymbol Find(const std::string& name, const char*, Symbol& rec) {
        rec = m_ctx.Lookup(name);
        return rec ? SymbolOfKind(rec->nKind) : ESymbol::Absent;
    }
    EOperand Leaf(Symbol rec) {
        m_ctx.EmitVar(&rec->dValue);
        return EOperand::Value;
    }
    EOperand Apply(const std::string&, Symbol rec, EOperand) {
        if (rec->nKind == SK_TABLE && (!rec->pData || PointCount(*rec) < 1)) return EOperand::Fails;
        m_ctx.EmitCall(rec->nKind == SK_SWITCH ? EOpCode::Switch : EOpCode::Table, rec);
        return EOperand::Value;
    }
    EOperand MissingParameter(const std::string&, Symbol) { return EOperand::Fails; }
    bool Arithmetic(char op) {
        m_ctx.EmitArithmetic(op, m_nBegin);
        return true;
    }
    bool Call(const CFunction& function, size_t n) {
        if (n == 0) {
            m_ctx.EmitConst(function.dConstant);
        } else if (function.pfnUnary) {
            COp op{EOpCode::Call1, {}};
            op.pfnUnary = function.pfnUnary;
            m_ctx.code.push_back(op);
        } else {
            COp op{EOpCode::Call2, {}};
            op.pfnBinary = function.pfnBinary;
            m_ctx.code.insert(m_ctx.code.end(), n - 1, op);
        }
        return true;
    }
    bool BadCount(const CFunction&) { return false; }
    void CallName() {}
    void Uncertain() {}

private:
    CCompileContext& m_ctx;
    size_t m_nBegin;
};

bool CompileExpression(const char*& cursor, CCompileContext& ctx) {
    CEmitDomain domain(ctx);
    return CExpressionGrammar(domain, ctx.stacks).Expression(cursor);
}

// An operand of "if" (a number allowed) or "plot": one value or the line
// goes to the line-reading handlers.
bool CompileOperand(const char*& cursor, CCompileContext& ctx, bool bNumber) {
    CEmitDomain domain(ctx);
    return CExpressionGrammar(domain, ctx.stacks).Operand(cursor, bNumber) == EOperand::Value;
}

// Compiles one operand or expression into range; false when the
// line-reading handlers must take the line.
template <typename Fn>
bool CompileRange(CCompileContext& ctx, COpRange& range, Fn&& compile) {
    const size_t nBegin = ctx.code.size();
    if (!compile()) return false;
    if (ctx.code.size() > std::numeric_limits<uint32_t>::max()) return false;
    range = {static_cast<uint32_t>(nBegin), static_cast<uint32_t>(ctx.code.size())};
    return true;
}

// The compiling use of the line grammar: each part read fills the
// statement; any refusal, and "var" and "graphic", leave the line to the
// run's handlers.
class CCompileLine {
public:
    CCompileLine(CCompileContext& ctx, CStatement& st, CNameTable<MarkPos>& marks, size_t nLines)
        : m_ctx(ctx), m_st(st), m_marks(marks), m_nLines(nLines) {}

    std::string LineText() const { return {}; }
    bool Fail(EMessage, std::initializer_list<std::string_view>) { return false; }
    bool Nothing(const std::string&) { return Nop(); }
    bool Mark() { return Nop(); }
    bool Var() { return false; }

    bool Target(const std::string& name) {
        SymbolRec* pRec = m_ctx.Lookup(name);
        if (!pRec || pRec->nKind != SK_NUMBER) return false;
        m_st.pTarget = &pRec->dValue;
        return true;
    }
    bool Expression(const char*& pos) {
        return CompileRange(m_ctx, m_st.a, [&] { return CompileExpression(pos, m_ctx); });
    }
    bool Assign() { return Kind(EStatement::Set); }

    bool Operand(const char*& pos, bool bNumber, int nSlot) {
        return CompileRange(m_ctx, nSlot == 0 ? m_st.a : m_st.b, [&] { return CompileOperand(pos, m_ctx, bNumber); });
    }
    bool If(char comparison) {
        m_st.cComparison = comparison;
        return Kind(EStatement::If);
    }

    bool Jump(const std::string& name) { return (m_pMark = m_marks.Find(name)) != nullptr; }
    // The mark's own line number is the index of the line after it.
    bool Goto() {
        if (m_pMark->nLine < 1 || static_cast<uint64_t>(m_pMark->nLine) > m_nLines) return false;
        m_st.nJump = static_cast<size_t>(m_pMark->nLine);
        return Kind(EStatement::Goto);
    }

    bool Series(const std::string& name) {
        const SymbolRec* pRec = m_ctx.Lookup(name);
        if (!pRec || pRec->nKind != SK_GRAPHIC) return false;
        m_st.pGraphic = pRec->pGraphic;
        return true;
    }
    bool Plot() { return Kind(EStatement::Plot); }

    bool NewSeries(const std::string&) { return false; }
    void Key(const std::string&, bool) {}
    bool AttributeNumber(const char*&, const std::string&) { return false; }
    bool Caption(const char*&) { return false; }
    bool Declare() { return false; }

private:
    bool Nop() { return Kind(EStatement::Nop); }
    bool Kind(EStatement kind) {
        m_st.kind = kind;
        return true;
    }

    CCompileContext& m_ctx;
    CStatement& m_st;
    CNameTable<MarkPos>& m_marks;
    size_t m_nLines;
    const MarkPos* m_pMark = nullptr;
};

// Stack slots an op range needs: the values below the top at its deepest.
size_t StackNeed(const COp* op, const COp* end) {
    size_t depth = 0;
    size_t deepest = 0;
    for (; op != end; ++op) {
        if (op->code == EOpCode::PushConst || op->code == EOpCode::PushVar) {
            deepest = std::max(deepest, depth++);
        } else if (op->code <= EOpCode::Div || op->code == EOpCode::Call2) {
            --depth;
        }
    }
    return deepest;
}

// Points p at what a lone push reads: the number symbol, or the literal
// kept in the statement.
bool PlainOperand(const COp& op, const double*& p, double& literal) {
    if (op.code == EOpCode::PushVar) {
        p = op.pVar;
        return true;
    }
    if (op.code == EOpCode::PushConst || (op.code >= EOpCode::AddConst && op.code <= EOpCode::DivConst)) {
        literal = op.dConst;
        p = &literal;
        return true;
    }
    if (op.code >= EOpCode::AddVar && op.code <= EOpCode::DivVar) {
        p = op.pVar;
        return true;
    }
    return false;
}

// SetAdd .. SetDiv for the operator an op carries.
EStatement SetKindOf(EOpCode code) {
    const int k = code >= EOpCode::AddVar ? static_cast<int>(code) - static_cast<int>(EOpCode::AddVar)
                                          : static_cast<int>(code) - static_cast<int>(EOpCode::AddConst);
    return static_cast<EStatement>(static_cast<int>(EStatement::SetAdd) + k);
}

EStatement IfKindOf(char comparison) {
    return comparison == '<' ? EStatement::IfLess : comparison == '=' ? EStatement::IfEqual : EStatement::IfGreater;
}

// The plain forms of set, if and plot, which skip the op loop.
void UsePlainForm(const std::vector<COp>& ops, CStatement& st) {
    const auto single = [&](COpRange r) { return r.nEnd - r.nBegin == 1; };
    switch (st.kind) {
        case EStatement::Set:
            // "a op b": a push, then an operator that carries b.
            if (st.a.nEnd - st.a.nBegin == 2 && ops[st.a.nBegin + 1].code >= EOpCode::AddConst &&
                ops[st.a.nBegin + 1].code <= EOpCode::DivVar &&
                PlainOperand(ops[st.a.nBegin], st.pA, st.dA) && PlainOperand(ops[st.a.nBegin + 1], st.pB, st.dB))
                st.kind = SetKindOf(ops[st.a.nBegin + 1].code);
            break;
        case EStatement::If:
        case EStatement::Plot:
            if (single(st.a) && single(st.b) && ops[st.a.nBegin].code <= EOpCode::PushVar &&
                ops[st.b.nBegin].code <= EOpCode::PushVar && PlainOperand(ops[st.a.nBegin], st.pA, st.dA) &&
                PlainOperand(ops[st.b.nBegin], st.pB, st.dB))
                st.kind = st.kind == EStatement::If ? IfKindOf(st.cComparison) : EStatement::PlotPlain;
            break;
        default:
            break;
    }
}

}  // namespace

CCompiledProgram::CCompiledProgram(const char* text) : m_pText(text) {
    const char* end = text + std::strlen(text);
    // A line ends at each CR, and the text may end without one.
    size_t nEnds = 0;
    for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))) != nullptr; ++p) ++nEnds;
    m_lines.reserve(nEnds + 1);
    for (const char* p = text; p != end;) {
        const std::string_view line = NextLine(p, end);
        CLine& added = m_lines.emplace_back(CLine{static_cast<size_t>(line.data() - text), line.size(), {}});
        // A blank, comment or mark line does nothing when it runs; its
        // command word tells it, read in place.
        const std::string_view command = LeadingWord(line);
        const bool bMark = command == "mark";
        if (bMark || IsNothingWord(command)) added.statement.kind = EStatement::Nop;
        if (bMark) m_markLines.push_back(m_lines.size() - 1);
        m_nDeclaring += command == "var" || command == "graphic";
    }
    m_stack.resize(1);
}

void CCompiledProgram::Compile(size_t index, CNameTable<SymbolRec>& symbols, CNameTable<MarkPos>& marks) {
    CStatement& st = m_lines[index].statement;
    st = CStatement{};
    const size_t nOpsBefore = m_ops.size();
    m_line.assign(LineText(index));
    const char* pos = m_line.c_str();
    CCompileContext ctx{symbols, m_ops, m_stacks};
    const std::string word = ReadWord(pos);
    CCompileLine compiler(ctx, st, marks, m_lines.size());
    if (!CLineGrammar(compiler, pos, word).Statement()) {
        st = CStatement{};
        st.kind = EStatement::Reference;
        m_ops.resize(nOpsBefore);
    }
    UsePlainForm(m_ops, st);
    st.bBoundToCount = ctx.bAbsent;
    if (st.bBoundToCount) m_boundLines.push_back(index);
    const size_t need = std::max(StackNeed(m_ops.data() + st.a.nBegin, m_ops.data() + st.a.nEnd),
                                 StackNeed(m_ops.data() + st.b.nBegin, m_ops.data() + st.b.nEnd));
    if (need > m_stack.size()) m_stack.resize(need);
}

void CCompiledProgram::ForgetBoundLines() {
    for (size_t index : m_boundLines) m_lines[index].statement.kind = EStatement::Uncompiled;
    m_boundLines.clear();
}
