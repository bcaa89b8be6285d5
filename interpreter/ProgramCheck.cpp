// The check reads each line with the run's own readers and follows the
// statement handlers step by step. Where the run's path depends on values
// (a name declared by "var" may not exist yet, a table may have a gap) the
// reading keeps every possibility open and reports a line only when all of
// them end in the same refusal. What decides the reading and cannot change
// at run time is used as certain: the diagram's names and kinds, the marks
// and the declarations anywhere in the text.
#include "interpreter/ProgramCheck.h"

#include <algorithm>

#include "diagram/SymbolRec.h"
#include "interpreter/Interpreter.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/Operators.h"

namespace {

const char* const kPrefix = "Interpretation error:\n";

std::string Message(const std::string& rest) { return kPrefix + rest; }

// Whether an operand leaves a value, on the executions that survive it.
enum class EPresence { None, Some, Maybe };

bool IsArithmetic(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }

bool IsAttribute(const std::string& key) {
    return key == "color" || key == "text" || key == "loX" || key == "hiX" || key == "loY" || key == "hiY" ||
           key == "divY";
}

bool IsCommand(const std::string& word) {
    return word == "var" || word == "set" || word == "if" || word == "goto" || word == "mark" ||
           word == "graphic" || word == "plot";
}

class CLineChecker {
public:
    CLineChecker(const std::string& line, int64_t nLine, const CProgramNames& names)
        : m_pBase(line.c_str()), m_pos(line.c_str()), m_nLine(nLine), m_names(names) {}

    CLineCheck Check() {
        m_word = ReadWord(m_pos);
        if (m_word.empty()) {
            IgnoredRest();  // a blank line, or one that starts with a delimiter
            return Result();
        }
        if (m_word == "'") {
            Token(m_pos - 1, m_pos + std::char_traits<char>::length(m_pos), EProgramRole::Comment);
            return Result();
        }
        WordToken(m_word, IsCommand(m_word) ? EProgramRole::Command : EProgramRole::UnknownName);
        if (m_word == "var") CheckVar();
        else if (m_word == "set") CheckSet();
        else if (m_word == "if") CheckIf();
        else if (m_word == "goto") CheckGoto();
        else if (m_word == "mark") CheckMark();
        else if (m_word == "graphic") CheckGraphic();
        else if (m_word == "plot") CheckPlot();
        else Unknown();
        return Result();
    }

private:
    CLineCheck Result() {
        CLineCheck result;
        result.tokens = std::move(m_tokens);
        result.strError = std::move(m_error);
        return result;
    }

    std::string LineText() const { return LineNumberText(m_nLine); }
    std::string BadAttributes() const { return Message("Bad '" + m_word + "' command attributes (" + LineText() + ")."); }
    std::string BadCommand() const { return Message("Bad '" + m_word + "' command (" + LineText() + ")."); }

    // The run stops at its first refusal: keep only that one.
    void Fail(const std::string& message) {
        if (m_error.empty()) m_error = message;
    }

    void Token(const char* start, const char* end, EProgramRole role) {
        if (end > start)
            m_tokens.push_back({static_cast<size_t>(start - m_pBase), static_cast<size_t>(end - start), role});
    }
    // The word just read ends at the cursor.
    void WordToken(const std::string& word, EProgramRole role) { Token(m_pos - word.size(), m_pos, role); }
    void NameToken(const std::string& name) {
        WordToken(name, m_names.IsKnown(name) ? EProgramRole::KnownName : EProgramRole::UnknownName);
    }

    bool ReadNumberToken() {
        m_pos += SkipSpaces(m_pos);
        const char* start = m_pos;
        double value = 0.0;
        if (!ReadNumber(m_pos, value)) return false;
        Token(start, m_pos, EProgramRole::Number);
        return true;
    }

    // Text after a complete statement that the run never reads.
    void IgnoredRest() {
        m_pos += SkipSpaces(m_pos);
        Token(m_pos, m_pos + std::char_traits<char>::length(m_pos), EProgramRole::Comment);
    }

    // After a refusal the run reads no further; the rest is coloured by
    // its look alone.
    void TokenizeRest() {
        while (HasMoreText(m_pos)) {
            if (ReadNumberToken()) continue;
            if (*m_pos == '"') {
                const char* start = m_pos++;
                while (*m_pos != '\0' && *m_pos != '"') ++m_pos;
                if (*m_pos == '"') ++m_pos;
                Token(start, m_pos, EProgramRole::Quoted);
                continue;
            }
            const std::string word = ReadWord(m_pos);
            if (word.empty())
                ++m_pos;  // a delimiter
            else
                NameToken(word);
        }
    }

    void Unknown() {
        Fail(Message("Unknown command '" + m_word + "' (col: " + LineText() + ")."));
        TokenizeRest();
    }

    void CheckVar() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::KnownName);
        // An element's name is taken before any line runs and never freed.
        if (m_names.Diagram(name)) Fail(Message("Variable " + name + " redefinition."));
        IgnoredRest();
    }

    void CheckSet() {
        const std::string name = ReadWord(m_pos);
        NameToken(name);
        const CDiagramName* pDiagram = m_names.Diagram(name);
        const bool bNumber = pDiagram ? pDiagram->nKind == SK_NUMBER : m_names.IsVar(name);
        if (!bNumber) Fail(Message("Variable " + name + " undefined."));
        if (ReadChar(m_pos) != '=') {
            Fail(BadCommand());
            TokenizeRest();
            return;
        }
        std::string thrown;
        if (!ReadExpression(thrown)) {
            Fail(thrown.empty() ? BadCommand() : thrown);
            TokenizeRest();
        }
    }

    void CheckIf() {
        if (!ReadIfOperand()) Fail(BadAttributes());
        const char comparison = ReadChar(m_pos);
        if (!ReadIfOperand()) Fail(BadAttributes());
        if (comparison != '<' && comparison != '=' && comparison != '>')
            Fail(Message("Bad comparision symbol in 'if' statement (" + LineText() + ")."));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckGoto() {
        const std::string name = ReadWord(m_pos);
        const bool bExists = m_names.MarkLine(name) != 0;
        WordToken(name, bExists ? EProgramRole::Mark : EProgramRole::UnknownName);
        if (!bExists) Fail(Message("Bad mark name in goto command(" + LineText() + ")."));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckMark() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::Mark);
        if (m_names.MarkLine(name) != m_nLine) Fail(Message("Mark " + name + " redefinition."));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckGraphic() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::KnownName);
        if (m_names.Diagram(name)) Fail(Message("Variable " + name + " redefinition."));
        for (;;) {
            const std::string key = ReadWord(m_pos);
            if (key.empty()) return IgnoredRest();
            if (!IsAttribute(key)) {
                WordToken(key, EProgramRole::UnknownName);
                Fail(Message("Unknown attribute '" + key + "' in command '" + m_word + "' line (" + LineText() +
                             ")."));
                return TokenizeRest();
            }
            WordToken(key, EProgramRole::Command);
            if (!ReadAttributeValue(key)) return TokenizeRest();
        }
    }

    // False after a refusal.
    bool ReadAttributeValue(const std::string& key) {
        const std::string badArg =
            Message("Bad " + key + " arg in command '" + m_word + "' line (" + LineText() + ").");
        if (key == "text" || key == "divY") {
            // Without an equals sign the character read is simply consumed.
            if (ReadChar(m_pos) != '=') return true;
            if (key == "divY") {
                if (ReadNumberToken()) return true;
                Fail(badArg);
                return false;
            }
            m_pos += SkipSpaces(m_pos);
            const char* start = m_pos;
            try {
                ReadQuoted(m_pos);
            } catch (const CInterpreterError& error) {
                Fail(error.Message());
                return false;
            }
            Token(start, m_pos, EProgramRole::Quoted);
            return true;
        }
        if (ReadChar(m_pos) != '=' || !ReadNumberToken()) {
            Fail(badArg);
            return false;
        }
        return true;
    }

    void CheckPlot() {
        const std::string name = ReadWord(m_pos);
        NameToken(name);
        if (m_names.Diagram(name) || !m_names.IsGraphic(name)) Fail(Message("Variable " + name + " undefined."));
        for (int i = 0; i < 2; ++i) {
            std::string thrown;
            const EPresence operand = ReadOperand(thrown);
            if (!thrown.empty() || operand == EPresence::None) {
                Fail(thrown.empty() ? BadCommand() : thrown);
                return TokenizeRest();
            }
        }
        IgnoredRest();
    }

    // A number, or else a symbol operand; false when neither can be there.
    bool ReadIfOperand() {
        if (ReadNumberToken()) return true;
        std::string thrown;
        const EPresence operand = ReadOperand(thrown);
        if (!thrown.empty()) {
            Fail(thrown);
            return true;  // the refusal is already the thrown one
        }
        return operand != EPresence::None;
    }

    // One symbol operand as the operand reader takes it: a name, and for
    // an element that is a table or a switch its argument in parentheses.
    // thrown receives the message of a certain refusal inside it.
    EPresence ReadOperand(std::string& thrown) {
        struct CCall {
            std::string name;
            CDiagramName kind;
        };
        std::vector<CCall> pending;
        EPresence value = EPresence::None;
        for (;;) {
            std::string name = ReadWord(m_pos);
            NameToken(name);
            const CDiagramName* pDiagram = m_names.Diagram(name);
            if (pDiagram && (pDiagram->nKind == SK_TABLE || pDiagram->nKind == SK_SWITCH)) {
                if (ReadChar(m_pos) != '(') {
                    thrown = MissingParameter(pDiagram->nKind, name);
                    return EPresence::None;
                }
                pending.push_back({std::move(name), *pDiagram});
                continue;
            }
            if (pDiagram)
                value = pDiagram->nKind == SK_NUMBER ? EPresence::Some : EPresence::None;
            else
                value = m_names.IsVar(name) ? EPresence::Maybe : EPresence::None;
            break;
        }
        while (!pending.empty()) {
            const CCall call = std::move(pending.back());
            pending.pop_back();
            if (value == EPresence::None || ReadChar(m_pos) != ')') {
                thrown = MissingParameter(call.kind.nKind, call.name);
                return EPresence::None;
            }
            if (call.kind.nKind == SK_SWITCH) {
                value = EPresence::Some;
                continue;
            }
            if (!call.kind.bHasData) {
                thrown = Message("Table '" + call.name + "' not initialized.");
                return EPresence::None;
            }
            value = EPresence::Maybe;  // a range with a gap gives no value there
        }
        return value;
    }

    static std::string MissingParameter(int32_t nKind, const std::string& name) {
        return Message(std::string("Missing parameter in ") + (nKind == SK_SWITCH ? "switch" : "table") +
                       " variable '" + name + "'.");
    }

    // The evaluator's reduction over operand counts: nMin..nMax values on
    // the stack among the executions still running. False when every one of
    // them fails; thrown then holds a message raised by an operand, if any.
    bool ReadExpression(std::string& thrown) {
        std::vector<char> ops;
        int64_t nMin = 0, nMax = 0;
        for (;;) {
            if (*m_pos == '\0' && ops.empty()) break;
            EPresence operand = EPresence::Some;
            if (!ReadNumberToken()) {
                operand = ReadOperand(thrown);
                if (!thrown.empty()) return false;
            }
            if (operand != EPresence::None) ++nMax;
            if (operand == EPresence::Some) ++nMin;
            const char c = ReadChar(m_pos);
            while (!ops.empty()) {
                const char top = ops.back();
                if (Precedence(top) == kNoPrecedence || Precedence(c) == kNoPrecedence) return false;
                if (Precedence(top) < Precedence(c) || top == '(') break;
                if (IsArithmetic(top)) {
                    if (nMax < 2) return false;
                    nMin = std::max<int64_t>(nMin, 2) - 1;
                    --nMax;
                }
                ops.pop_back();
            }
            if (c == '\0') break;
            if (!ops.empty() && ops.back() == '(' && c == ')')
                ops.pop_back();
            else
                ops.push_back(c);
        }
        // The result is popped; nothing may be left on either stack.
        if (nMax < 1 || nMin > 1 || !ops.empty()) return false;
        return true;
    }

    const char* m_pBase;
    const char* m_pos;
    int64_t m_nLine;
    const CProgramNames& m_names;
    std::string m_word;
    std::vector<CProgramToken> m_tokens;
    std::string m_error;
};

}  // namespace

CLineCheck CheckLine(const std::string& line, int64_t nLine, const CProgramNames& names) {
    return CLineChecker(line, nLine, names).Check();
}

std::vector<CCheckFinding> CheckProgram(const std::string& program, const CProgramNames& names) {
    std::vector<CCheckFinding> findings;
    const char* cursor = program.c_str();
    for (int64_t nLine = 1; *cursor != '\0'; ++nLine) {
        CLineCheck line = CheckLine(ReadLine(cursor), nLine, names);
        if (!line.strError.empty()) findings.push_back({nLine, std::move(line.strError)});
    }
    return findings;
}

std::vector<CCheckFinding> CheckProgram(const std::string& program, const EntityList* pDiagram) {
    CProgramNames names;
    names.ImportDiagram(pDiagram);
    names.ScanProgram(program);
    return CheckProgram(program, names);
}

std::string FindingText(const CCheckFinding& finding) {
    const std::string& text = finding.strMessage;
    const size_t prefix = std::char_traits<char>::length(kPrefix);
    return text.compare(0, prefix, kPrefix) == 0 ? text.substr(prefix) : text;
}
