// The monkey's one source of chance: a seeded generator and the values it
// types into fields. Everything the monkey does is drawn from here, so a
// seed and an event number replay a run exactly.
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <iterator>
#include <random>

class CMonkeyRandom {
public:
    explicit CMonkeyRandom(uint64_t seed) : m_engine(seed) {}

    // 0 .. n-1 (0 when n <= 0).
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(m_engine() % static_cast<uint64_t>(n)); }
    int Between(int lo, int hi) {
        const uint64_t span = static_cast<uint64_t>(int64_t{hi} - lo + 1);
        return static_cast<int>(lo + static_cast<int64_t>(m_engine() % span));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename List>
    const auto& Pick(const List& list) { return list[Below(static_cast<int>(std::size(list)))]; }

    // What a user might type into a field: numbers of every kind, broken
    // numbers, words, program lines, and now and then a long text.
    QString FieldText() {
        static const QStringList kNumbers = {
            "0", "1", "-1", "42", "0.5", "-0", "2147483647", "2147483648", "-2147483648", "-2147483649",
            "99999999999999999999", "-99999999999", "1e308", "1e309", "-1e308", "1e-320", "4.9e-324",
            "3.14159", "1,5", "12abc", " 7", "+8", "--5", "0x10", ".", "1e", "e5", "nan", "inf",
            "1.7976931348623157e308", "007", "1 2 3", "0 10 20 30 40", "-5 -6 7e400"};
        static const QStringList kWords = {
            "", " ", "N", "Численность", "x_1", "Темп роста", "a b", "\"", "\\", "%s%n", "<b>bold</b>",
            "&Menu", "\t", "ЁёЪъ", "€", "日本", "🙂", "var", "graphic", "plot", "goto", "if"};
        static const QStringList kLines = {
            "var x = 1", "set x = x + 1", "if x < 10 goto 2", "goto 1", "graphic g caption=\"a\"",
            "plot g x x", "var t = 0\r\nset t = t + 0.5\r\nif t < 100 goto 2", "set = = =", ":mark",
            "var y = 1/0", "var z = sqrt(-1)", "goto 99999999999"};
        switch (Below(10)) {
            case 0: case 1: case 2: case 3: return Pick(kNumbers);
            case 4: return QString::number(static_cast<int64_t>(m_engine()) >> Below(64));
            case 5: case 6: return Pick(kWords);
            case 7: return Pick(kLines);
            case 8: return Pick(kWords) + Pick(kNumbers) + Pick(kLines);
            default: return LongText();
        }
    }

    QString LongText() {
        const int length = Chance(80) ? Between(100, 3000) : Between(10000, 70000);
        static const QString kAlphabet = QStringLiteral("abcxyz019 .,-+*/=()<>\"\r\nАБВабвЁё\t");
        QString text;
        text.reserve(length);
        for (int i = 0; i < length; ++i) text += kAlphabet[Below(kAlphabet.size())];
        return text;
    }

private:
    std::mt19937_64 m_engine;
};
