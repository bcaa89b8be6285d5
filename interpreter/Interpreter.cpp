// The symbol table's life in a run: filled from the diagram, emptied of its
// plot series at the end, and torn down without leaving a series behind.
#include "interpreter/Interpreter.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>

#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"

namespace {
bool IsGraphic(const std::string&, const SymbolRec& rec) { return rec.nKind == SK_GRAPHIC; }
}  // namespace

CInterpreter::CInterpreter() = default;

CInterpreter::~CInterpreter() = default;

bool CInterpreter::ImportDrawingVariables(const EntityList* pList) {
    if (!pList) return false;
    Clear();
    m_symbols.RemoveAll();
    // Every element may name a symbol; the rest of the room is for the
    // program's own declarations, which the run reserves.
    m_symbols.Reserve(pList->GetCount());
    for (const auto& pEntity : *pList) {
        SymbolRec rec;
        const std::string name = pEntity->GetName(&rec);
        if (name.empty()) continue;
        if (!m_symbols.Insert(name, rec))
            throw CInterpreterError(MessageText(EMessage::ImportRedefinition, {name}));
    }
    return true;
}

void CInterpreter::TakeGraphics(std::vector<std::unique_ptr<CVGraphic>>& out) {
    // Where each series is held, sorted by address, so that taking them in
    // the table's order stays n log n without a node per series.
    std::vector<std::pair<const CVGraphic*, size_t>> held;
    held.reserve(m_series.size());
    for (size_t i = 0; i < m_series.size(); ++i) held.emplace_back(m_series[i].get(), i);
    const auto byAddress = [](const auto& a, const auto& b) { return std::less<const CVGraphic*>()(a.first, b.first); };
    std::sort(held.begin(), held.end(), byAddress);
    const auto slot = [&](const CVGraphic* pGraphic) -> std::unique_ptr<CVGraphic>& {
        const auto it = std::lower_bound(held.begin(), held.end(), std::make_pair(pGraphic, size_t{0}), byAddress);
        if (it == held.end() || it->first != pGraphic) throw std::out_of_range("series not held");
        return m_series[it->second];
    };
    // Each graphic symbol names a series of its own, so reserving for every
    // series held means no append below can fail halfway through.
    out.reserve(out.size() + m_series.size());
    m_symbols.ExtractIf(IsGraphic, [&](SymbolRec& rec) {
        out.push_back(std::move(slot(rec.pGraphic)));
        rec.pGraphic = nullptr;
    });
    m_series.clear();
}

void CInterpreter::HoldSeries(std::unique_ptr<CVGraphic> pSeries) { m_series.push_back(std::move(pSeries)); }

void CInterpreter::Clear() {
    m_symbols.ExtractIf(IsGraphic, [](SymbolRec& rec) { rec.pGraphic = nullptr; });
    m_series.clear();
}

std::string LineNumberText(int64_t nLine) {
    // Line numbers are wider than the message format's int32 only for
    // programs of over two thousand million lines.
    if (nLine <= std::numeric_limits<int32_t>::max()) return IntToString(static_cast<int32_t>(nLine));
    return std::to_string(nLine);
}
