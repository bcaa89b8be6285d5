// The grammar of an expression, written once for its three readers: the
// line-reading evaluator computes values, the compiler emits operations and
// the check follows what a run could do. Each is a domain that decides what
// an operand is; the grammar reads the text, keeps the operator stack and
// counts the operands each open call and the whole expression hold.
//
// The reduction is the language's two-stack operator precedence: an
// operator character reduces every operator of higher or equal precedence
// above the nearest "(", ")" and the end reduce to it, an operand that
// leaves no value (an unknown name, a table at its gap) is simply absent
// from the count. A lower-case function name that no symbol holds, followed
// by "(", opens a call; inside it "," ends words and separates arguments.
//
// Counts are ranges: the check's operands may or may not leave a value
// (a name declared further on may not exist yet). A step that fails for
// every count in the range fails; one that fails for some of them makes the
// reading uncertain, and the check then reports nothing for the line. For
// the two running domains the ranges are always single counts.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "diagram/SymbolRec.h"
#include "interpreter/Functions.h"
#include "interpreter/Lexer.h"
#include "interpreter/Operators.h"

// What an operand left: a value, maybe one (check only), none, a name no
// symbol holds, or a certain failure the domain has dealt with.
enum class EOperand { Value, Maybe, None, Absent, Fails };

// What a name stands for, as far as the operand reader is concerned.
enum class ESymbol { Absent, Number, Table, Switch, NoValue, Maybe };

// What a symbol of the given kind stands for.
inline ESymbol SymbolOfKind(int32_t nKind) {
    return nKind == SK_NUMBER ? ESymbol::Number
         : nKind == SK_TABLE  ? ESymbol::Table
         : nKind == SK_SWITCH ? ESymbol::Switch
                              : ESymbol::NoValue;
}

// Scratch of one reading, kept by the owner so that reading allocates
// nothing once it has grown.
struct CGrammarStacks {
    static constexpr int kCall = 0x100;  // an open call on the operator stack
    struct CFrame {
        const CFunction* pFunction = nullptr;  // null: the whole expression
        size_t nArgs = 0;                      // arguments separated so far
        int64_t nMin = 0, nMax = 0;            // operands it holds
    };
    std::vector<int> ops;
    std::vector<CFrame> frames;
};

// A domain provides:
//   bool Number(const char*& cursor)       a literal, pushed; false if none
//   Symbol                                 what it knows a name by
//   ESymbol Find(const std::string& name, const char* cursor, Symbol&)
//   EOperand Leaf(Symbol)                  a number symbol's value, pushed
//   EOperand Apply(const std::string& name, Symbol, EOperand argument)
//                                          a table or switch of the top value
//   EOperand MissingParameter(const std::string& name, Symbol)
//   bool Arithmetic(char op)               applied to the two top operands
//   bool Call(const CFunction&, size_t n)  applied to the n top operands
//   bool BadCount(const CFunction&)        the count is wrong: throw or note
//   void CallName()                        the word just read names a call
//   void Uncertain()                       the count depends on values
template <class Domain>
class CExpressionGrammar {
public:
    CExpressionGrammar(Domain& domain, CGrammarStacks& stacks) : m_d(domain), m_s(stacks) {}

    // An expression up to the end of the text; false when it is malformed
    // (or a domain failed). One operand remains on the domain's stack.
    bool Expression(const char*& cursor) {
        Reset();
        if (!Reduce(cursor, false) || !m_s.ops.empty()) return false;
        const CGrammarStacks::CFrame& all = m_s.frames.front();
        return all.nMax >= 1 && all.nMin <= 1;
    }

    // One operand where a number may stand alone (if, plot): a literal when
    // bNumber, a symbol operand, or a call with its arguments.
    EOperand Operand(const char*& cursor, bool bNumber) {
        if (bNumber && m_d.Number(cursor)) return EOperand::Value;
        const std::string word = ReadWord(cursor);
        const EOperand operand = SymbolOperand(word, cursor, false);
        if (operand != EOperand::Absent) return operand;
        const CFunction* pFunction = CallAt(word, cursor);
        if (!pFunction) return EOperand::None;
        ReadChar(cursor);
        Reset();
        Open(pFunction);
        // A call never closed is as malformed as any other operand.
        return Reduce(cursor, true) && m_s.ops.empty() ? EOperand::Value : EOperand::None;
    }

    // A symbol operand after its first word: a number symbol, or a table or
    // switch with its argument in parentheses, which is again a symbol
    // operand (no literal, no expression, no call). The open tables are kept
    // on the heap, so a hostile line of nested ones cannot exhaust the stack.
    EOperand SymbolOperand(std::string name, const char*& cursor, bool bInCall) {
        typename Domain::Symbol symbol{};
        ESymbol kind = m_d.Find(name, cursor, symbol);
        if (kind == ESymbol::Absent) return EOperand::Absent;
        std::vector<std::pair<std::string, typename Domain::Symbol>> pending;
        while (kind == ESymbol::Table || kind == ESymbol::Switch) {
            if (ReadChar(cursor) != '(') return m_d.MissingParameter(name, symbol);
            pending.emplace_back(std::move(name), symbol);
            name = ReadWord(cursor, bInCall);
            kind = m_d.Find(name, cursor, symbol);
        }
        EOperand value = kind == ESymbol::Number  ? m_d.Leaf(symbol)
                         : kind == ESymbol::Maybe ? EOperand::Maybe
                                                  : EOperand::None;
        while (!pending.empty()) {
            const auto call = std::move(pending.back());
            pending.pop_back();
            if (value == EOperand::None || ReadChar(cursor) != ')') return m_d.MissingParameter(call.first, call.second);
            value = m_d.Apply(call.first, call.second, value);
            if (value == EOperand::Fails) return value;
        }
        return value;
    }

private:
    using CFrame = CGrammarStacks::CFrame;
    static constexpr int kCall = CGrammarStacks::kCall;

    void Reset() {
        m_s.ops.clear();
        m_s.frames.assign(1, CFrame{});
    }

    const CFunction* CallAt(const std::string& word, const char* cursor) {
        const CFunction* pFunction = FindFunction(word);
        if (!pFunction || cursor[SkipSpaces(cursor)] != '(') return nullptr;
        m_d.CallName();
        return pFunction;
    }

    void Open(const CFunction* pFunction) {
        m_s.ops.push_back(kCall);
        m_s.frames.push_back(CFrame{pFunction, 0, 0, 0});
    }

    static int PrecedenceOf(int c, bool bInCall) {
        if (c == kCall) return Precedence('(');
        if (c == ',') return bInCall ? Precedence(')') : kNoPrecedence;
        return Precedence(static_cast<char>(c));
    }

    void Count(EOperand operand) {
        CFrame& frame = m_s.frames.back();
        frame.nMax += operand == EOperand::Value || operand == EOperand::Maybe;
        frame.nMin += operand == EOperand::Value;
    }

    bool Arithmetic(char op) {
        CFrame& frame = m_s.frames.back();
        // Too few operands (a leading or trailing operator) is malformed.
        if (frame.nMax < 2) return false;
        frame.nMin = std::max<int64_t>(frame.nMin, 2) - 1;
        --frame.nMax;
        return m_d.Arithmetic(op);
    }

    // The frame must hold exactly n operands; false when it cannot.
    bool Holds(CFrame& frame, int64_t n) {
        if (n < frame.nMin || n > frame.nMax) return false;
        if (frame.nMin != frame.nMax) m_d.Uncertain();
        frame.nMin = frame.nMax = n;
        return true;
    }

    bool Separate() {
        CFrame& frame = m_s.frames.back();
        if (!Holds(frame, static_cast<int64_t>(frame.nArgs) + 1)) return false;
        ++frame.nArgs;
        return true;
    }

    // ")" closes a call: "f()" has no arguments, and every argument after
    // a comma must be there.
    bool Close() {
        CFrame frame = m_s.frames.back();
        const int64_t nNext = static_cast<int64_t>(frame.nArgs) + 1;
        if (Holds(frame, nNext))
            ++frame.nArgs;
        else if (frame.nArgs != 0 || !Holds(frame, 0))
            return false;
        if (!frame.pFunction->TakesCount(frame.nArgs)) return m_d.BadCount(*frame.pFunction);
        if (!m_d.Call(*frame.pFunction, frame.nArgs)) return false;
        m_s.ops.pop_back();
        m_s.frames.pop_back();
        Count(EOperand::Value);
        return true;
    }

    // Reads operands and operators to the end of the text, or, for bOneCall,
    // until the call opened before returns.
    bool Reduce(const char*& cursor, bool bOneCall) {
        std::vector<int>& ops = m_s.ops;
        for (;;) {
            if (*cursor == '\0' && ops.empty()) return true;
            const bool bInCall = m_s.frames.size() > 1;
            const CFunction* pCall = nullptr;
            if (!m_d.Number(cursor)) {
                const std::string word = ReadWord(cursor, bInCall);
                const EOperand operand = SymbolOperand(word, cursor, bInCall);
                if (operand == EOperand::Fails) return false;
                if (operand == EOperand::Absent) pCall = CallAt(word, cursor);
                Count(operand);
            } else {
                Count(EOperand::Value);
            }
            const char c = ReadChar(cursor);
            while (!ops.empty()) {
                const int top = ops.back();
                const int precTop = PrecedenceOf(top, bInCall);
                if (precTop == kNoPrecedence) return false;
                const int precIn = PrecedenceOf(c, bInCall);
                if (precIn == kNoPrecedence) return false;
                if (precTop < precIn || top == '(' || top == kCall) break;
                if (IsArithmetic(static_cast<char>(top)) && !Arithmetic(static_cast<char>(top))) return false;
                ops.pop_back();
            }
            if (c == '\0') return true;
            const int top = ops.empty() ? 0 : ops.back();
            if (pCall) {
                Open(pCall);  // c is the call's "("
            } else if (c == ')' && top == '(') {
                ops.pop_back();
            } else if (c == ')' && top == kCall) {
                if (!Close()) return false;
                if (bOneCall && ops.empty()) return true;
            } else if (c == ',' && bInCall) {
                // A comma inside a plain group is malformed.
                if (top != kCall || !Separate()) return false;
            } else {
                ops.push_back(static_cast<unsigned char>(c));
            }
        }
    }

    Domain& m_d;
    CGrammarStacks& m_s;
};
