// The program's frame around the translated equations: declarations, plot
// series, initial values and the step loop. Time is the start plus whole
// steps of dt, so it does not drift over a long run. RK4 runs the step
// nodes four times, a stage counter telling where to go on after them.
#include <cmath>
#include <string_view>
#include <unordered_map>

#include "exchange/XmileTranslator.h"

void CTranslator::AppendUpdates(std::vector<std::string>& out, int nStage) {
    const std::string dt = Literal(m_model.dDt);
    for (const CState& state : m_states) {
        const std::string& s = state.strSymbol;
        const std::string rate = "(" + state.strRate + ")";
        if (nStage == 0) {
            out.push_back("set " + s + " = " + s + " + " + dt + " * " + rate);
        } else {
            const std::string k = s + "_k" + std::to_string(nStage);
            const std::string s0 = s + "_k0";
            if (nStage == 1) out.push_back("set " + s0 + " = " + s);
            if (nStage < 4) out.push_back("set " + k + " = " + state.strRate);
            if (nStage == 1 || nStage == 2) out.push_back("set " + s + " = " + s0 + " + " + Literal(m_model.dDt / 2) + " * " + k);
            if (nStage == 3) out.push_back("set " + s + " = " + s0 + " + " + dt + " * " + k);
            if (nStage == 4)
                out.push_back("set " + s + " = " + s0 + " + " + Literal(m_model.dDt / 6) + " * (" + s + "_k1 + 2 * " + s +
                              "_k2 + 2 * " + s + "_k3 + " + state.strRate + ")");
        }
        if (state.bNonNegative && (nStage == 0 || nStage == 4)) {
            out.push_back("if " + s + " < 0");
            out.push_back("set " + s + " = 0");
        }
    }
    if (nStage != 0 && nStage != 4) return;
    for (const CPipeline& pipe : m_pipelines) {
        for (size_t i = pipe.stages.size() - 1; i > 0; --i)
            out.push_back("set " + pipe.stages[i] + " = " + pipe.stages[i - 1]);
        out.push_back("set " + pipe.stages[0] + " = " + pipe.strInput);
    }
}

void CTranslator::AppendLoop(std::vector<std::string>& out) {
    const std::string start = Literal(m_model.dStart);
    const std::string dt = Literal(m_model.dDt);
    const double steps = std::round((m_model.dStop - m_model.dStart) / m_model.dDt);
    const bool rk4 = m_model.bRk4;
    std::string stage;
    if (rk4) {
        stage = Hidden("_stage");
        for (const CState& state : m_states)
            for (const char* suffix : {"_k0", "_k1", "_k2", "_k3"}) m_declared.push_back(m_names.AddHidden(state.strSymbol + suffix));
    }
    out.push_back("' Each step: auxiliaries and flows, plots, stocks, time");
    out.push_back("mark step");
    if (rk4) out.insert(out.end(), {"set " + stage + " = 1", "mark eval"});
    for (const CNode* node : Order(false)) out.insert(out.end(), node->lines.begin(), node->lines.end());
    if (rk4)
        for (const char* n : {"2", "3", "4"}) out.insert(out.end(), {"if " + stage + " = " + n, std::string("goto rk") + n});
    AppendPlots(out);
    out.insert(out.end(), {"if " + m_step + " = " + Literal(steps), "goto done"});
    if (!rk4) {
        AppendUpdates(out, 0);
    } else {
        AppendUpdates(out, 1);
        out.insert(out.end(), {"set " + m_time + " = " + start + " + (" + m_step + " + 0.5) * " + dt,
                               "set " + stage + " = 2", "goto eval", "mark rk2"});
        AppendUpdates(out, 2);
        out.insert(out.end(), {"set " + stage + " = 3", "goto eval", "mark rk3"});
        AppendUpdates(out, 3);
        out.insert(out.end(), {"set " + m_time + " = " + start + " + (" + m_step + " + 1) * " + dt,
                               "set " + stage + " = 4", "goto eval", "mark rk4"});
        AppendUpdates(out, 4);
    }
    out.push_back("set " + m_step + " = " + m_step + " + 1");
    out.push_back("set " + m_time + " = " + start + " + " + m_step + " * " + dt);
    out.push_back("goto step");
    out.push_back("mark done");
}

// The first step computes every auxiliary and flow before anything reads
// it, so the start needs only what initial values read: the nodes that
// run only then, and those they read, directly or not.
std::vector<const CNode*> CTranslator::NeededAtStart(const std::vector<const CNode*>& order) {
    std::unordered_map<std::string_view, size_t> index;
    for (size_t i = 0; i < order.size(); ++i) index.emplace(order[i]->strKey, i);
    std::vector<bool> needed(order.size());
    // Whatever a node reads comes before it in the order.
    for (size_t i = order.size(); i-- > 0;) {
        if (order[i]->bStep && !needed[i]) continue;
        needed[i] = true;
        for (const auto* deps : {&order[i]->deps, &order[i]->initDeps})
            for (const std::string& key : *deps)
                if (const auto found = index.find(key); found != index.end()) needed[found->second] = true;
    }
    std::vector<const CNode*> kept;
    for (size_t i = 0; i < order.size(); ++i)
        if (needed[i]) kept.push_back(order[i]);
    return kept;
}

std::string CTranslator::Assemble() {
    m_step = Hidden("_step");
    std::vector<std::string> loop;
    AppendLoop(loop);
    const std::vector<const CNode*> start = NeededAtStart(Order(true));
    std::string program;
    program.reserve(m_nProgramBytes + 64 * m_declared.size());
    const auto append = [&program](const std::string& line) { program.append(line).append("\r\n"); };
    append("' Imported from an XMILE model: each translated line follows its XMILE equation.");
    for (const std::string& name : m_declared) append("var " + name);
    for (const std::string& line : m_graphics) append(line);
    append("' Initial values");
    append("set " + m_time + " = " + Literal(m_model.dStart));
    for (const CNode* node : start)
        for (const std::string& line : node->lines) append(line);
    for (const std::string& line : m_startTail) append(line);
    for (const std::string& line : loop) append(line);
    return program;
}
