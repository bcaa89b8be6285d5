// The run state of one statement loop, shared by the statement handlers of
// the executor and of the plot commands.
#pragma once
#include <cstdint>
#include <string>

#include "interpreter/Interpreter.h"

struct CInterpreter::LineState {
    const char* pNext = nullptr;    // start of the next line to read
    int64_t nLine = 1;              // number of the current line
    std::string strLine;            // the current line, without terminator
    const char* pPos = nullptr;     // line cursor into strLine
    std::string strWord;            // the command word
};
