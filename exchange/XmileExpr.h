// XMILE equations as trees: numbers, names, operators, IF THEN ELSE and
// function calls. Names are kept as reference keys (XmileKey), function
// names in capitals.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct XExpr {
    enum EKind { Number, Name, Unary, Binary, If, Call };
    EKind kind = Number;
    double dValue = 0;
    std::string strText;  // Name: the key; Unary/Binary: the operator; Call: the function
    std::vector<XExpr> args;
};

// Parses one equation. On a syntax error returns false with why in `error`.
// Operators: + - * / ^ MOD, = <> < <= > >=, AND OR NOT; '[' (subscripts)
// is reported as such. Comments in braces are skipped.
bool ParseXmileExpr(std::string_view text, XExpr& expr, std::string& error);
