// The translator's inner workings, shared by its two source files: the
// program is built from nodes, each the lines that compute one value,
// ordered by what they read once every equation has been compiled.
#pragma once
#include <deque>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "exchange/XmileExpr.h"
#include "exchange/XmileNames.h"
#include "exchange/XmileTranslate.h"

// The lines that give one value, and the values they read. A node runs
// each step, at the start, or both.
struct CNode {
    std::string strKey;
    std::string strDisplay;  // the XMILE name it belongs to, for messages
    std::vector<std::string> lines;
    std::set<std::string> deps;      // read in both phases
    std::set<std::string> initDeps;  // read only while starting
    bool bStep = true;
    bool bInit = true;
    size_t* pProgramBytes = nullptr;  // the translator's running total
};

enum class ERep { Constant, Computed, Table, Stock };

struct CSymbol {
    std::string strSymbol;
    const XVariable* pVar = nullptr;  // null for a hidden value
    ERep rep = ERep::Computed;
    std::string strTableInput;  // Table: the value its equation gives, if any
};

// A value that integrates: a stock or a hidden stock of a builtin.
struct CState {
    std::string strSymbol;
    std::string strRate;  // an expression of the language
    bool bNonNegative = false;
};

struct CPipeline {
    std::vector<std::string> stages;  // oldest last
    std::string strInput;
};

class CTranslator {
public:
    CTranslator(const XModel& model, const XImportOptions& options) : m_model(model), m_options(options) {}
    XTranslation Run();

    // An expression as text, with how tightly it binds: 3 an operand,
    // 2 a product, 1 a sum.
    struct CText {
        std::string text;
        int nPrec = 3;
        bool bSymbol = false;
        bool bLiteral = false;
        bool bInPlace = false;  // computed in the value asked for, nothing left to set
    };
    struct CEmit {
        CEmit(CNode* node, const XVariable* owner, std::string base)
            : pNode(node), pOwner(owner), strBase(std::move(base)) {}
        CNode* pNode = nullptr;
        const XVariable* pOwner = nullptr;
        std::string strBase;  // stem for hidden names
        // The value the next expression may compute in place instead of
        // in a hidden one: an equation's own variable saves a copy.
        std::string strInto;
    };

private:
    const XModel& m_model;
    const XImportOptions& m_options;
    CNameTable m_names;
    std::unordered_map<std::string, CSymbol> m_symbols;  // by key, hidden ones too
    std::deque<CNode> m_nodes;  // a deque: nodes are pointed at while others are added
    std::vector<std::string> m_declared;  // names the program declares by "var"
    std::vector<CState> m_states;
    std::vector<CPipeline> m_pipelines;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_notes;
    XTranslation m_result;
    std::string m_time;
    std::string m_step;                     // the step counter
    std::vector<std::string> m_graphics;    // the "graphic" lines
    std::vector<std::string> m_startTail;   // after the initial values
    int m_nHidden = 0;
    size_t m_nProgramBytes = 0;
    int m_nNodeSerial = 0;

    // XmileTranslate.cpp
    void NameVariables();
    void TranslateVariable(const XVariable& var);
    void TranslateStock(const XVariable& var);
    void AddStockUpdate(const XVariable& var);
    XElement ElementOf(const XVariable& var, const CSymbol& symbol) const;
    std::vector<const CNode*> Order(bool bInit);
    static std::vector<const CNode*> NeededAtStart(const std::vector<const CNode*>& order);
    std::string Assemble();
    void AppendLoop(std::vector<std::string>& out);
    void AppendPlots(std::vector<std::string>& out);
    void AppendUpdates(std::vector<std::string>& out, int nStage);

public:
    // XmileEquations.cpp
    void Problem(const std::string& text) { m_problems.push_back(text); }
    CNode& NewNode(const std::string& key, const std::string& display, bool bStep, bool bInit);
    std::string Hidden(const std::string& base);  // a declared hidden value
    std::string Literal(double value);
    CText Expr(const XExpr& e, CEmit& em);
    std::string Operand(const XExpr& e, CEmit& em);
    std::string SymbolOperand(const XExpr& e, CEmit& em);
    std::string Condition(const XExpr& e, CEmit& em);
    void Interpolate(const XGraphical& gf, const std::string& in, const std::string& out, CEmit& em);
    void Compile(const XExpr& e, const std::string& target, CEmit& em);
    bool ParseEquation(const XVariable& var, XExpr& e);
    std::string Owner(const CEmit& em) const;

private:
    CText Name(const std::string& key, CEmit& em);
    CText Call(const XExpr& e, CEmit& em, const std::string& into);
    CText IfThenElse(const XExpr& e, CEmit& em, const std::string& into);
    std::string Result(const std::string& into);
    CText Stateful(const XExpr& e, CEmit& em);
    CText Delay(const XExpr& e, CEmit& em);
    CText Lookup(const XVariable& table, const XExpr& input, CEmit& em, const std::string& into);
    std::string NewState(const std::string& base, const std::string& display);
    void DefineState(const std::string& key, const XExpr& init, const XExpr& rate, CEmit& em);
    bool ConstantValue(const XExpr& e, double& value) const;
    static bool TableFits(const XGraphical& gf);
    friend XTranslation TranslateXmile(const XModel&, const XImportOptions&);
};

void Line(CTranslator::CEmit& em, const std::string& text);
