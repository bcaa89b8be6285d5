// Base of everything an archive can store by class: a run-time class record
// (name, schema, factory) and a virtual Serialize.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;  // ASCII, stored in files
    uint16_t m_wSchema;
    std::unique_ptr<CObject> (*m_pfnCreateObject)();
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const = 0;
    virtual void Serialize(CArchive& ar) = 0;
};
