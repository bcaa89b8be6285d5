// The language below whole programs: the character-level readers, the
// tokens the check gives the editor's colours, and the table's interval,
// found by arithmetic, against the plain scan on random tables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "Corpus.h"
#include "base/TextReaders.h"
#include "base/Messages.h"
#include "interpreter/ProgramCheck.h"
#include "support/RunSnapshot.h"

namespace {

// Reads once: what it read, "|" and the text left.
std::string Read(const std::string& reader, const std::string& input) {
    const char* cursor = input.c_str();
    double value = 1;
    std::string read;
    if (reader == "length") return std::to_string(NumberLength(cursor));
    if (reader == "more") return HasMoreText(cursor) ? "yes" : "no";
    if (reader == "line") read = ReadLine(cursor);
    if (reader == "word") read = ReadWord(cursor);
    if (reader == "char") read = std::string(1, ReadChar(cursor)).c_str();  // the end as ""
    if (reader == "at") read = std::to_string(ReadNumberAt(cursor, value));
    if (reader == "at") read += " " + FormatRoundTrip(value);
    if (reader == "quoted") read = ReadQuoted(cursor);
    return read + "|" + cursor;
}

TEST(Lexer, ReadersTakeWhatTheLanguageSays) {
    const char* const cases[][3] = {
        // A line ends at CR with an optional LF; blanks stay, empty lines come back empty.
        {"line", "a\r\nb\rc\nd", "a|b\rc\nd"}, {"line", "b\rc\nd", "b|c\nd"}, {"line", "c\nd", "c\nd|"},
        {"line", "", "|"}, {"line", "  x\r\n\r\n", "  x|\r\n"}, {"line", "\r\r\n", "|\r\n"},
        // Words stop on blanks and + - / * = ( ) (corpus rows), which they leave; comparisons, tabs and
        // quotes belong to them.
        {"word", "  set x=1", "set| x=1"}, {"word", "=1", "|=1"}, {"word", "x<5", "x<5|"}, {"word", "t\tx y", "t\tx| y"}, {"word", "a,b;'c\"\xe0\xff rest", "a,b;'c\"\xe0\xff| rest"},
        {"char", "   =5", "=|5"}, {"char", "   ", "|"},
        {"more", "", "no"}, {"more", "    ", "no"}, {"more", "  x", "yes"}, {"more", "\t", "yes"},
        // The scanner's length; the conversion may read more (the numbers read: corpus rows).
        {"length", "-12.5e-3", "8"}, {"length", "1.2.3", "0"}, {"length", "e+3", "0"}, {"length", "-", "1"},
        {"length", "+5", "0"}, {"length", "1e5", "1"}, {"length", "1e+5e+2", "0"}, {"length", ".5", "2"},
        {"length", "1e+5.3", "6"}, {"length", ".", "1"}, {"length", "3-2", "1"}, {"length", "2E+3", "1"},
        {"length", "", "0"}, {"length", "-e+1", "4"},
        {"at", "  3.5,", "5 3.5|  3.5,"}, {"at", "   x", "3 0|   x"},
        {"quoted", " \"a b(x)\" rest", "a b(x)| rest"}, {"quoted", "\"\"", "|"},  // failures in corpus rows
    };
    for (const auto& [reader, input, expected] : cases) EXPECT_EQ(Read(reader, input), expected) << reader << " " << input;
    EXPECT_EQ(SkipSpaces("  \tx"), 2u);
    EXPECT_EQ(IntToString(-2147483647 - 1), "-2147483648");
}

// Tokens as ROLE:text (C command, M mark, # comment, N number, Q quoted, K
// name known from the diagram or any declaration, U unknown, F function) on line 3.
TEST(ProgramTokens, StatementsAreSplitAsTheRunReadsThem) {
    EntityList diagram;
    AddElements(diagram, {"variable X 1", "table tab 0 1 1 1 2"});
    CProgramNames names;
    names.ImportDiagram(&diagram);
    names.ScanProgram(ProgramText("var t|graphic g|mark top|var late"));
    const std::pair<std::string, std::string> cases[] = {
        {"set t = tab(X) * 1.5 + Xs", "C:set K:t K:tab K:X N:1.5 U:Xs"}, {"var t = 5", "C:var K:t #:= 5"},
        {"graphic g color=255 text=\"Рост\" (note)", "C:graphic K:g C:color N:255 C:text Q:\"Рост\" #:(note)"},
        {"  ' any text \"here\"", "#:' any text \"here\""}, {"(x) = 5", "#:(x) = 5"}, {"if -1 < t", "C:if N:-1 K:t"},
        {"goto top", "C:goto M:top"}, {"goto bottom", "C:goto U:bottom"}, {"mark top", "C:mark M:top"},
        {"plot g t X rest", "C:plot K:g K:t K:X #:rest"}, {"set late = Tab", "C:set K:late U:Tab"},
        {"sett t 2 \"a\"", "U:sett K:t N:2 Q:\"a\""}, {"graphic g text= \"a\"", "C:graphic K:g C:text Q:\"a\""},
        {"set t = max(t,X) + abs - sin", "C:set K:t F:max K:t K:X U:abs U:sin"},  // a call needs its "("  // an unknown word, the rest coloured by its look
    };
    for (const auto& [line, expected] : cases) {
        std::string tokens;
        for (const CProgramToken& t : CheckLine(line, 3, names).tokens)
            tokens += (tokens.empty() ? "" : " ") + std::string(1, "CM#NQKUF"[static_cast<int>(t.role)]) + ":" +
                      line.substr(t.nStart, t.nLength);
        EXPECT_EQ(tokens, expected) << line;
    }
}

// The message table is read by id and by key: each entry stands at its
// id's place and keys are unique (placeholders: the corpus's messages).
TEST(Messages, EachStandsAtItsIdWithItsOwnKey) {
    std::set<std::string> keys;
    for (size_t i = 0; i < MessageTexts().size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(MessageTexts()[i].id), i);
        EXPECT_TRUE(keys.insert(MessageTexts()[i].pszKey).second) << MessageTexts()[i].pszKey;
    }
}

// The rule as written: the first interval [from + i*step, from + (i+1)*step)
// that holds x, else the gap or the last value.
bool TableValueByScan(const SymbolRec& rec, double x, double& value) {
    const double* d = rec.pData;
    const int32_t n = PointCount(rec);
    value = x >= rec.dFrom ? d[n - 1] : d[0];
    for (int32_t i = 0; i + 1 < n && x >= rec.dFrom; ++i) {
        const double lo = rec.dFrom + i * rec.dStep, hi = rec.dFrom + (i + 1) * rec.dStep;
        if (x >= lo && x < hi) {
            value = d[i] + (x - lo) / rec.dStep * (d[i + 1] - d[i]);
            return true;
        }
    }
    return !(x >= rec.dFrom) || !(x < rec.dTo);
}

// Random ranges (uneven ones with a gap, negative steps, origins so far
// out that neighbouring boundaries round together) and arguments on, just
// beside and between the boundaries.
TEST(TableValue, ArithmeticIntervalMatchesTheScan) {
    std::mt19937_64 random(20240607);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (int table = 0; table < 3000; ++table) {
        const double from = table % 7 == 0 ? uniform(-1e17, 1e17) : uniform(-100, 100);
        const double step = (table % 11 ? 1 : -1) * (table % 5 == 0 ? uniform(1e-9, 1e-3) : uniform(0.01, 10));
        const int count = 1 + static_cast<int>(random() % (table % 13 == 0 ? 5000 : 40));
        const double gap = table % 3 == 0 ? uniform(0, 1) * step : 0.0;
        const double to = from + (count - 1) * step + gap;
        std::vector<double> values(static_cast<size_t>(std::max(PointCount(from, to, step), 1)));
        for (double& v : values) v = uniform(-50, 50);
        const SymbolRec rec{SK_TABLE, 0.0, values.data(), from, to, step};
        if (PointCount(rec) < 1) continue;
        std::vector<double> args{from, to, std::nan(""), std::numeric_limits<double>::infinity(), -1e300};
        for (int k = 0; k < 40; ++k) {
            const double boundary = from + static_cast<int32_t>(random() % (count + 1)) * step;
            args.insert(args.end(), {boundary, std::nextafter(boundary, -INFINITY),
                                     std::nextafter(boundary, INFINITY), uniform(from - step, to + step)});
        }
        for (double x : args) {
            double expected = 0, actual = 0;
            const bool bExpected = TableValueByScan(rec, x, expected);
            ASSERT_EQ(TableValue(rec, x, actual), bExpected) << from << " " << step << " " << to << " at " << x;
            ASSERT_TRUE(!bExpected || SameBits(actual, expected)) << from << " " << step << " at " << x;
        }
    }
}

}  // namespace
