// The golden program corpus (interpreter/corpus/*.txt, code page 1251), read
// by the corpus run and by the static check's proof. One program a row:
//   LINE|LINE|...  =>  ITEM; ITEM; ...
// its lines joined by | (the run gets them CR LF); a line that starts with
// blanks continues the row above. "# diagram: SPEC" adds an element to every
// row of its file, an item "diagram: SPEC" to its row alone (SPEC as in
// support/CorpusDiagram.h); other lines starting with # are comments.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/CorpusDiagram.h"

struct CCorpusRow {
    int nLine = 0;  // where the row starts in its file
    std::string strProgram;
    std::vector<std::string> diagram;
    std::vector<std::string> items;
};

// "a|b" as the editor hands it over: "a\r\nb".
inline std::string ProgramText(const std::string& rowProgram) {
    std::string text;
    for (char c : rowProgram) text += c == '|' ? std::string("\r\n") : std::string(1, c);
    return text;
}

inline std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

inline std::vector<CCorpusRow> ReadCorpusFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> diagram;
    std::vector<CCorpusRow> rows;
    std::vector<std::string> texts;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("# diagram: ", 0) == 0) {
            diagram.push_back(line.substr(11));
        } else if (!line.empty() && line[0] == ' ' && !rows.empty()) {
            const std::string rest = line.substr(line.find_first_not_of(' '));
            texts.back() += (rest.rfind("=>", 0) == 0 ? " " : "") + rest;
        } else if (!line.empty() && line[0] != '#') {
            rows.push_back({number, "", diagram, {}});
            texts.push_back(line);
        }
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t arrow = texts[i].find(" => ");
        rows[i].strProgram = ProgramText(texts[i].substr(0, arrow));
        if (arrow == std::string::npos) continue;
        for (const std::string& item : Split(texts[i].substr(arrow + 4), "; ")) {
            if (item.rfind("diagram: ", 0) == 0)
                rows[i].diagram.push_back(item.substr(9));
            else
                rows[i].items.push_back(item);
        }
    }
    return rows;
}

inline void AddElements(EntityList& list, const std::vector<std::string>& specs) {
    for (const std::string& spec : specs) list.Add(CorpusElement(spec));
}
