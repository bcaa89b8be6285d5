// The set of classes an archive may create by name while loading.
#pragma once
#include <string_view>
#include <vector>

#include "archive/Object.h"

class CClassRegistry {
public:
    void Register(const CRuntimeClass* pClass);
    // Exact, case-sensitive lookup; null when no class bears the name.
    const CRuntimeClass* Find(std::string_view name) const;

private:
    std::vector<const CRuntimeClass*> m_classes;
};
