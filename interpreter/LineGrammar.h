// The statement forms of a program line, written once for the run, the
// compiler and the check: what each statement reads, in which order, and
// which message each refusal carries. The domain decides what reading a
// part means: the run executes it, the compiler turns it into a compiled
// statement, the check colours it and notes what the run would refuse.
// Every refusal goes through the domain's Fail, which the run throws and
// the others note; reading stops there.
#pragma once
#include <string>
#include <string_view>

#include "interpreter/Lexer.h"
#include "base/Messages.h"

// A domain provides, beside LineText() (the line number as messages write it):
//   bool Fail(EMessage, {args})            a refusal; false, or it throws
//   bool Nothing(const std::string& word)  a blank, comment or delimiter line
//   bool Mark(), Var()                     the rest of a "mark" or "var" line
//   bool Target(name), Expression(pos), Assign()                      set
//   bool Operand(pos, bNumber, nSlot), If(comparison)                 if, plot
//   bool Jump(name) (false: no such mark), Goto()                     goto
//   bool Series(name) (false: no such series), Plot()                 plot
//   bool NewSeries(name), Key(key, bAttribute), AttributeNumber(pos, key),
//        Caption(pos), Declare()                                      graphic
// The command word of a line that does nothing: a blank line or a comment.
inline bool IsNothingWord(std::string_view word) { return word.empty() || word == "'"; }

template <class Domain>
class CLineGrammar {
public:
    CLineGrammar(Domain& domain, const char*& pos, const std::string& word)
        : m_d(domain), m_pos(pos), m_word(word) {}

    // The statement after its command word; false when it was refused (or,
    // for the compiler, when the line must go to the run's handlers).
    // The word is compared as a view, which tells most words apart by length.
    bool Statement() {
        const std::string_view word = m_word;
        if (IsNothingWord(word)) return m_d.Nothing(m_word);
        if (word == "set") return Set();
        if (word == "if") return If();
        if (word == "goto") return Goto();
        if (word == "plot") return Plot();
        if (word == "mark") return m_d.Mark();
        if (word == "var") return m_d.Var();
        if (word == "graphic") return Graphic();
        return m_d.Fail(EMessage::UnknownCommand, {m_word, m_d.LineText()});
    }

private:
    bool BadCommand() { return m_d.Fail(EMessage::BadCommand, {m_word, m_d.LineText()}); }
    bool BadAttributes() { return m_d.Fail(EMessage::BadAttributes, {m_word, m_d.LineText()}); }

    bool Set() {
        if (!m_d.Target(ReadWord(m_pos))) return false;
        if (ReadChar(m_pos) != '=' || !m_d.Expression(m_pos)) return BadCommand();
        return m_d.Assign();
    }

    // Every comparison with a NaN operand fails (IEEE), so a loop guarded
    // by a NaN counter ends instead of running on.
    bool If() {
        if (!m_d.Operand(m_pos, true, 0)) return BadAttributes();
        const char comparison = ReadChar(m_pos);
        if (!m_d.Operand(m_pos, true, 1)) return BadAttributes();
        if (comparison != '<' && comparison != '=' && comparison != '>')
            return m_d.Fail(EMessage::BadComparison, {m_d.LineText()});
        if (HasMoreText(m_pos)) return BadAttributes();
        return m_d.If(comparison);
    }

    bool Goto() {
        if (!m_d.Jump(ReadWord(m_pos))) return m_d.Fail(EMessage::BadMark, {m_d.LineText()});
        if (HasMoreText(m_pos)) return BadAttributes();
        return m_d.Goto();
    }

    // X and Y are operands without a literal; the rest of the line is not read.
    bool Plot() {
        const std::string name = ReadWord(m_pos);
        if (!m_d.Series(name)) return m_d.Fail(EMessage::Undefined, {name});
        if (!m_d.Operand(m_pos, false, 0) || !m_d.Operand(m_pos, false, 1)) return BadCommand();
        return m_d.Plot();
    }

    // The attribute list ends at its first empty word; a key may come again
    // and the last one counts.
    bool Graphic() {
        if (!m_d.NewSeries(ReadWord(m_pos))) return false;
        for (;;) {
            const std::string key = ReadWord(m_pos);
            const std::string_view k = key;
            if (k.empty()) return m_d.Declare();
            const bool bRange = k == "loX" || k == "hiX" || k == "loY" || k == "hiY";
            m_d.Key(key, bRange || k == "color" || k == "divY" || k == "text");
            if (k == "color" || bRange) {
                if (ReadChar(m_pos) != '=' || !m_d.AttributeNumber(m_pos, key)) return BadValue(key);
            } else if (k == "divY") {
                // Without an equals sign the character read is simply consumed.
                if (ReadChar(m_pos) == '=' && !m_d.AttributeNumber(m_pos, key)) return BadValue(key);
            } else if (k == "text") {
                if (ReadChar(m_pos) == '=' && !m_d.Caption(m_pos)) return false;
            } else {
                return m_d.Fail(EMessage::UnknownAttribute, {key, m_word, m_d.LineText()});
            }
        }
    }

    bool BadValue(const std::string& key) {
        return m_d.Fail(EMessage::BadAttributeValue, {key, m_word, m_d.LineText()});
    }

    Domain& m_d;
    const char*& m_pos;
    const std::string& m_word;
};
