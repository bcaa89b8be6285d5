// The value record an element hands to the interpreter's symbol table, and
// the symbol kinds. It lives here so the diagram can fill it without
// depending on the interpreter.
#pragma once
#include <cstdint>

class CVGraphic;

enum SymbolKind : int32_t {
    SK_NONE = 0,  // what an object that names no symbol leaves
    SK_NUMBER = 1,
    SK_TABLE = 3,
    SK_SWITCH = 4,
    SK_GRAPHIC = 5,
};

struct SymbolRec {
    SymbolKind nKind = SK_NONE;
    double dValue = 0.0;           // number; switch: value below the threshold
    const double* pData = nullptr; // table values, owned by the element
    double dFrom = 0.0;            // table: first argument; switch: value at/above threshold
    double dTo = 0.0;              // table: last argument; switch: threshold
    double dStep = 0.0;            // table: argument step
    CVGraphic* pGraphic = nullptr; // SK_GRAPHIC: its series, owned by the interpreter
};

// Number of values of a table range: 0 for a zero step, for NaN and for a
// count that does not fit in an int32; otherwise trunc((to-from)/step + 1),
// which may be zero or negative.
int32_t PointCount(double dFrom, double dTo, double dStep);
inline int32_t PointCount(const SymbolRec& rec) { return PointCount(rec.dFrom, rec.dTo, rec.dStep); }
