// The evaluating use of the expression grammar: operands are values, and
// the operand reader applies the table and switch value rules.
#include <algorithm>
#include <vector>

#include "interpreter/ExpressionGrammar.h"

#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/Operators.h"

namespace {

double ApplyArithmetic(char op, double a, double b) {
    switch (op) {
        case '+': return a + b;
        case '-': return a - b;
        case '*': return a * b;
        default: return a / b;
    }
}

[[noreturn]] void ThrowMissingParameter(const SymbolRec& rec, const std::string& name) {
    ThrowMessage(EMessage::MissingParameter, {rec.nKind == SK_SWITCH ? "switch" : "table", name});
}

// Values on the interpreter's scratch stack.
class CValueDomain {
public:
    CValueDomain(CInterpreter& interp, std::vector<double>& values, int64_t nLine)
        : m_interp(interp), m_values(values), m_nLine(nLine) {
        m_values.clear();
    }

    bool Number(const char*& cursor) {
        double value = 0.0;
        if (!ReadNumber(cursor, value)) return false;
        m_values.push_back(value);
        return true;
    }
    using Symbol = const SymbolRec*;
    ESymbol Find(const std::string& name, const char*, Symbol& rec) {
        rec = m_interp.m_symbols.Find(name);
        return rec ? SymbolOfKind(rec->nKind) : ESymbol::Absent;
    }
    EOperand Leaf(Symbol rec) {
        m_values.push_back(rec->dValue);
        return EOperand::Value;
    }
    EOperand Apply(const std::string& name, Symbol rec, EOperand) {
        double& top = m_values.back();
        if (rec->nKind == SK_SWITCH) {
            top = SwitchValue(*rec, top);
            return EOperand::Value;
        }
        if (!rec->pData || PointCount(*rec) < 1) ThrowMessage(EMessage::TableNotInitialized, {name});
        if (TableValue(*rec, top, top)) return EOperand::Value;
        m_values.pop_back();
        return EOperand::None;
    }
    [[noreturn]] EOperand MissingParameter(const std::string& name, Symbol rec) { ThrowMissingParameter(*rec, name); }
    bool Arithmetic(char op) {
        const double b = m_values.back();
        m_values.pop_back();
        m_values.back() = ApplyArithmetic(op, m_values.back(), b);
        return true;
    }
    bool Call(const CFunction& function, size_t n) {
        const double value = ApplyFunction(function, m_values.data() + (m_values.size() - n), n);
        m_values.resize(m_values.size() - n);
        m_values.push_back(value);
        return true;
    }
    [[noreturn]] bool BadCount(const CFunction& function) {
        ThrowMessage(EMessage::BadArgumentCount, {function.pszName, LineNumberText(m_nLine)});
    }
    void CallName() {}
    void Uncertain() {}

private:
    CInterpreter& m_interp;
    std::vector<double>& m_values;
    int64_t m_nLine;
};


// Left end of the i-th interval, written exactly as the rule states it so
// that every boundary is the same double.
inline double IntervalStart(double from, int32_t i, double step) { return from + i * step; }

// The i in [0, n-2] with start(i) <= x < start(i+1), or -1. The starts
// never decrease for a positive step, so the intervals are disjoint and at
// most one holds x; a negative step makes them all empty. The guess from
// the arithmetic is checked with its neighbours; rounding far from the
// origin can make it miss, and a bisection over the starts then settles it.
int32_t FindInterval(double from, double step, int32_t n, double x) {
    if (!(step > 0.0) || n < 2) return -1;
    // At or beyond the last point (the gap, or past the end) no interval holds x.
    if (!(x < IntervalStart(from, n - 1, step))) return -1;
    const double guess = (x - from) / step;
    const int32_t last = n - 2;
    const int32_t g = guess < static_cast<double>(last) ? static_cast<int32_t>(guess) : last;
    for (int32_t i = std::max(g - 1, 0); i <= std::min(g + 1, last); ++i) {
        if (x >= IntervalStart(from, i, step) && x < IntervalStart(from, i + 1, step)) return i;
    }
    // The first i whose interval ends beyond x; it holds x when it starts
    // at or before it.
    int32_t lo = 0, hi = last + 1;
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        if (x < IntervalStart(from, mid + 1, step))
            hi = mid;
        else
            lo = mid + 1;
    }
    if (lo > last || !(x >= IntervalStart(from, lo, step))) return -1;
    return lo;
}

}  // namespace

bool TableValue(const SymbolRec& rec, double x, double& value) {
    const double* d = rec.pData;
    const double from = rec.dFrom;
    const double step = rec.dStep;
    const int32_t n = PointCount(rec);
    if (!(x >= from)) {
        value = d[0];
        return true;
    }
    const int32_t i = FindInterval(from, step, n, x);
    if (i >= 0) {
        const double lo = IntervalStart(from, i, step);
        value = d[i] + (x - lo) / step * (d[i + 1] - d[i]);
        return true;
    }
    if (x < rec.dTo) return false;
    value = d[n - 1];
    return true;
}

double SwitchValue(const SymbolRec& rec, double x) { return x >= rec.dTo ? rec.dFrom : rec.dValue; }

bool CInterpreter::Evaluate(const char*& cursor, double& result) {
    CValueDomain domain(*this, m_values, m_nLine);
    if (!CExpressionGrammar(domain, m_stacks).Expression(cursor)) return false;
    result = m_values.back();
    return true;
}

bool CInterpreter::ReadOperand(const char*& cursor, bool bNumber, double& result) {
    CValueDomain domain(*this, m_values, m_nLine);
    if (CExpressionGrammar(domain, m_stacks).Operand(cursor, bNumber) != EOperand::Value) return false;
    result = m_values.back();
    return true;
}
