// The names a run of a model program can ever know, read without running
// it: the diagram's elements with their kinds, and every name the program
// declares by "var" or "graphic" or labels by "mark", wherever it stands.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

class EntityList;

struct CDiagramName {
    int32_t nKind = 0;       // SK_NUMBER, SK_TABLE or SK_SWITCH
    bool bHasData = false;   // a table that has values to read
    friend bool operator==(const CDiagramName&, const CDiagramName&) = default;
};

class CProgramNames {
public:
    // Takes the elements' names as the run's import does (the first of two
    // equal names wins; the run itself would refuse to start then).
    void ImportDiagram(const EntityList* pList);
    // Collects the declarations and the first line of every mark.
    void ScanProgram(const std::string& program);

    const CDiagramName* Diagram(std::string_view name) const;
    bool IsVar(std::string_view name) const { return m_vars.count(std::string(name)) != 0; }
    bool IsGraphic(std::string_view name) const { return m_graphics.count(std::string(name)) != 0; }
    // Known to the run: an element, or declared by "var" or "graphic".
    bool IsKnown(std::string_view name) const;
    // The line of the first "mark" of that name; 0 when there is none.
    int64_t MarkLine(std::string_view name) const;

    friend bool operator==(const CProgramNames&, const CProgramNames&) = default;

private:
    std::unordered_map<std::string, CDiagramName> m_diagram;
    std::unordered_set<std::string> m_vars;
    std::unordered_set<std::string> m_graphics;
    std::unordered_map<std::string, int64_t> m_marks;
};
