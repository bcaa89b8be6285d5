// Importing an XMILE model as a Varnel model: read, translate, lay out.
// The result is a document that no file holds yet.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "document/VarnelDoc.h"
#include "exchange/XmileRefusal.h"
#include "exchange/XmileTranslate.h"

struct XImport {
    CVarnelDoc doc;
    std::vector<std::string> notes;  // UTF-8: values rounded to whole steps
};

// Throws CXmileRefusal: every reason, one line each, in UTF-8.
XImport ImportXmile(std::string_view bytes, const XImportOptions& options = {});

// Whether a file name's extension marks an XMILE model (.xmile, .xml, .stmx).
bool IsXmileFileName(std::string_view path);
