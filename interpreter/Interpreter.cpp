// The symbol table's life in a run: filled from the diagram, emptied of its
// plot series at the end, and torn down without leaving a series behind.
#include "interpreter/Interpreter.h"

#include <limits>

#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"

namespace {
bool IsGraphic(const std::string&, const SymbolRec& rec) { return rec.nKind == SK_GRAPHIC; }
}  // namespace

CInterpreter::~CInterpreter() { Clear(); }

bool CInterpreter::ImportDrawingVariables(const EntityList* pList) {
    if (!pList) return false;
    Clear();
    m_symbols.RemoveAll();
    for (const auto& pEntity : *pList) {
        SymbolRec rec;
        const std::string name = pEntity->GetName(&rec);
        if (name.empty()) continue;
        if (m_symbols.Find(name))
            throw CInterpreterError(MessageText(EMessage::ImportRedefinition, {name}));
        m_symbols.Set(name, rec);
    }
    return true;
}

bool CInterpreter::TakeGraphics(std::vector<std::unique_ptr<CVGraphic>>& out) {
    size_t count = 0;
    m_symbols.ForEach([&](const std::string& name, SymbolRec& rec) { count += IsGraphic(name, rec); });
    // Reserving first means no append below can fail halfway through.
    out.reserve(out.size() + count);
    m_symbols.ExtractIf(IsGraphic, [&](SymbolRec& rec) {
        out.emplace_back(rec.pGraphic);
        rec.pGraphic = nullptr;
    });
    return true;
}

void CInterpreter::Clear() {
    m_symbols.ExtractIf(IsGraphic, [](SymbolRec& rec) {
        delete rec.pGraphic;
        rec.pGraphic = nullptr;
    });
}

std::string LineNumberText(int64_t nLine) {
    // Line numbers are wider than the message format's int32 only for
    // programs of over two thousand million lines.
    if (nLine <= std::numeric_limits<int32_t>::max()) return IntToString(static_cast<int32_t>(nLine));
    return std::to_string(nLine);
}
