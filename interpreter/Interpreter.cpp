// The symbol table's life in a run: filled from the diagram, emptied of its
// plot series at the end, and torn down without leaving a series behind.
#include "interpreter/Interpreter.h"

#include <limits>
#include <unordered_map>

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
    // Where each series is held, so that taking them in the table's order
    // stays linear.
    std::unordered_map<const CVGraphic*, size_t> held;
    for (size_t i = 0; i < m_series.size(); ++i) held.emplace(m_series[i].get(), i);
    size_t count = 0;
    m_symbols.ForEach([&](const std::string& name, SymbolRec& rec) { count += IsGraphic(name, rec); });
    // Reserving first means no append below can fail halfway through.
    out.reserve(out.size() + count);
    m_symbols.ExtractIf(IsGraphic, [&](SymbolRec& rec) {
        out.push_back(std::move(m_series[held.at(rec.pGraphic)]));
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
