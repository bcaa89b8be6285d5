// The copy of a model's run inputs: one stand-in per named element that
// hands the import the record the element gave, with its own copy of a
// table's values.
#include "interpreter/ModelSnapshot.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool SameBits(double a, double b) { return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b); }

class CValueCopy : public CVEntity {
public:
    CValueCopy(std::string name, const SymbolRec& rec) : m_strName(std::move(name)), m_rec(rec) {
        if (rec.pData != nullptr) {
            const int32_t count = PointCount(rec);
            m_data.assign(rec.pData, rec.pData + (count > 0 ? count : 0));
        }
        m_rec.pData = nullptr;
    }

    std::string GetName(SymbolRec* pRec) override {
        if (pRec != nullptr) {
            *pRec = m_rec;
            pRec->pData = m_data.empty() ? nullptr : m_data.data();
        }
        return m_strName;
    }

    // Bit for bit, so that a NaN equals itself and -0 differs from 0.
    bool Same(const CValueCopy& other) const {
        const SymbolRec& a = m_rec;
        const SymbolRec& b = other.m_rec;
        return m_strName == other.m_strName && a.nKind == b.nKind && SameBits(a.dValue, b.dValue) &&
               SameBits(a.dFrom, b.dFrom) && SameBits(a.dTo, b.dTo) && SameBits(a.dStep, b.dStep) &&
               m_data.size() == other.m_data.size() &&
               (m_data.empty() ||
                std::memcmp(m_data.data(), other.m_data.data(), m_data.size() * sizeof(double)) == 0);
    }

private:
    std::string m_strName;
    SymbolRec m_rec;
    std::vector<double> m_data;
};

}  // namespace

CModelSnapshot::CModelSnapshot(EntityList* pList, std::string strProgram) : m_strProgram(std::move(strProgram)) {
    if (pList == nullptr) return;
    m_pList = std::make_unique<EntityList>();
    for (const auto& pEntity : *pList) {
        SymbolRec rec;
        std::string name = pEntity->GetName(&rec);
        // Every named element is kept, twins included, so that the run
        // reports a redefinition exactly as over the diagram.
        if (!name.empty()) m_pList->Add(std::make_unique<CValueCopy>(std::move(name), rec));
    }
}

bool CModelSnapshot::SameAs(const CModelSnapshot& other) const {
    if (m_strProgram != other.m_strProgram || (m_pList == nullptr) != (other.m_pList == nullptr)) return false;
    if (m_pList == nullptr) return true;
    if (m_pList->GetCount() != other.m_pList->GetCount()) return false;
    for (size_t i = 0; i < m_pList->GetCount(); ++i) {
        const auto* pMine = static_cast<const CValueCopy*>(m_pList->GetAt(i));
        const auto* pTheirs = static_cast<const CValueCopy*>(other.m_pList->GetAt(i));
        if (!pMine->Same(*pTheirs)) return false;
    }
    return true;
}
