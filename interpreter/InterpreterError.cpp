// The prefix every message of a running program starts with, in one place.
#include "interpreter/InterpreterError.h"

void ThrowInterpretation(const std::string& rest) { throw CInterpreterError("Interpretation error:\n" + rest); }
