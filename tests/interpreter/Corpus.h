// The golden program corpus (interpreter/corpus/*.txt, code page 1251): one
// program a row, "LINE|LINE|... => ITEM; ITEM; ...", its lines joined by |
// (the run gets CR LF) and {N*TEXT} standing for N copies of TEXT (# in the
// k-th copy for k). A line that starts with blanks continues the row above.
// "# diagram: DESCRIPTION" adds an element (support/CorpusDiagram.h) to every row of
// its file, an item "diagram: DESCRIPTION" to its row; other # lines are comments.
// The items a row's runs must bear out (RunTest.cpp):
//   NAME = VALUE         a number symbol, shortest round-trip text
//   error N: MESSAGE     fails on line N with "Interpretation error:\n" MESSAGE
//   outcome: step limit|cancelled    steps: N    polls: STEP...
//   symbols: COUNT       undefined: NAME    order: NAME... (graphs-window order)
//   graphic NAME: color=C text="T" loX=A hiX=B loY=C hiY=D divY=E
//   series NAME: X Y, X Y, ...      samples NAME: COUNT
//   max-steps: N         cancel at poll: K (the K-th poll stops it)
//   check N: MESSAGE     a finding of the static check; "check: none" for none
// Without an error or outcome item the run must end normally; without check
// items the static check finds exactly the run's error.
#pragma once
#include <filesystem>
#include <fstream>

#include "interpreter/BuildGraphs.h"
#include "support/CorpusDiagram.h"

struct CCorpusRow {
    int nLine = 0;  // where the row starts in its file
    std::string strProgram;
    std::vector<std::string> diagram;
    std::vector<std::string> items;
};

inline std::string ProgramText(const std::string& row) {
    std::string text;
    for (size_t at = 0; at < row.size(); ++at) {
        if (row[at] != '{') {
            text += row[at] == '|' ? std::string("\r\n") : std::string(1, row[at]);
            continue;
        }
        const size_t star = row.find('*', at), end = row.find('}', at);
        const std::string copy = ProgramText(row.substr(star + 1, end - star - 1));
        const size_t hash = copy.find('#');
        for (int k = 0, n = std::stoi(row.substr(at + 1, star - at - 1)); k < n; ++k)
            text += hash == std::string::npos ? copy : copy.substr(0, hash) + std::to_string(k) + copy.substr(hash + 1);
        at = end;
    }
    return text;
}

inline std::vector<CCorpusRow> ReadCorpusFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> diagram;
    std::vector<CCorpusRow> rows;  // first with the rows' whole text as their program
    int number = 1;
    for (std::string line; std::getline(in, line); ++number) {
        const size_t text = line.find_first_not_of(' ');
        if (line.rfind("# diagram: ", 0) == 0)
            diagram.push_back(line.substr(11));
        else if (text > 0 && text != std::string::npos && !rows.empty())
            rows.back().strProgram += (line.find("=>") == text ? " " : "") + line.substr(text);
        else if (text != std::string::npos && line[0] != '#')
            rows.push_back({number, line, diagram, {}});
    }
    for (CCorpusRow& row : rows) {
        const size_t arrow = row.strProgram.find(" => ");
        std::string rest = arrow == std::string::npos ? "" : row.strProgram.substr(arrow + 4) + "; ";
        row.strProgram = ProgramText(row.strProgram.substr(0, arrow));
        for (size_t at; (at = rest.find("; ")) != std::string::npos; rest.erase(0, at + 2)) {
            const bool bDiagram = rest.rfind("diagram: ", 0) == 0;
            (bDiagram ? row.diagram : row.items).push_back(rest.substr(bDiagram ? 9 : 0, at - (bDiagram ? 9 : 0)));
        }
    }
    return rows;
}

inline const char* OutcomeText(RunOutcome outcome) {
    static const char* const kOutcomes[] = {"ok", "error", "step limit", "cancelled", "unknown name"};
    return kOutcomes[static_cast<int>(outcome)];
}

inline void AddElements(EntityList& list, const std::vector<std::string>& descriptions) {
    for (const std::string& description : descriptions) list.Add(CorpusElement(description));
}
