// What a run reads of a model, copied at one moment: the program text and
// every named element's value record (a table with its values). Runs on
// other threads read the copy, never the live diagram, which the user may
// be editing meanwhile.
#pragma once
#include <memory>
#include <string>

#include "diagram/EntityList.h"

class CModelSnapshot {
public:
    // Copies what the import would read of the list (null: no diagram).
    CModelSnapshot(EntityList* pList, std::string strProgram);

    // The copies, as a list the run imports like the diagram itself; null
    // when there was no diagram.
    const EntityList* List() const { return m_pList.get(); }
    const std::string& Program() const { return m_strProgram; }

    // Whether a run over either would read the same names, records, table
    // values and program.
    bool SameAs(const CModelSnapshot& other) const;

private:
    std::unique_ptr<EntityList> m_pList;
    std::string m_strProgram;
};
