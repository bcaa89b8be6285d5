// Loading a model for a verb, by the file's extension.
#include "exchange/CommandLineModel.h"

#include <ostream>

#include "archive/FileError.h"
#include "exchange/XmileImport.h"

bool ParsePlotChoice(const std::string& text, EPlotChoice& choice) {
    if (text == "stocks") choice = EPlotChoice::Stocks;
    else if (text == "all") choice = EPlotChoice::All;
    else return false;
    return true;
}

COptionRule PlotOption(EPlotChoice& choice) {
    return {"--plot", true, [&choice](const std::string& value) {
                return ParsePlotChoice(value, choice) ? std::string() : "--plot takes stocks or all, not '" + value + "'";
            }};
}

bool LoadCommandLineModel(const std::string& path, EPlotChoice plot, CVarnelDoc& doc, const char* verb,
                          std::ostream& err) {
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        if (!IsXmileFileName(path)) {
            doc.Load(bytes);
            return true;
        }
        XImportOptions options;
        options.bPlotAll = plot == EPlotChoice::All;
        XImport imported = ImportXmile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), options);
        for (const std::string& note : imported.notes) err << "varnel " << verb << ": note: " << note << '\n';
        doc = std::move(imported.doc);
        return true;
    } catch (const CFileError& e) {
        err << "varnel " << verb << ": cannot read model '" << path << "': " << e.what() << '\n';
    } catch (const CXmileRefusal& e) {
        err << "varnel " << verb << ": cannot import '" << path << "':\n";
        for (const std::string& problem : e.Problems()) err << "  " << problem << '\n';
    }
    return false;
}
