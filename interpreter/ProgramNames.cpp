// Collecting the names of a program and its diagram with the same readers
// the run uses, so that a name is spelt here exactly as the run reads it.
#include "interpreter/ProgramNames.h"

#include "diagram/EntityList.h"
#include "diagram/SymbolRec.h"
#include "interpreter/Lexer.h"

void CProgramNames::ImportDiagram(const EntityList* pList) {
    m_diagram.clear();
    if (!pList) return;
    for (const auto& pEntity : *pList) {
        SymbolRec rec;
        const std::string name = pEntity->GetName(&rec);
        if (name.empty()) continue;
        const bool bHasData = rec.nKind == SK_TABLE && rec.pData != nullptr && PointCount(rec) >= 1;
        m_diagram.emplace(name, CDiagramName{rec.nKind, bHasData});
    }
}

void CProgramNames::ScanProgram(const std::string& program) {
    m_vars.clear();
    m_graphics.clear();
    m_marks.clear();
    const char* cursor = program.c_str();
    for (int64_t nLine = 1; *cursor != '\0'; ++nLine) {
        const std::string line = ReadLine(cursor);
        const char* pos = line.c_str();
        const std::string word = ReadWord(pos);
        if (word == "var")
            m_vars.insert(ReadWord(pos));
        else if (word == "graphic")
            m_graphics.insert(ReadWord(pos));
        else if (word == "mark")
            m_marks.emplace(ReadWord(pos), nLine);
    }
}

const CDiagramName* CProgramNames::Diagram(std::string_view name) const {
    const auto it = m_diagram.find(std::string(name));
    return it == m_diagram.end() ? nullptr : &it->second;
}

bool CProgramNames::IsKnown(std::string_view name) const {
    return Diagram(name) != nullptr || IsVar(name) || IsGraphic(name);
}

int64_t CProgramNames::MarkLine(std::string_view name) const {
    const auto it = m_marks.find(std::string(name));
    return it == m_marks.end() ? 0 : it->second;
}
