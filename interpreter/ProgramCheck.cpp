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
#include "interpreter/ExpressionGrammar.h"
#include "interpreter/Lexer.h"

namespace {

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
    std::string BadAttributes() const { return MessageText(EMessage::BadAttributes, {m_word, LineText()}); }
    std::string BadCommand() const { return MessageText(EMessage::BadCommand, {m_word, LineText()}); }

    // The run stops at its first refusal: keep only that one. Once the
    // reading depends on values, runs may refuse in different ways.
    void Fail(const std::string& message) {
        if (m_error.empty() && !m_bUncertain) m_error = message;
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

    bool ReadNumberToken(const char*& cursor) {
        cursor += SkipSpaces(cursor);
        const char* start = cursor;
        double value = 0.0;
        if (!ReadNumber(cursor, value)) return false;
        Token(start, cursor, EProgramRole::Number);
        return true;
    }
    bool ReadNumberToken() { return ReadNumberToken(m_pos); }

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
        Fail(MessageText(EMessage::UnknownCommand, {m_word, LineText()}));
        TokenizeRest();
    }

    void CheckVar() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::KnownName);
        // An element's name is taken before any line runs and never freed.
        if (m_names.Diagram(name)) Fail(MessageText(EMessage::Redefinition, {name}));
        IgnoredRest();
    }

    void CheckSet() {
        const std::string name = ReadWord(m_pos);
        NameToken(name);
        const CDiagramName* pDiagram = m_names.Diagram(name);
        const bool bNumber = pDiagram ? pDiagram->nKind == SK_NUMBER : m_names.IsVar(name);
        if (!bNumber) Fail(MessageText(EMessage::Undefined, {name}));
        if (ReadChar(m_pos) != '=') {
            Fail(BadCommand());
            TokenizeRest();
            return;
        }
        m_thrown.clear();
        if (!CExpressionGrammar(*this, m_stacks).Expression(m_pos)) {
            Fail(m_thrown.empty() ? BadCommand() : m_thrown);
            TokenizeRest();
        }
    }

    void CheckIf() {
        if (!ReadIfOperand()) Fail(BadAttributes());
        const char comparison = ReadChar(m_pos);
        if (!ReadIfOperand()) Fail(BadAttributes());
        if (comparison != '<' && comparison != '=' && comparison != '>')
            Fail(MessageText(EMessage::BadComparison, {LineText()}));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckGoto() {
        const std::string name = ReadWord(m_pos);
        const bool bExists = m_names.MarkLine(name) != 0;
        WordToken(name, bExists ? EProgramRole::Mark : EProgramRole::UnknownName);
        if (!bExists) Fail(MessageText(EMessage::BadMark, {LineText()}));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckMark() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::Mark);
        if (m_names.MarkLine(name) != m_nLine) Fail(MessageText(EMessage::MarkRedefinition, {name}));
        if (HasMoreText(m_pos)) {
            Fail(BadAttributes());
            TokenizeRest();
        }
    }

    void CheckGraphic() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::KnownName);
        if (m_names.Diagram(name)) Fail(MessageText(EMessage::Redefinition, {name}));
        for (;;) {
            const std::string key = ReadWord(m_pos);
            if (key.empty()) return IgnoredRest();
            if (!IsAttribute(key)) {
                WordToken(key, EProgramRole::UnknownName);
                Fail(MessageText(EMessage::UnknownAttribute, {key, m_word, LineText()}));
                return TokenizeRest();
            }
            WordToken(key, EProgramRole::Command);
            if (!ReadAttributeValue(key)) return TokenizeRest();
        }
    }

    // False after a refusal.
    bool ReadAttributeValue(const std::string& key) {
        const std::string badArg = MessageText(EMessage::BadAttributeValue, {key, m_word, LineText()});
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
        if (m_names.Diagram(name) || !m_names.IsGraphic(name)) Fail(MessageText(EMessage::Undefined, {name}));
        for (int i = 0; i < 2; ++i) {
            if (!ReadOperand(false) || !m_thrown.empty()) {
                Fail(BadCommand());
                return TokenizeRest();
            }
        }
        IgnoredRest();
    }

    // A number, or else a symbol operand; false when neither can be there.
    bool ReadIfOperand() { return ReadOperand(true); }

    // An operand of "if" or "plot"; false when none can be there. A refusal
    // raised inside it is already noted.
    bool ReadOperand(bool bNumber) {
        m_thrown.clear();
        const EOperand operand = CExpressionGrammar(*this, m_stacks).Operand(m_pos, bNumber);
        if (!m_thrown.empty()) {
            Fail(m_thrown);
            return true;
        }
        return operand == EOperand::Value || operand == EOperand::Maybe || m_bUncertain;
    }

public:
    // The checking use of the expression grammar: an operand is present,
    // absent or maybe present; m_thrown receives the message of a certain
    // refusal inside the expression.
    bool Number(const char*& cursor) { return ReadNumberToken(cursor); }

    // One symbol operand as the operand reader takes it: a name, and for
    // an element that is a table or a switch its argument in parentheses.
    EOperand Symbol(std::string name, const char*& cursor, bool bInCall) {
        NameToken(name);
        const CDiagramName* pDiagram = m_names.Diagram(name);
        if (!pDiagram && !m_names.IsKnown(name)) return EOperand::Absent;
        // A declared name that is also a function is a call only until the
        // declaration has run.
        if (!pDiagram && FindFunction(name) && cursor[SkipSpaces(cursor)] == '(') Uncertain();
        struct CCall {
            std::string name;
            CDiagramName kind;
        };
        std::vector<CCall> pending;
        EOperand value = EOperand::None;
        for (;;) {
            if (pDiagram && (pDiagram->nKind == SK_TABLE || pDiagram->nKind == SK_SWITCH)) {
                if (ReadChar(cursor) != '(') return Thrown(MissingParameter(pDiagram->nKind, name));
                pending.push_back({std::move(name), *pDiagram});
                name = ReadWord(cursor, bInCall);
                NameToken(name);
                pDiagram = m_names.Diagram(name);
                continue;
            }
            if (pDiagram)
                value = pDiagram->nKind == SK_NUMBER ? EOperand::Value : EOperand::None;
            else
                value = m_names.IsVar(name) ? EOperand::Maybe : EOperand::None;
            break;
        }
        while (!pending.empty()) {
            const CCall call = std::move(pending.back());
            pending.pop_back();
            if (value == EOperand::None || ReadChar(cursor) != ')')
                return Thrown(MissingParameter(call.kind.nKind, call.name));
            if (call.kind.nKind == SK_SWITCH) {
                value = EOperand::Value;
                continue;
            }
            if (!call.kind.bHasData) return Thrown(MessageText(EMessage::TableNotInitialized, {call.name}));
            value = EOperand::Maybe;  // a range with a gap gives no value there
        }
        return value;
    }
    bool Arithmetic(char) { return true; }
    bool Call(const CFunction&, size_t) { return true; }
    bool BadCount(const CFunction& function) {
        Thrown(MessageText(EMessage::BadArgumentCount, {function.pszName, LineText()}));
        return false;
    }
    // The name just read opens a call.
    void CallName() { m_tokens.back().role = EProgramRole::Function; }
    void Uncertain() { m_bUncertain = true; }

private:
    EOperand Thrown(const std::string& message) {
        m_thrown = message;
        return EOperand::Fails;
    }

    static std::string MissingParameter(int32_t nKind, const std::string& name) {
        return MessageText(EMessage::MissingParameter, {nKind == SK_SWITCH ? "switch" : "table", name});
    }

    const char* m_pBase;
    const char* m_pos;
    int64_t m_nLine;
    const CProgramNames& m_names;
    std::string m_word;
    std::vector<CProgramToken> m_tokens;
    std::string m_error;
    std::string m_thrown;
    bool m_bUncertain = false;
    CGrammarStacks m_stacks;
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
    const size_t prefix = std::char_traits<char>::length(kInterpretationPrefix);
    return text.compare(0, prefix, kInterpretationPrefix) == 0 ? text.substr(prefix) : text;
}
