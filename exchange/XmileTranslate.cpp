// The translator's outline: naming the variables, one node per equation,
// the order of the nodes, and the program around them: declarations, plot
// series, initial values, then the step loop (Euler, or RK4's four stages).
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "base/Numbers.h"
#include "exchange/XmileRefusal.h"
#include "exchange/XmileTranslator.h"

namespace {

bool IsNumber(const XExpr& e, double& value) {
    if (e.kind == XExpr::Number) {
        value = e.dValue;
        return true;
    }
    if (e.kind == XExpr::Unary && e.strText == "-" && e.args[0].kind == XExpr::Number) {
        value = -e.args[0].dValue;
        return true;
    }
    return false;
}

// The equation as a comment line: one line, in 1251.
std::string Comment(const std::string& lhs, const std::string& eqn) {
    std::string text = "' " + ToCp1251Closest(lhs) + " = ";
    for (char c : ToCp1251Closest(eqn)) text += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    return text;
}

std::string Caption(const std::string& name) {
    std::string caption;
    for (char c : ToCp1251Closest(name))
        if (c != '"') caption += (c == '\r' || c == '\n') ? ' ' : c;
    return caption;
}

const int32_t kColors[] = {255, 32768, 16711680, 8421376, 8388736, 32896, 4210816, 33023, 8388608, 128};

}  // namespace

bool CTranslator::TableFits(const XGraphical& gf) {
    const size_t n = gf.ys.size();
    if (gf.strType != "continuous" || n < 2 || gf.xs.size() != n) return false;
    const double from = gf.xs.front(), to = gf.xs.back(), step = (to - from) / static_cast<double>(n - 1);
    if (!(step > 0) || !std::isfinite(step)) return false;
    const double count = (to - from) / step + 1.0;
    if (!(count < 2147483647.0) || static_cast<size_t>(std::trunc(count)) != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::fabs(gf.xs[i] - (from + static_cast<double>(i) * step)) > 1e-12 * std::max(1.0, std::fabs(gf.xs[i])))
            return false;
    return true;
}

void CTranslator::NameVariables() {
    for (const XVariable& var : m_model.variables) {
        if (m_symbols.count(var.strKey) != 0) {
            Problem("two variables named '" + var.strName + "'");
            continue;
        }
        CSymbol symbol;
        symbol.pVar = &var;
        symbol.strSymbol = m_names.AddXmileName(var.strName);
        XExpr e;
        std::string error;
        double value = 0;
        if (var.kind == XKind::Stock) symbol.rep = ERep::Stock;
        else if (var.bHasGraphical && var.kind == XKind::Aux && TableFits(var.graphical)) symbol.rep = ERep::Table;
        else if (!var.bHasGraphical && ParseXmileExpr(var.strEqn, e, error) && IsNumber(e, value)) symbol.rep = ERep::Constant;
        m_symbols[var.strKey] = symbol;
    }
    m_time = Hidden("time");
    // A table's input is named before any equation reads the table.
    for (const XVariable& var : m_model.variables) {
        CSymbol& symbol = m_symbols.at(var.strKey);
        if (symbol.pVar == &var && symbol.rep == ERep::Table && var.strEqn.find_first_not_of(" \t\r\n") != std::string::npos)
            symbol.strTableInput = Hidden(symbol.strSymbol + "_x");
    }
}

void CTranslator::TranslateStock(const XVariable& var) {
    XExpr e;
    if (!ParseEquation(var, e)) return;
    double value = 0;
    if (IsNumber(e, value)) return;
    CSymbol& symbol = m_symbols.at(var.strKey);
    CEmit em{&NewNode(var.strKey, var.strName, false, true), &var, symbol.strSymbol};
    Line(em, Comment(var.strName + "(initial)", var.strEqn));
    Compile(e, symbol.strSymbol, em);
}

void CTranslator::AddStockUpdate(const XVariable& var) {
    CNode scratch;
    CEmit em{&scratch, &var, ""};
    std::string rate;
    for (const auto* flows : {&var.inflows, &var.outflows})
        for (const std::string& key : *flows) {
            const auto found = m_symbols.find(key);
            if (found == m_symbols.end() || found->second.pVar == nullptr || found->second.pVar->kind != XKind::Flow) {
                Problem("unknown flow '" + key + "': stock '" + var.strName + "'");
                continue;
            }
            const bool in = flows == &var.inflows;
            rate += rate.empty() ? (in ? "" : "0 - ") : (in ? " + " : " - ");
            rate += found->second.strSymbol;
        }
    if (!rate.empty()) m_states.push_back({m_symbols.at(var.strKey).strSymbol, rate, var.bNonNegative});
}

void CTranslator::TranslateVariable(const XVariable& var) {
    CSymbol& symbol = m_symbols.at(var.strKey);
    if (symbol.pVar != &var || symbol.rep == ERep::Constant) return;
    if (symbol.rep == ERep::Stock) return TranslateStock(var);
    const bool hasEqn = var.strEqn.find_first_not_of(" \t\r\n") != std::string::npos;
    if (symbol.rep == ERep::Table && !hasEqn) return;
    XExpr e;
    if (!ParseEquation(var, e)) return;
    CEmit em{&NewNode(var.strKey, var.strName, true, true), &var, symbol.strSymbol};
    Line(em, Comment(var.strName, var.strEqn));
    if (symbol.rep == ERep::Table) {
        Compile(e, symbol.strTableInput, em);
        return;
    }
    if (var.bHasGraphical) Interpolate(var.graphical, Operand(e, em), symbol.strSymbol, em);
    else Compile(e, symbol.strSymbol, em);
    if (var.kind == XKind::Flow && var.bNonNegative) {
        Line(em, "if " + symbol.strSymbol + " < 0");
        Line(em, "set " + symbol.strSymbol + " = 0");
    }
}

XElement CTranslator::ElementOf(const XVariable& var, const CSymbol& symbol) const {
    XElement element;
    element.strKey = var.strKey;
    element.strName = symbol.strSymbol;
    element.strDescription = ToCp1251Closest(var.strName);
    if (!var.strDoc.empty()) element.strDescription += "\r\n" + ToCp1251Closest(var.strDoc);
    element.kind = var.kind == XKind::Stock  ? XElementKind::Level
                   : var.kind == XKind::Flow ? XElementKind::Rate
                   : symbol.rep == ERep::Table ? XElementKind::Table
                                               : XElementKind::Variable;
    XExpr e;
    std::string error;
    double value = 0;
    if ((symbol.rep == ERep::Constant || symbol.rep == ERep::Stock) && ParseXmileExpr(var.strEqn, e, error) &&
        IsNumber(e, value))
        element.dValue = var.kind == XKind::Flow && var.bNonNegative && value < 0 ? 0.0 : value;
    if (symbol.rep == ERep::Table) {
        element.dFrom = var.graphical.xs.front();
        element.dTo = var.graphical.xs.back();
        element.dStep = (element.dTo - element.dFrom) / static_cast<double>(var.graphical.xs.size() - 1);
        element.data = var.graphical.ys;
    }
    return element;
}

// Depth first in the order of the file, without recursion: a long chain
// of definitions must not exhaust the stack.
std::vector<const CNode*> CTranslator::Order(bool bInit) {
    std::unordered_map<std::string_view, size_t> index;
    std::vector<const CNode*> nodes;
    for (const CNode& node : m_nodes)
        if (bInit ? node.bInit : node.bStep) {
            index[node.strKey] = nodes.size();
            nodes.push_back(&node);
        }
    std::vector<std::vector<size_t>> edges(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        for (const auto* deps : {&nodes[i]->deps, &nodes[i]->initDeps}) {
            if (deps == &nodes[i]->initDeps && !bInit) continue;
            for (const std::string& key : *deps) {
                const auto found = index.find(key);
                if (found != index.end()) edges[i].push_back(found->second);
            }
        }
    }
    std::vector<int> state(nodes.size(), 0);  // 0 new, 1 on the path, 2 done
    std::vector<const CNode*> order;
    for (size_t root = 0; root < nodes.size(); ++root) {
        if (state[root] != 0) continue;
        std::vector<std::pair<size_t, size_t>> path{{root, 0}};
        state[root] = 1;
        while (!path.empty()) {
            auto& [node, next] = path.back();
            if (next == edges[node].size()) {
                state[node] = 2;
                order.push_back(nodes[node]);
                path.pop_back();
                continue;
            }
            const size_t dep = edges[node][next++];
            if (state[dep] == 1) {
                std::string cycle;
                bool on = false;
                for (const auto& step : path) {
                    on = on || step.first == dep;
                    if (on) cycle += nodes[step.first]->strDisplay + " \xE2\x86\x92 ";
                }
                Problem("circular definition: " + cycle + nodes[dep]->strDisplay);
                return order;
            }
            if (state[dep] == 0) {
                state[dep] = 1;
                path.emplace_back(dep, 0);
            }
        }
    }
    return order;
}

void CTranslator::AppendPlots(std::vector<std::string>& out) {
    const double ratio = m_model.dSaveStep > 0 ? m_model.dSaveStep / m_model.dDt : 1.0;
    const double every = std::max(1.0, std::round(ratio));
    if (std::fabs(every - ratio) > 1e-9 * ratio)
        m_notes.push_back("save_step " + FormatRoundTrip(m_model.dSaveStep) + " is not a whole number of dt " +
                          FormatRoundTrip(m_model.dDt) + ": a point is plotted every " + FormatRoundTrip(every) +
                          " steps");
    std::vector<std::string> plots;
    int color = 0;
    for (const XVariable& var : m_model.variables) {
        const CSymbol& symbol = m_symbols.at(var.strKey);
        if (symbol.pVar != &var || (!m_options.bPlotAll && var.kind != XKind::Stock)) continue;
        std::string value = symbol.strSymbol;
        if (symbol.rep == ERep::Table) {
            if (symbol.strTableInput.empty()) continue;
            value += "(" + symbol.strTableInput + ")";
        }
        const std::string graphic = m_names.AddHidden("plot_" + symbol.strSymbol);
        m_graphics.push_back("graphic " + graphic + " color=" + std::to_string(kColors[color++ % 10]) + " text=\"" +
                             Caption(var.strName) + "\"");
        plots.push_back("plot " + graphic + " " + m_time + " " + value);
    }
    if (every == 1.0) {
        out.insert(out.end(), plots.begin(), plots.end());
        return;
    }
    const std::string counter = Hidden("_plot_countdown");
    m_startTail.push_back("set " + counter + " = 1");  // the first step plots
    const double steps = std::round((m_model.dStop - m_model.dStart) / m_model.dDt);
    for (const char* line : {"set %c = %c - 1", "if %k = %n", "set %c = 0", "if %c > 0", "goto noplot"}) {
        std::string text = line;
        for (size_t at; (at = text.find("%c")) != std::string::npos;) text.replace(at, 2, counter);
        if (const size_t at = text.find("%k"); at != std::string::npos) text.replace(at, 2, m_step);
        if (const size_t at = text.find("%n"); at != std::string::npos) text.replace(at, 2, Literal(steps));
        out.push_back(text);
    }
    out.push_back("set " + counter + " = " + Literal(every));
    out.insert(out.end(), plots.begin(), plots.end());
    out.push_back("mark noplot");
}

XTranslation CTranslator::Run() {
    NameVariables();
    for (const XVariable& var : m_model.variables) TranslateVariable(var);
    for (const XVariable& var : m_model.variables)
        if (var.kind == XKind::Stock && m_symbols.at(var.strKey).pVar == &var) AddStockUpdate(var);
    if (!m_problems.empty()) throw CXmileRefusal(m_problems);
    m_result.strProgram = Assemble();
    if (!m_problems.empty()) throw CXmileRefusal(m_problems);
    for (const XVariable& var : m_model.variables) {
        const CSymbol& symbol = m_symbols.at(var.strKey);
        if (symbol.pVar == &var) m_result.elements.push_back(ElementOf(var, symbol));
    }
    m_result.notes = m_notes;
    return std::move(m_result);
}

XTranslation TranslateXmile(const XModel& model, const XImportOptions& options) {
    return CTranslator(model, options).Run();
}
