// The evaluator's operator characters and their precedence, shared by the
// line-reading evaluator, the compiler that mirrors it and the check.
#pragma once

constexpr int kNoPrecedence = -1;

// The end of the text and ")" reduce everything down to an open "(".
inline int Precedence(char c) {
    switch (c) {
        case '\0':
        case ')': return 0;
        case '+':
        case '-': return 1;
        case '*':
        case '/': return 2;
        case '(': return 9;
        default: return kNoPrecedence;
    }
}

inline bool IsArithmetic(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

// The comparison of "if"; every comparison with a NaN operand fails.
inline bool Holds(char comparison, double a, double b) {
    return comparison == '<' ? a < b : comparison == '=' ? a == b : a > b;
}
