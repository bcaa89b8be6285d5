// Lookup of serializable classes by the name a file stores.
#include "archive/ClassRegistry.h"

void CClassRegistry::Register(const CRuntimeClass* pClass) {
    if (!Find(pClass->m_lpszClassName))
        m_classes.push_back(pClass);
}

const CRuntimeClass* CClassRegistry::Find(std::string_view name) const {
    for (const CRuntimeClass* pClass : m_classes) {
        if (name == pClass->m_lpszClassName)
            return pClass;
    }
    return nullptr;
}
