// The import's one entry point, used by the command line and the shell.
#include "exchange/XmileImport.h"

#include <cctype>

#include "exchange/XmileDiagram.h"
#include "exchange/XmileModel.h"

XImport ImportXmile(std::string_view bytes, const XImportOptions& options) {
    const XModel model = ReadXmileModel(bytes);
    XTranslation translation = TranslateXmile(model, options);
    XDiagram diagram = BuildXmileDiagram(model, translation);
    XImport result;
    result.doc.OnNewDocument();
    result.doc.m_pEntityList = std::move(diagram.pList);
    result.doc.m_nWidth = diagram.nWidth;
    result.doc.m_nHeight = diagram.nHeight;
    result.doc.m_strProgram = std::move(translation.strProgram);
    result.notes = std::move(translation.notes);
    return result;
}

bool IsXmileFileName(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return false;
    std::string extension;
    for (char c : path.substr(dot + 1)) extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "xmile" || extension == "xml" || extension == "stmx";
}
