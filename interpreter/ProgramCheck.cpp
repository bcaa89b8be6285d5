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
#include "interpreter/LineGrammar.h"

namespace {

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
        if (!m_word.empty() && m_word != "'")
            WordToken(m_word, IsCommand(m_word) ? EProgramRole::Command : EProgramRole::UnknownName);
        // After a refusal the run reads no further; the rest is coloured by
        // its look alone.
        if (!CLineGrammar(*this, m_pos, m_word).Statement()) TokenizeRest();
        return Result();
    }

private:
    CLineCheck Result() {
        CLineCheck result;
        result.tokens = std::move(m_tokens);
        result.strError = std::move(m_error);
        return result;
    }

    // The run stops at its first refusal: keep only that one. Once the
    // reading depends on values, runs may refuse in different ways.
    void Note(const std::string& message) {
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

public:
    // The checking use of the line grammar. A refusal is noted and stops
    // the reading; where the run could go on (a name declared further on),
    // the reading goes on too.
    std::string LineText() const { return LineNumberText(m_nLine); }
    bool Fail(EMessage id, std::initializer_list<std::string_view> args) {
        Note(MessageText(id, args));
        return false;
    }
    bool Nothing(const std::string& word) {
        if (word.empty())
            IgnoredRest();  // a blank line, or one that starts with a delimiter
        else
            Token(m_pos - 1, m_pos + std::char_traits<char>::length(m_pos), EProgramRole::Comment);
        return true;
    }

    bool Mark() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::Mark);
        if (m_names.MarkLine(name) != m_nLine) Fail(EMessage::MarkRedefinition, {name});
        return !HasMoreText(m_pos) || Fail(EMessage::BadAttributes, {m_word, LineText()});
    }

    // An element's name is taken before any line runs and never freed.
    bool Var() {
        const std::string name = ReadWord(m_pos);
        WordToken(name, EProgramRole::KnownName);
        if (m_names.Diagram(name)) Fail(EMessage::Redefinition, {name});
        IgnoredRest();
        return true;
    }

    bool Target(const std::string& name) {
        NameToken(name);
        const CDiagramName* pDiagram = m_names.Diagram(name);
        const bool bNumber = pDiagram ? pDiagram->nKind == SK_NUMBER : m_names.IsVar(name);
        if (!bNumber) Fail(EMessage::Undefined, {name});
        return true;
    }
    bool Expression(const char*& pos) {
        m_thrown.clear();
        if (CExpressionGrammar(*this, m_stacks).Expression(pos)) return true;
        if (!m_thrown.empty()) Note(m_thrown);
        return false;
    }
    bool Assign() { return true; }

    // An operand of "if" or "plot"; false when none can be there.
    bool Operand(const char*& pos, bool bNumber, int) {
        m_thrown.clear();
        const EOperand operand = CExpressionGrammar(*this, m_stacks).Operand(pos, bNumber);
        if (!m_thrown.empty()) {
            Note(m_thrown);
            return false;
        }
        return operand == EOperand::Value || operand == EOperand::Maybe || m_bUncertain;
    }
    bool If(char) { return true; }

    bool Jump(const std::string& name) {
        const bool bExists = m_names.MarkLine(name) != 0;
        WordToken(name, bExists ? EProgramRole::Mark : EProgramRole::UnknownName);
        return bExists;
    }
    bool Goto() { return true; }

    bool Series(const std::string& name) {
        NameToken(name);
        if (m_names.Diagram(name) || !m_names.IsGraphic(name)) Fail(EMessage::Undefined, {name});
        return true;
    }
    bool Plot() {
        IgnoredRest();
        return true;
    }

    bool NewSeries(const std::string& name) {
        WordToken(name, EProgramRole::KnownName);
        if (m_names.Diagram(name)) Fail(EMessage::Redefinition, {name});
        return true;
    }
    void Key(const std::string& key, bool bAttribute) {
        WordToken(key, bAttribute ? EProgramRole::Command : EProgramRole::UnknownName);
    }
    bool AttributeNumber(const char*& pos, const std::string&) { return ReadNumberToken(pos); }
    bool Caption(const char*& pos) {
        pos += SkipSpaces(pos);
        const char* start = pos;
        try {
            ReadQuoted(pos);
        } catch (const CInterpreterError& error) {
            Note(error.Message());
            return false;
        }
        Token(start, pos, EProgramRole::Quoted);
        return true;
    }
    bool Declare() {
        IgnoredRest();
        return true;
    }

private:
public:
    // The checking use of the expression grammar: an operand is present,
    // absent or maybe present; m_thrown receives the message of a certain
    // refusal inside the expression.
    bool Number(const char*& cursor) { return ReadNumberToken(cursor); }

    // The diagram's names are certain; a declared name may not exist yet.
    using Symbol = const CDiagramName*;
    ESymbol Find(const std::string& name, const char* cursor, Symbol& pDiagram) {
        NameToken(name);
        pDiagram = m_names.Diagram(name);
        if (pDiagram) return SymbolOfKind(pDiagram->nKind);
        if (!m_names.IsKnown(name)) return ESymbol::Absent;
        // A declared name that is also a function is a call only until the
        // declaration has run.
        if (FindFunction(name) && cursor[SkipSpaces(cursor)] == '(') Uncertain();
        return m_names.IsVar(name) ? ESymbol::Maybe : ESymbol::NoValue;
    }
    EOperand Leaf(Symbol) { return EOperand::Value; }
    EOperand Apply(const std::string& name, Symbol pDiagram, EOperand) {
        if (pDiagram->nKind == SK_SWITCH) return EOperand::Value;
        if (!pDiagram->bHasData) return Thrown(MessageText(EMessage::TableNotInitialized, {name}));
        return EOperand::Maybe;  // a range with a gap gives no value there
    }
    EOperand MissingParameter(const std::string& name, Symbol pDiagram) {
        return Thrown(MessageText(EMessage::MissingParameter, {pDiagram->nKind == SK_SWITCH ? "switch" : "table", name}));
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
