// The expression evaluator (a two-stack operator-precedence reduction) and
// the operand reader with the table and switch value rules.
#include <algorithm>
#include <vector>

#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/Operators.h"

namespace {

double Apply(char op, double a, double b) {
    switch (op) {
        case '+': return a + b;
        case '-': return a - b;
        case '*': return a * b;
        default: return a / b;
    }
}

[[noreturn]] void ThrowMissingParameter(const SymbolRec& rec, const std::string& name) {
    const char* kind = rec.nKind == SK_SWITCH ? "switch" : "table";
    ThrowInterpretation(std::string("Missing parameter in ") + kind + " variable '" + name + "'.");
}

// A table or switch whose argument is still being read.
struct PendingCall {
    std::string name;
    SymbolRec rec;
};

}  // namespace

namespace {

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

bool CInterpreter::EvalOperand(const char*& cursor, double& result) {
    // A table's argument is itself an operand, possibly another table with
    // its own argument. The chain of open calls is kept on a heap stack so a
    // hostile line of nested calls cannot exhaust the machine stack.
    std::vector<PendingCall> pending;
    bool bHasValue = false;
    double value = 0.0;
    for (;;) {
        std::string name = ReadWord(cursor);
        const SymbolRec* pRec = m_symbols.Find(name);
        if (!pRec || pRec->nKind == SK_GRAPHIC) break;
        if (pRec->nKind == SK_NUMBER) {
            value = pRec->dValue;
            bHasValue = true;
            break;
        }
        if (pRec->nKind != SK_TABLE && pRec->nKind != SK_SWITCH) break;
        if (ReadChar(cursor) != '(') ThrowMissingParameter(*pRec, name);
        pending.push_back(PendingCall{std::move(name), *pRec});
    }
    while (!pending.empty()) {
        const PendingCall call = std::move(pending.back());
        pending.pop_back();
        if (!bHasValue || ReadChar(cursor) != ')') ThrowMissingParameter(call.rec, call.name);
        if (call.rec.nKind == SK_SWITCH) {
            value = SwitchValue(call.rec, value);
            continue;
        }
        if (!call.rec.pData || PointCount(call.rec) < 1)
            ThrowInterpretation("Table '" + call.name + "' not initialized.");
        bHasValue = TableValue(call.rec, value, value);
    }
    if (bHasValue) result = value;
    return bHasValue;
}

bool CInterpreter::Evaluate(const char*& cursor, double& result) {
    std::vector<char>& ops = m_operators;
    std::vector<double>& vals = m_operands;
    ops.clear();
    vals.clear();
    for (;;) {
        if (*cursor == '\0' && ops.empty()) break;
        double operand = 0.0;
        if (ReadNumber(cursor, operand) || EvalOperand(cursor, operand)) vals.push_back(operand);
        const char c = ReadChar(cursor);
        while (!ops.empty()) {
            const char top = ops.back();
            const int precTop = Precedence(top);
            if (precTop == kNoPrecedence) return false;
            const int precIn = Precedence(c);
            if (precIn == kNoPrecedence) return false;
            if (precTop < precIn || top == '(') break;
            if (IsArithmetic(top)) {
                // Too few operands (a trailing or leading operator) fails
                // instead of reading below the stack.
                if (vals.size() < 2) return false;
                const double b = vals.back();
                vals.pop_back();
                vals.back() = Apply(top, vals.back(), b);
            }
            ops.pop_back();
        }
        if (c == '\0') break;
        if (!ops.empty() && ops.back() == '(' && c == ')')
            ops.pop_back();
        else
            ops.push_back(c);
    }
    if (vals.empty()) return false;
    const double value = vals.back();
    vals.pop_back();
    if (!vals.empty() || !ops.empty()) return false;
    result = value;
    return true;
}
