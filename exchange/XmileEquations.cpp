// Compiling XMILE expressions into lines of the model language. The
// language's expressions know + - * /, parentheses and function calls; a
// name takes no unary minus, "if" compares two operands and guards only
// the next line. So an IF THEN ELSE sets its result twice, the second time
// under an "if" on its comparison; conditions joined by AND, OR and NOT
// become 0/1 values first. The builtins that keep state become hidden
// stocks.
#include <cmath>
#include <utility>

#include "base/Numbers.h"
#include "exchange/XmileRefusal.h"
#include "exchange/XmileTranslator.h"

namespace {

XExpr Num(double value) {
    XExpr e;
    e.dValue = value;
    return e;
}
XExpr Ref(const std::string& key) {
    XExpr e;
    e.kind = XExpr::Name;
    e.strText = key;
    return e;
}
XExpr Bin(const char* op, XExpr a, XExpr b) {
    XExpr e;
    e.kind = XExpr::Binary;
    e.strText = op;
    e.args = {std::move(a), std::move(b)};
    return e;
}
XExpr Fn(const char* name, std::vector<XExpr> args) {
    XExpr e;
    e.kind = XExpr::Call;
    e.strText = name;
    e.args = std::move(args);
    return e;
}

bool IsComparison(const std::string& op) {
    return op == "<" || op == ">" || op == "=" || op == "<=" || op == ">=" || op == "<>";
}

const char* PlainFunction(const std::string& name, size_t& nMin, size_t& nMax) {
    struct SFunction { const char* xmile; const char* varnel; size_t nMin, nMax; };
    static const SFunction kFunctions[] = {
        {"ABS", "abs", 1, 1},       {"EXP", "exp", 1, 1},       {"LN", "ln", 1, 1},
        {"LOG10", "log10", 1, 1},   {"SQRT", "sqrt", 1, 1},     {"SIN", "sin", 1, 1},
        {"COS", "cos", 1, 1},       {"TAN", "tan", 1, 1},       {"ARCSIN", "arcsin", 1, 1},
        {"ARCCOS", "arccos", 1, 1}, {"ARCTAN", "arctan", 1, 1}, {"INT", "int", 1, 1},
        {"ROUND", "round", 1, 1},   {"MOD", "mod", 2, 2},       {"MIN", "min", 1, 64},
        {"MAX", "max", 1, 64},      {"PI", "pi", 0, 0},         {"POW", "pow", 2, 2}};
    for (const SFunction& f : kFunctions)
        if (name == f.xmile) {
            nMin = f.nMin;
            nMax = f.nMax;
            return f.varnel;
        }
    return nullptr;
}

}  // namespace

// A hostile file can ask for many long pipelines or huge tables read in
// many places; the program it would give is bounded instead.
constexpr size_t kMaxProgramBytes = 64u << 20;

void Line(CTranslator::CEmit& em, const std::string& text) {
    if (em.pNode->pProgramBytes != nullptr && (*em.pNode->pProgramBytes += text.size() + 2) > kMaxProgramBytes)
        throw CXmileRefusal({"the translated program would be larger than 64 MiB"});
    em.pNode->lines.push_back(text);
}

std::string CTranslator::Owner(const CEmit& em) const {
    return em.pOwner != nullptr ? em.pOwner->strName : em.pNode->strDisplay;
}

CNode& CTranslator::NewNode(const std::string& key, const std::string& display, bool bStep, bool bInit) {
    CNode node;
    node.strKey = key;
    node.strDisplay = display;
    node.bStep = bStep;
    node.bInit = bInit;
    node.pProgramBytes = &m_nProgramBytes;
    m_nodes.push_back(std::move(node));
    return m_nodes.back();
}

std::string CTranslator::Hidden(const std::string& base) {
    std::string name = m_names.AddHidden(base);
    m_declared.push_back(name);
    return name;
}

std::string CTranslator::Literal(double value) {
    if (!std::isfinite(value)) {
        Problem("a number beyond the range of doubles");
        return "0";
    }
    return FormatRoundTrip(value);
}

bool CTranslator::ParseEquation(const XVariable& var, XExpr& e) {
    std::string error;
    if (var.strEqn.find_first_not_of(" \t\r\n") == std::string::npos) {
        Problem("no equation: variable '" + var.strName + "'");
        return false;
    }
    if (ParseXmileExpr(var.strEqn, e, error)) return true;
    if (error == "subscript") Problem("arrays (subscripts): variable '" + var.strName + "'");
    else Problem("equation not understood (" + error + "): variable '" + var.strName + "'");
    return false;
}

// An equation never reads its own variable (that would be a circular
// definition), so its result may be built up in that variable directly.
void CTranslator::Compile(const XExpr& e, const std::string& target, CEmit& em) {
    em.strInto = target;
    const CText value = Expr(e, em);
    if (!value.bInPlace) Line(em, "set " + target + " = " + value.text);
}

std::string CTranslator::Result(const std::string& into) {
    return into.empty() ? Hidden("_r" + std::to_string(++m_nHidden)) : into;
}

std::string CTranslator::Operand(const XExpr& e, CEmit& em) {
    CText t = Expr(e, em);
    if (t.bSymbol || t.bLiteral) return t.text;
    const std::string temp = Hidden("_t" + std::to_string(++m_nHidden));
    Line(em, "set " + temp + " = " + t.text);
    return temp;
}

std::string CTranslator::SymbolOperand(const XExpr& e, CEmit& em) {
    CText t = Expr(e, em);
    if (t.bSymbol) return t.text;
    const std::string temp = Hidden("_t" + std::to_string(++m_nHidden));
    Line(em, "set " + temp + " = " + t.text);
    return temp;
}

std::string CTranslator::Condition(const XExpr& e, CEmit& em) {
    if (e.kind == XExpr::Binary && (e.strText == "AND" || e.strText == "OR")) {
        const std::string a = Condition(e.args[0], em);
        const std::string b = Condition(e.args[1], em);
        const std::string c = Hidden("_c" + std::to_string(++m_nHidden));
        Line(em, "set " + c + " = " + (e.strText == "AND" ? a + " * " + b : a + " + " + b + " - " + a + " * " + b));
        return c;
    }
    if (e.kind == XExpr::Unary && e.strText == "NOT") {
        const std::string a = Condition(e.args[0], em);
        const std::string c = Hidden("_c" + std::to_string(++m_nHidden));
        Line(em, "set " + c + " = 1 - " + a);
        return c;
    }
    const bool comparison = e.kind == XExpr::Binary && IsComparison(e.strText);
    const std::string a = Operand(comparison ? e.args[0] : e, em);
    const std::string b = comparison ? Operand(e.args[1], em) : "0";
    const std::string op = comparison ? e.strText : "<>";
    const std::string c = Hidden("_c" + std::to_string(++m_nHidden));
    // Holding when the plain test holds: set 0, then 1 under it; holding
    // when the opposite test fails: set 1, then 0 under the opposite.
    const bool direct = op == "<" || op == ">" || op == "=";
    const std::string test = op == "<=" ? ">" : op == ">=" ? "<" : op == "<>" ? "=" : op;
    Line(em, "set " + c + (direct ? " = 0" : " = 1"));
    Line(em, "if " + a + " " + test + " " + b);
    Line(em, "set " + c + (direct ? " = 1" : " = 0"));
    return c;
}

CTranslator::CText CTranslator::Name(const std::string& key, CEmit& em) {
    const auto found = m_symbols.find(key);
    if (found != m_symbols.end()) {
        const CSymbol& symbol = found->second;
        em.pNode->deps.insert(key);
        if (symbol.rep == ERep::Table) {
            if (symbol.strTableInput.empty()) {
                Problem("graphical function '" + symbol.pVar->strName + "' used without an input: variable '" + Owner(em) + "'");
                return {"0", 3, false, true};
            }
            return {symbol.strSymbol + "(" + symbol.strTableInput + ")", 3, false, false};
        }
        return {symbol.strSymbol, 3, true, false};
    }
    if (key == "time") return {m_time, 3, true, false};
    if (key == "pi") return {"pi()", 3, false, false};
    if (key == "dt") return {Literal(m_model.dDt), 3, false, true};
    if (key == "starttime") return {Literal(m_model.dStart), 3, false, true};
    if (key == "stoptime") return {Literal(m_model.dStop), 3, false, true};
    Problem("unknown name '" + key + "': variable '" + Owner(em) + "'");
    return {"0", 3, false, true};
}

CTranslator::CText CTranslator::Expr(const XExpr& e, CEmit& em) {
    // Only the whole expression may be computed in place, none of its parts.
    const std::string into = std::exchange(em.strInto, std::string());
    switch (e.kind) {
        case XExpr::Number:
            return {Literal(e.dValue), 3, false, true};
        case XExpr::Name:
            return Name(e.strText, em);
        case XExpr::Call:
            return Call(e, em, into);
        case XExpr::If:
            return IfThenElse(e, em, into);
        case XExpr::Unary: {
            if (e.strText == "NOT") return {Condition(e, em), 3, true, false};
            if (e.args[0].kind == XExpr::Number) return {Literal(-e.args[0].dValue), 3, false, true};
            const CText a = Expr(e.args[0], em);
            return {"(0 - " + (a.nPrec > 1 ? a.text : "(" + a.text + ")") + ")", 3, false, false};
        }
        case XExpr::Binary:
            break;
    }
    const std::string& op = e.strText;
    if (IsComparison(op) || op == "AND" || op == "OR") return {Condition(e, em), 3, true, false};
    const CText a = Expr(e.args[0], em);
    const CText b = Expr(e.args[1], em);
    if (op == "^") return {"pow(" + a.text + ", " + b.text + ")", 3, false, false};
    if (op == "MOD") return {"mod(" + a.text + ", " + b.text + ")", 3, false, false};
    const int prec = (op == "*" || op == "/") ? 2 : 1;
    // Parentheses keep the tree's own grouping, so rounding is XMILE's.
    const std::string left = a.nPrec < prec ? "(" + a.text + ")" : a.text;
    const std::string right = b.nPrec <= prec ? "(" + b.text + ")" : b.text;
    // After a closing parenthesis the language reads a '-' as the sign of
    // a number, so a difference is written there as a sum of the negation,
    // which IEEE arithmetic defines to be the same value.
    if (op == "-" && left.back() == ')') return {left + " + (0 - " + right + ")", 1, false, false};
    return {left + " " + op + " " + right, prec, false, false};
}

// The result is set to the ELSE value, then to the THEN value under an
// "if" on the comparison. "if" tests only <, = and >, so at most, at least
// and unequal hold where the opposite test fails (a NaN makes them hold).
// Then the THEN value, when it is a plain name or number, is set first and
// the ELSE value under the opposite test; otherwise a 0/1 value is set
// first, so that the ELSE value stays the one always computed.
CTranslator::CText CTranslator::IfThenElse(const XExpr& e, CEmit& em, const std::string& into) {
    const XExpr& condition = e.args[0];
    std::string a, b = "0", op = "<>";
    if (condition.kind == XExpr::Binary && IsComparison(condition.strText)) {
        a = Operand(condition.args[0], em);
        b = Operand(condition.args[1], em);
        op = condition.strText;
    } else if ((condition.kind == XExpr::Binary && (condition.strText == "AND" || condition.strText == "OR")) ||
               (condition.kind == XExpr::Unary && condition.strText == "NOT")) {
        a = Condition(condition, em);
        b = "1";
        op = "=";
    } else {
        a = Operand(condition, em);
    }
    const CText yes = Expr(e.args[1], em);
    const CText no = Expr(e.args[2], em);
    const std::string r = Result(into);
    const auto guarded = [&](const std::string& first, const std::string& test, const std::string& second) {
        Line(em, "set " + r + " = " + first);
        Line(em, "if " + a + " " + test + " " + b);
        Line(em, "set " + r + " = " + second);
    };
    const std::string opposite = op == "<=" ? ">" : op == ">=" ? "<" : "=";
    if (op == "<" || op == ">" || op == "=") {
        guarded(no.text, op, yes.text);
    } else if (yes.bSymbol || yes.bLiteral) {
        guarded(yes.text, opposite, no.text);
    } else {
        const std::string c = Hidden("_c" + std::to_string(++m_nHidden));
        Line(em, "set " + c + " = 1");
        Line(em, "if " + a + " " + opposite + " " + b);
        Line(em, "set " + c + " = 0");
        Line(em, "set " + r + " = " + no.text);
        Line(em, "if " + c + " = 1");
        Line(em, "set " + r + " = " + yes.text);
    }
    return {r, 3, true, false, r == into};
}

CTranslator::CText CTranslator::Call(const XExpr& e, CEmit& em, const std::string& into) {
    const std::string& name = e.strText;
    size_t nMin = 0, nMax = 0;
    if (const char* plain = PlainFunction(name, nMin, nMax)) {
        if (e.args.size() < nMin || e.args.size() > nMax) {
            Problem("wrong number of arguments to " + name + ": variable '" + Owner(em) + "'");
            return {"0", 3, false, true};
        }
        std::string text = std::string(plain) + "(";
        for (size_t i = 0; i < e.args.size(); ++i) text += (i ? ", " : "") + Expr(e.args[i], em).text;
        return {text + ")", 3, false, false};
    }
    const auto count = [&](size_t lo, size_t hi) {
        if (e.args.size() >= lo && e.args.size() <= hi) return true;
        Problem("wrong number of arguments to " + name + ": variable '" + Owner(em) + "'");
        return false;
    };
    if (name == "SAFEDIV") {
        if (!count(2, 3)) return {"0", 3, false, true};
        const CText a = Expr(e.args[0], em);
        const std::string b = Operand(e.args[1], em);
        const std::string otherwise = e.args.size() == 3 ? Expr(e.args[2], em).text : "0";
        const std::string r = Result(into);
        Line(em, "set " + r + " = " + (a.nPrec < 2 ? "(" + a.text + ")" : a.text) + " / " + b);
        Line(em, "if " + b + " = 0");
        Line(em, "set " + r + " = " + otherwise);
        return {r, 3, true, false, r == into};
    }
    if (name == "INIT") {
        if (!count(1, 1)) return {"0", 3, false, true};
        const std::string h = Hidden(em.strBase + "_init");
        const std::string key = "#init" + std::to_string(++m_nNodeSerial);
        CEmit inner{&NewNode(key, Owner(em), false, true), em.pOwner, em.strBase};
        Line(inner, "' INIT of an expression of " + ToCp1251Closest(Owner(em)));
        Compile(e.args[0], h, inner);
        em.pNode->initDeps.insert(key);
        return {h, 3, true, false};
    }
    if (name == "STEP") {
        if (!count(2, 2)) return {"0", 3, false, true};
        const std::string height = Expr(e.args[0], em).text;
        const std::string at = Operand(e.args[1], em);
        const std::string r = Result(into);
        Line(em, "set " + r + " = " + height);
        Line(em, "if " + m_time + " < " + at);
        Line(em, "set " + r + " = 0");
        return {r, 3, true, false, r == into};
    }
    if (name == "RAMP") {
        if (!count(2, 3)) return {"0", 3, false, true};
        const CText slope = Expr(e.args[0], em);
        const std::string from = Operand(e.args[1], em);
        const std::string until = e.args.size() == 3 ? "min(" + m_time + ", " + Expr(e.args[2], em).text + ")" : m_time;
        const std::string r = Result(into);
        Line(em, "set " + r + " = 0");
        Line(em, "if " + m_time + " > " + from);
        Line(em, "set " + r + " = " + (slope.nPrec < 2 ? "(" + slope.text + ")" : slope.text) + " * (0 - " + from + " + " + until + ")");
        return {r, 3, true, false, r == into};
    }
    if (name == "PULSE") {
        // A pulse of the given volume: magnitude / DT for one step at the
        // first time and every interval after it (never again without one).
        if (!count(2, 3)) return {"0", 3, false, true};
        const CText size = Expr(e.args[0], em);
        const std::string first = Operand(e.args[1], em);
        const std::string d = Hidden("_d" + std::to_string(++m_nHidden));
        const std::string off = Hidden("_d" + std::to_string(++m_nHidden));
        const std::string half = Literal(m_model.dDt / 2);
        Line(em, "set " + d + " = " + m_time + " - " + first);
        Line(em, "set " + off + " = abs(" + d + ")");
        if (e.args.size() == 3) {
            const std::string every = Operand(e.args[2], em);
            Line(em, "if " + every + " > 0");
            Line(em, "set " + off + " = abs(" + d + " - " + every + " * round(" + d + " / " + every + "))");
        }
        const std::string r = Result(into);
        Line(em, "set " + r + " = 0");
        Line(em, "if " + off + " < " + half);
        Line(em, "set " + r + " = " + (size.nPrec < 2 ? "(" + size.text + ")" : size.text) + " / " + Literal(m_model.dDt));
        Line(em, "if " + d + " < " + Literal(-m_model.dDt / 2));
        Line(em, "set " + r + " = 0");
        return {r, 3, true, false, r == into};
    }
    if (name == "LOOKUP") {
        if (!count(2, 2)) return {"0", 3, false, true};
        const auto found = e.args[0].kind == XExpr::Name ? m_symbols.find(e.args[0].strText) : m_symbols.end();
        if (found == m_symbols.end() || found->second.pVar == nullptr || !found->second.pVar->bHasGraphical) {
            Problem("LOOKUP of something that is no graphical function: variable '" + Owner(em) + "'");
            return {"0", 3, false, true};
        }
        return Lookup(*found->second.pVar, e.args[1], em, into);
    }
    if (name == "DELAY") return Delay(e, em);
    if (name == "SMTH1" || name == "SMTH3" || name == "SMTHN" || name == "DELAY1" || name == "DELAY3" ||
        name == "DELAYN" || name == "TREND" || name == "FORECAST")
        return Stateful(e, em);
    // A graphical function called by its name.
    const auto table = m_symbols.find(XmileKey(name));
    if (table != m_symbols.end() && table->second.pVar != nullptr && table->second.pVar->bHasGraphical &&
        e.args.size() == 1)
        return Lookup(*table->second.pVar, e.args[0], em, into);
    Problem("unknown function " + name + ": variable '" + Owner(em) + "'");
    return {"0", 3, false, true};
}

CTranslator::CText CTranslator::Lookup(const XVariable& table, const XExpr& input, CEmit& em, const std::string& into) {
    const CSymbol& symbol = m_symbols.at(table.strKey);
    if (symbol.rep == ERep::Table) return {symbol.strSymbol + "(" + SymbolOperand(input, em) + ")", 3, false, false};
    const std::string in = Operand(input, em);
    const std::string r = Result(into);
    Interpolate(table.graphical, in, r, em);
    return {r, 3, true, false, r == into};
}

void CTranslator::Interpolate(const XGraphical& gf, const std::string& in, const std::string& out, CEmit& em) {
    const std::vector<double>& xs = gf.xs;
    const std::vector<double>& ys = gf.ys;
    const size_t n = ys.size();
    if (n == 0 || xs.size() != n) return;
    Line(em, "set " + out + " = " + Literal(ys[0]));
    if (gf.strType == "discrete") {
        for (size_t i = 1; i < n; ++i)
            for (const char* test : {" > ", " = "}) {
                Line(em, "if " + in + test + Literal(xs[i]));
                Line(em, "set " + out + " = " + Literal(ys[i]));
            }
        return;
    }
    const bool extrapolate = gf.strType == "extrapolate";
    for (size_t i = 0; i + 1 < n; ++i) {
        if (!(xs[i + 1] > xs[i])) continue;
        if (i > 0 || !extrapolate) Line(em, "if " + in + " > " + Literal(xs[i]));
        Line(em, "set " + out + " = " + Literal(ys[i]) + " + (" + in + " - " + Literal(xs[i]) + ") / " +
                     Literal(xs[i + 1] - xs[i]) + " * " + Literal(ys[i + 1] - ys[i]));
    }
    if (!extrapolate || n == 1) {
        Line(em, "if " + in + " > " + Literal(xs[n - 1]));
        Line(em, "set " + out + " = " + Literal(ys[n - 1]));
    }
}

std::string CTranslator::NewState(const std::string& base, const std::string& display) {
    const std::string symbol = Hidden(base);
    const std::string key = "#state" + std::to_string(++m_nNodeSerial);
    CSymbol info;
    info.strSymbol = symbol;
    info.rep = ERep::Stock;
    m_symbols[key] = info;
    (void)display;
    return key;
}

void CTranslator::DefineState(const std::string& key, const XExpr& init, const XExpr& rate, CEmit& em) {
    const std::string symbol = m_symbols.at(key).strSymbol;
    CEmit start{&NewNode(key, Owner(em), false, true), em.pOwner, em.strBase};
    Compile(init, symbol, start);
    const std::string rateSymbol = Hidden(symbol + "_rate");
    CEmit step{&NewNode(key + "#rate", Owner(em), true, false), em.pOwner, em.strBase};
    Compile(rate, rateSymbol, step);
    m_states.push_back({symbol, rateSymbol, false});
}

bool CTranslator::ConstantValue(const XExpr& e, double& value) const {
    if (e.kind == XExpr::Number) {
        value = e.dValue;
        return true;
    }
    if (e.kind == XExpr::Name) {
        const auto found = m_symbols.find(e.strText);
        if (found == m_symbols.end() || found->second.rep != ERep::Constant || found->second.pVar == nullptr) return false;
        XExpr inner;
        std::string error;
        return ParseXmileExpr(found->second.pVar->strEqn, inner, error) && ConstantValue(inner, value);
    }
    if (e.kind == XExpr::Unary && e.strText == "-" && ConstantValue(e.args[0], value)) {
        value = -value;
        return true;
    }
    double a = 0, b = 0;
    if (e.kind != XExpr::Binary || !ConstantValue(e.args[0], a) || !ConstantValue(e.args[1], b)) return false;
    if (e.strText == "+") value = a + b;
    else if (e.strText == "-") value = a - b;
    else if (e.strText == "*") value = a * b;
    else if (e.strText == "/") value = a / b;
    else return false;
    return true;
}

// SMTH1/3/N and DELAY1/3/N are chains of first-order stocks; TREND is a
// smooth of the input compared with the input; FORECAST extends TREND.
CTranslator::CText CTranslator::Stateful(const XExpr& e, CEmit& em) {
    const std::string& name = e.strText;
    const bool delay = name.rfind("DELAY", 0) == 0;
    if (name == "TREND" || name == "FORECAST") {
        const size_t extra = name == "FORECAST" ? 1 : 0;
        if (e.args.size() < 2 + extra || e.args.size() > 3 + extra) {
            Problem("wrong number of arguments to " + name + ": variable '" + Owner(em) + "'");
            return {"0", 3, false, true};
        }
        const XExpr& input = e.args[0];
        const XExpr& time = e.args[1];
        const XExpr trend0 = e.args.size() == 3 + extra ? e.args[2 + extra] : Num(0);
        if (name == "FORECAST") {
            const XExpr trend = Fn("TREND", {input, time, trend0});
            return Expr(Bin("*", input, Bin("+", Num(1), Bin("*", trend, e.args[2]))), em);
        }
        const std::string key = NewState(em.strBase + "_average", Owner(em));
        DefineState(key, Bin("/", input, Bin("+", Num(1), Bin("*", trend0, time))),
                    Bin("/", Bin("-", input, Ref(key)), time), em);
        return Expr(Bin("/", Bin("-", input, Ref(key)), Bin("*", time, Fn("ABS", {Ref(key)}))), em);
    }
    size_t order = name.back() == '1' ? 1 : name.back() == '3' ? 3 : 0;
    const size_t args = order == 0 ? 3 : 2;
    if (e.args.size() < args || e.args.size() > args + 1) {
        Problem("wrong number of arguments to " + name + ": variable '" + Owner(em) + "'");
        return {"0", 3, false, true};
    }
    if (order == 0) {
        double n = 0;
        if (!ConstantValue(e.args[2], n) || !(n >= 1) || n > 1000 || n != std::floor(n)) {
            Problem(name + " with an order that is not a constant whole number from 1 to 1000: variable '" + Owner(em) + "'");
            return {"0", 3, false, true};
        }
        order = static_cast<size_t>(n);
    }
    const XExpr& input = e.args[0];
    const XExpr stage = order == 1 ? e.args[1] : Bin("/", e.args[1], Num(static_cast<double>(order)));
    const XExpr initial = e.args.size() == args + 1 ? e.args[args] : input;
    std::vector<std::string> keys;
    for (size_t i = 0; i < order; ++i)
        keys.push_back(NewState(em.strBase + (delay ? "_delay" : "_smooth") + std::to_string(i + 1), Owner(em)));
    for (size_t i = 0; i < order; ++i) {
        const XExpr before = i == 0 ? input : delay ? Bin("/", Ref(keys[i - 1]), stage) : Ref(keys[i - 1]);
        const XExpr rate = delay ? Bin("-", before, Bin("/", Ref(keys[i]), stage))
                                 : Bin("/", Bin("-", before, Ref(keys[i])), stage);
        DefineState(keys[i], delay ? Bin("*", initial, stage) : initial, rate, em);
    }
    return Expr(delay ? Bin("/", Ref(keys.back()), stage) : Ref(keys.back()), em);
}

// DELAY with a constant time: the input of each of the last k steps kept
// in a pipeline, k the delay in whole steps.
CTranslator::CText CTranslator::Delay(const XExpr& e, CEmit& em) {
    if (e.args.size() < 2 || e.args.size() > 3) {
        Problem("wrong number of arguments to DELAY: variable '" + Owner(em) + "'");
        return {"0", 3, false, true};
    }
    double time = 0;
    if (!ConstantValue(e.args[1], time) || !(time >= 0) || time / m_model.dDt > 100000) {
        Problem("DELAY whose time is not a constant from 0 to 100000 steps: variable '" + Owner(em) + "'");
        return {"0", 3, false, true};
    }
    const double steps = std::round(time / m_model.dDt);
    if (std::fabs(steps * m_model.dDt - time) > 1e-9 * std::max(1.0, time))
        m_notes.push_back("DELAY time " + FormatRoundTrip(time) + " in '" + Owner(em) + "' is not a whole number of dt " +
                          FormatRoundTrip(m_model.dDt) + ": rounded to " + FormatRoundTrip(steps) + " steps");
    if (steps < 1) return Expr(e.args[0], em);
    CPipeline pipe;
    const std::string key = "#pipe" + std::to_string(++m_nNodeSerial);
    m_nProgramBytes += static_cast<size_t>(steps) * 64;  // the shift lines in the loop
    if (m_nProgramBytes > kMaxProgramBytes) throw CXmileRefusal({"the translated program would be larger than 64 MiB"});
    for (size_t i = 0; i < static_cast<size_t>(steps); ++i) pipe.stages.push_back(Hidden(em.strBase + "_pipe" + std::to_string(i + 1)));
    CSymbol out;
    out.strSymbol = pipe.stages.back();
    out.rep = ERep::Stock;
    m_symbols[key] = out;
    pipe.strInput = Hidden(em.strBase + "_pipe_in");
    CEmit step{&NewNode(key + "#rate", Owner(em), true, false), em.pOwner, em.strBase};
    Compile(e.args[0], pipe.strInput, step);
    CEmit start{&NewNode(key, Owner(em), false, true), em.pOwner, em.strBase};
    const std::string initial = Operand(e.args.size() == 3 ? e.args[2] : e.args[0], start);
    for (const std::string& stage : pipe.stages) Line(start, "set " + stage + " = " + initial);
    m_pipelines.push_back(std::move(pipe));
    return Name(key, em);
}
