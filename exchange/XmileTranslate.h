// The translation of an XMILE model into Varnel's terms: the elements of
// the diagram (without positions) and a program in the model language that
// runs the model as XMILE defines it.
#pragma once
#include <string>
#include <vector>

#include "exchange/XmileModel.h"

struct XImportOptions {
    bool bPlotAll = false;  // every stock, flow and auxiliary; else the stocks
};

enum class XElementKind { Level, Rate, Variable, Table };

struct XElement {
    XElementKind kind = XElementKind::Variable;
    std::string strKey;          // the XMILE variable it stands for
    std::string strName;         // code page 1251, as the program uses it
    std::string strDescription;  // 1251: the XMILE name and its documentation
    double dValue = 0;
    double dFrom = 0, dTo = 0, dStep = 0;  // table data
    std::vector<double> data;
};

struct XTranslation {
    std::vector<XElement> elements;
    std::string strProgram;          // 1251, lines ended by CR LF
    std::vector<std::string> notes;  // UTF-8: what was rounded
};

// Throws CXmileRefusal with one line per equation it cannot translate.
XTranslation TranslateXmile(const XModel& model, const XImportOptions& options);
