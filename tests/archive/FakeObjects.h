// Small serializable classes for the archive tests, independent of the
// diagram: a "line" with an int32 body and a "text" with a string body.
#pragma once
#include <memory>
#include <string>

#include "archive/Archive.h"

class CFakeLine : public CObject {
public:
    static const CRuntimeClass classCFakeLine;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCFakeLine; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) ar.WriteInt32(m_nValue);
        else m_nValue = ar.ReadInt32();
    }
    int32_t m_nValue = 0;
};

class CFakeText : public CObject {
public:
    static const CRuntimeClass classCFakeText;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCFakeText; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) ar.WriteString(m_strText);
        else m_strText = ar.ReadString();
    }
    std::string m_strText;
};

inline const CRuntimeClass CFakeLine::classCFakeLine{
    "CVLine", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CFakeLine>(); }};
inline const CRuntimeClass CFakeText::classCFakeText{
    "CVText", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CFakeText>(); }};

inline const CClassRegistry& FakeRegistry() {
    static const CClassRegistry registry = [] {
        CClassRegistry r;
        r.Register(&CFakeLine::classCFakeLine);
        r.Register(&CFakeText::classCFakeText);
        return r;
    }();
    return registry;
}
