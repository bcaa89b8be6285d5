// The values follow IEEE 754 as the C library computes them: no domain
// error is raised, ln(0) is -inf and sqrt(-1) is NaN.
#include "interpreter/Functions.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

// Unlike fmin and fmax, a NaN argument gives NaN: a broken input must not
// vanish inside a limit.
double Min(double a, double b) {
    if (std::isnan(a)) return a;
    if (std::isnan(b)) return b;
    return b < a ? b : a;
}

double Max(double a, double b) {
    if (std::isnan(a)) return a;
    if (std::isnan(b)) return b;
    return b > a ? b : a;
}

using Unary = double (*)(double);
using Binary = double (*)(double, double);
constexpr size_t kAny = CFunction::kAnyCount;

constexpr Unary U(Unary f) { return f; }
constexpr Binary B(Binary f) { return f; }

const CFunction kFunctions[] = {
    {"abs", 1, 1, U([](double x) { return std::fabs(x); }), nullptr, 0.0},
    {"min", 2, kAny, nullptr, B(Min), 0.0},
    {"max", 2, kAny, nullptr, B(Max), 0.0},
    {"exp", 1, 1, U([](double x) { return std::exp(x); }), nullptr, 0.0},
    {"ln", 1, 1, U([](double x) { return std::log(x); }), nullptr, 0.0},
    {"log10", 1, 1, U([](double x) { return std::log10(x); }), nullptr, 0.0},
    {"sqrt", 1, 1, U([](double x) { return std::sqrt(x); }), nullptr, 0.0},
    {"pow", 2, 2, nullptr, B([](double a, double b) { return std::pow(a, b); }), 0.0},
    {"sin", 1, 1, U([](double x) { return std::sin(x); }), nullptr, 0.0},
    {"cos", 1, 1, U([](double x) { return std::cos(x); }), nullptr, 0.0},
    {"tan", 1, 1, U([](double x) { return std::tan(x); }), nullptr, 0.0},
    {"arcsin", 1, 1, U([](double x) { return std::asin(x); }), nullptr, 0.0},
    {"arccos", 1, 1, U([](double x) { return std::acos(x); }), nullptr, 0.0},
    {"arctan", 1, 1, U([](double x) { return std::atan(x); }), nullptr, 0.0},
    {"int", 1, 1, U([](double x) { return std::trunc(x); }), nullptr, 0.0},
    {"mod", 2, 2, nullptr, B([](double a, double b) { return std::fmod(a, b); }), 0.0},
    {"round", 1, 1, U([](double x) { return std::round(x); }), nullptr, 0.0},
    {"pi", 0, 0, nullptr, nullptr, std::numbers::pi},
};

}  // namespace

std::span<const CFunction> Functions() { return kFunctions; }

const CFunction* FindFunction(std::string_view name) {
    for (const CFunction& f : kFunctions)
        if (name == f.pszName) return &f;
    return nullptr;
}

double ApplyFunction(const CFunction& function, const double* args, size_t n) {
    if (n == 0) return function.dConstant;
    if (function.pfnUnary) return function.pfnUnary(args[0]);
    double value = args[n - 1];
    for (size_t i = n - 1; i-- > 0;) value = function.pfnBinary(args[i], value);
    return value;
}

std::string FunctionNamesText() {
    std::string text;
    for (const CFunction& f : kFunctions) text += (text.empty() ? "" : ", ") + std::string(f.pszName);
    return text;
}
