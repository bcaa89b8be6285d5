// Name sanitizing for imported models. The language ends a word at any of
// "+-/*=() ", an "if" needs blanks around "<" and ">", and a word that is
// a function name calls the function, so none of these may be in a name.
#include "exchange/XmileNames.h"

#include <cctype>
#include <cstring>

#include "base/Cp1251.h"

namespace {

// Latin letters with marks, by their Unicode code point, folded to ASCII.
char FoldLatin(uint32_t cp) {
    static const char* const kLatin1 =  // U+00C0 .. U+00FF
        "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
    if (cp >= 0xC0 && cp <= 0xFF) return kLatin1[cp - 0xC0];
    static const char* const kExtendedA =  // U+0100 .. U+017F
        "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiJjJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
    if (cp >= 0x100 && cp <= 0x17F) return kExtendedA[cp - 0x100];
    return '?';
}

// The next UTF-8 character at i: its bytes' length and code point (a
// malformed byte counts as one character U+FFFD).
size_t NextChar(std::string_view text, size_t i, uint32_t& cp) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
        cp = 0xFFFD;
        return 1;
    }
    cp = length == 1 ? c : c & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const unsigned char d = static_cast<unsigned char>(text[i + k]);
        if ((d >> 6) != 2) {
            cp = 0xFFFD;
            return 1;
        }
        cp = (cp << 6) | (d & 0x3F);
    }
    return length;
}

bool IsFunctionName(const std::string& lowered) {
    static const char* const kFunctions[] = {"abs", "min", "max", "exp", "ln", "log10", "sqrt", "pow", "sin",
                                             "cos", "tan", "arcsin", "arccos", "arctan", "int", "mod", "round", "pi"};
    for (const char* name : kFunctions)
        if (lowered == name) return true;
    return false;
}

std::string Lowered(const std::string& name) {
    std::string out = name;
    for (char& c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80) c = static_cast<char>(std::tolower(u));
        else if (u >= 0xC0 && u <= 0xDF) c = static_cast<char>(u + 0x20);  // 1251 capitals
        else if (u == 0xA8) c = static_cast<char>(0xB8);
    }
    return out;
}

}  // namespace

std::string ToCp1251Closest(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t length = NextChar(utf8, i, cp);
        std::string one;
        if (cp != 0xFFFD && Utf8ToCp1251(utf8.substr(i, length), one)) out += one;
        else out += FoldLatin(cp);
        i += length;
    }
    return out;
}

// Names are never given back, so the numbers below the last one given
// to a base are all taken: many variables of one name cost no search.
std::string CNameTable::Unique(const std::string& base) {
    int& next = m_nextNumber[Lowered(base)];  // 0: the base itself is yet to be tried
    for (;;) {
        std::string name = next == 0 ? base : base + "_" + std::to_string(next);
        next = next == 0 ? 2 : next + 1;
        if (m_used.insert(Lowered(name)).second) return name;
    }
}

std::string CNameTable::AddXmileName(std::string_view xmileName) {
    std::string name;
    bool blank = false;
    for (char c : ToCp1251Closest(xmileName)) {
        if (c == ' ' || c == '_' || c == '\t' || c == '\r' || c == '\n') {
            blank = !name.empty();
            continue;
        }
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("+-/*=(),;'\"<>?!\\{}[]&|^~`:", c)) continue;
        if (blank) name += '_';
        blank = false;
        name += c;
    }
    if (name.empty()) name = "v";
    if (std::isdigit(static_cast<unsigned char>(name[0])) || name[0] == '.') name = "_" + name;
    if (IsFunctionName(Lowered(name))) name += '_';
    return Unique(name);
}

std::string CNameTable::AddHidden(const std::string& base) { return Unique(base); }
