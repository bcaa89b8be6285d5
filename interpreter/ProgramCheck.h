// Reading a model program without running it. Each line is read as the
// statement loop would read it; a line is reported only when the run would
// refuse it every time it executed, whatever the values, and the report is
// the run's own message. The same reading splits each line into tokens for
// the program editor's colours.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "interpreter/ProgramNames.h"

class EntityList;

enum class EProgramRole {
    Command,      // a command word or a graphic attribute name
    Mark,         // the name after "mark", or after "goto" when that mark exists
    Comment,      // a comment line, or text the run never reads
    Number,       // a number literal
    Quoted,       // a caption in double quotes, quotes included
    KnownName,    // an element or a name declared by "var" or "graphic"
    UnknownName,  // any other word read as a name
    Function,     // the name of a function that a call opens with
};

struct CProgramToken {
    size_t nStart = 0;   // byte offset in the line
    size_t nLength = 0;
    EProgramRole role = EProgramRole::Comment;
    friend bool operator==(const CProgramToken&, const CProgramToken&) = default;
};

struct CLineCheck {
    std::vector<CProgramToken> tokens;
    std::string strError;  // the run's message for this line; empty when none
};

struct CCheckFinding {
    int64_t nLine = 0;
    std::string strMessage;  // the full message, "Interpretation error:\n" included
    friend bool operator==(const CCheckFinding&, const CCheckFinding&) = default;
};

// One line (without its terminator) of a program whose names were scanned.
CLineCheck CheckLine(const std::string& line, int64_t nLine, const CProgramNames& names);

// Every line of the program the run would refuse, in line order.
std::vector<CCheckFinding> CheckProgram(const std::string& program, const CProgramNames& names);
std::vector<CCheckFinding> CheckProgram(const std::string& program, const EntityList* pDiagram);

// The message without the "Interpretation error:\n" that every finding
// starts with, for one-line reports.
std::string FindingText(const CCheckFinding& finding);
