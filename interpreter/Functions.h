// The functions of the model language, in one table: each name with the
// number of arguments it takes and the C library function that computes it.
// The line reader, the compiler, the check, the editor's colours and the
// command line's usage all read this table.
#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

struct CFunction {
    const char* pszName;
    size_t nMinArgs;
    size_t nMaxArgs;                     // kAnyCount: no upper bound
    double (*pfnUnary)(double);          // one argument
    double (*pfnBinary)(double, double); // two arguments, or folded over more
    double dConstant;                    // no arguments

    static constexpr size_t kAnyCount = static_cast<size_t>(-1);
    bool TakesCount(size_t n) const { return n >= nMinArgs && n <= nMaxArgs; }
};

std::span<const CFunction> Functions();
// The function of that exact (lower-case) name; null when there is none.
const CFunction* FindFunction(std::string_view name);

// The value of a call whose arguments stand in args[0..n), n a count the
// function takes. Arguments beyond two are folded from the last one back,
// as the compiled operations apply them, so both give the same bits.
double ApplyFunction(const CFunction& function, const double* args, size_t n);

// "abs, min, max, ..." in the table's order.
std::string FunctionNamesText();
