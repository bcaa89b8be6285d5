// The compiled form of a model program for the fast statement loop. Each
// line is compiled once, when it first executes: names resolved to their
// symbol records, numbers converted, expressions turned into a short list
// of stack operations, "goto" into a line index. A line the compiled form
// does not cover, or one that is about to fail, is run by the line-reading
// statement handlers instead, which give its effect or its message.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diagram/SymbolRec.h"
#include "interpreter/ExpressionGrammar.h"
#include "interpreter/SymbolTable.h"

struct MarkPos;

// Stack operations of an expression, in the order the evaluator applies
// them. The *Const and *Var forms take their right operand from the op
// itself instead of from the stack.
enum class EOpCode : uint8_t {
    PushConst, PushVar,
    Add, Sub, Mul, Div,
    AddConst, SubConst, MulConst, DivConst,
    AddVar, SubVar, MulVar, DivVar,
    Table, Switch,
    Call1,  // a function of the top value
    Call2,  // a function of the two top values
};

struct COp {
    EOpCode code;
    union {
        double dConst;
        const double* pVar;
        const SymbolRec* pRec;
        double (*pfnUnary)(double);
        double (*pfnBinary)(double, double);
    };
};

// A run of operations in the program's pool that leaves one value.
struct COpRange {
    uint32_t nBegin = 0;
    uint32_t nEnd = 0;
};

enum class EStatement : uint8_t {
    Uncompiled,  // not executed yet, or names it read have appeared since
    Nop,         // blank, comment, delimiter or mark line
    Set,
    // set with "a op b" of two plain operands, one kind per operator
    SetAdd, SetSub, SetMul, SetDiv,
    If,
    // if with two plain operands, one kind per comparison
    IfLess, IfEqual, IfGreater,
    Goto,
    Plot,
    PlotPlain,   // plot with two plain operands
    Reference,   // run by the line-reading handlers
};

// A statement refers to itself (pA may point at dA), so it never moves:
// the program sizes its lines once.
struct CStatement {
    EStatement kind = EStatement::Uncompiled;
    char cComparison = 0;           // if: '<', '=' or '>'
    // Compiled while a name it looked up was absent: compiled again once
    // the symbol table has grown.
    bool bBoundToCount = false;
    double* pTarget = nullptr;      // set: the number it assigns
    CVGraphic* pGraphic = nullptr;  // plot: the series it appends to
    COpRange a;                     // set: the expression; if, plot: first operand
    COpRange b;                     // if, plot: second operand
    // Plain operands (a number symbol or a literal) read directly.
    const double* pA = nullptr;
    const double* pB = nullptr;
    double dA = 0.0;                // literals that pA and pB point at
    double dB = 0.0;
    size_t nJump = 0;               // goto: index of the line to continue at
};

class CCompiledProgram {
public:
    // Splits the text into lines as the line reader does, and tells the
    // lines that do nothing (blank, comment, mark) by their command word;
    // compiles nothing else.
    explicit CCompiledProgram(const char* text);

    const char* Text() const { return m_pText; }
    size_t LineCount() const { return m_lines.size(); }
    size_t LineOffset(size_t index) const { return m_lines[index].nOffset; }
    size_t LineLength(size_t index) const { return m_lines[index].nLength; }
    std::string_view LineText(size_t index) const { return {m_pText + LineOffset(index), LineLength(index)}; }
    // The indexes of the "mark" lines, in order.
    const std::vector<size_t>& MarkLines() const { return m_markLines; }
    // The "var" and "graphic" lines, each of which may declare a name.
    size_t DeclaringLineCount() const { return m_nDeclaring; }
    CStatement& Statement(size_t index) { return m_lines[index].statement; }

    // Compiles line index against the current symbols and marks.
    void Compile(size_t index, CNameTable<SymbolRec>& symbols, CNameTable<MarkPos>& marks);
    // The symbol table has grown: every line compiled while a name it read
    // was absent is compiled again when it next executes.
    void ForgetBoundLines();

    const COp* Ops() const { return m_ops.data(); }
    // Scratch for evaluation, as deep as the deepest compiled expression.
    double* Stack() { return m_stack.data(); }

private:
    struct CLine {
        size_t nOffset = 0;
        size_t nLength = 0;
        CStatement statement;
    };

    const char* m_pText;
    std::vector<CLine> m_lines;
    std::vector<size_t> m_markLines;
    size_t m_nDeclaring = 0;
    std::vector<COp> m_ops;
    std::vector<double> m_stack;
    CGrammarStacks m_stacks;
    std::vector<size_t> m_boundLines;
    // The line being compiled, NUL-terminated for the readers; its buffer
    // serves every line.
    std::string m_line;
};
