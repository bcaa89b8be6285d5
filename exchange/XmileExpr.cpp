// A recursive-descent reader of XMILE equations. Precedence from loosest:
// OR, AND, NOT, comparisons, + -, * / MOD, unary signs, ^ (to the right).
// Depth is bounded so that a hostile equation cannot exhaust the stack.
#include "exchange/XmileExpr.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "exchange/XmileModel.h"

namespace {

constexpr int kMaxNesting = 200;

struct CToken {
    enum EKind { End, Number, Name, Op } kind = End;
    std::string text;
    double dValue = 0;
};

class CParser {
public:
    explicit CParser(std::string_view text) : m_text(text) { Next(); }
    bool Parse(XExpr& expr, std::string& error);

private:
    std::string_view m_text;
    size_t m_pos = 0;
    CToken m_token;
    std::string m_error;
    int m_depth = 0;

    void Next();
    bool Fail(const std::string& why) {
        if (m_error.empty()) m_error = why;
        return false;
    }
    bool IsWord(const char* word) const;
    bool IsOp(const char* op) const { return m_token.kind == CToken::Op && m_token.text == op; }
    bool Or(XExpr& e);
    bool And(XExpr& e);
    bool Not(XExpr& e);
    bool Compare(XExpr& e);
    bool Sum(XExpr& e);
    bool Product(XExpr& e);
    bool Sign(XExpr& e);
    bool Power(XExpr& e);
    bool Primary(XExpr& e);
    bool Arguments(XExpr& call);
    static XExpr Binary(std::string op, XExpr a, XExpr b) {
        XExpr e;
        e.kind = XExpr::Binary;
        e.strText = std::move(op);
        e.args.push_back(std::move(a));
        e.args.push_back(std::move(b));
        return e;
    }
};

bool IsNameByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || c == '.' || u >= 0x80;
}

void CParser::Next() {
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos];
        if (c == '{') {
            const size_t close = m_text.find('}', m_pos);
            m_pos = close == std::string_view::npos ? m_text.size() : close + 1;
        } else if (std::strchr(" \t\r\n", c)) {
            ++m_pos;
        } else {
            break;
        }
    }
    m_token = CToken();
    if (m_pos >= m_text.size()) return;
    const char c = m_text[m_pos];
    const size_t start = m_pos;
    if (std::isdigit(static_cast<unsigned char>(c)) || (c == '.' && m_pos + 1 < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos + 1])))) {
        while (m_pos < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '.')) ++m_pos;
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            size_t at = m_pos + 1;
            if (at < m_text.size() && (m_text[at] == '+' || m_text[at] == '-')) ++at;
            if (at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[at]))) {
                m_pos = at;
                while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) ++m_pos;
            }
        }
        m_token.kind = CToken::Number;
        m_token.text = std::string(m_text.substr(start, m_pos - start));
        const auto [end, ec] = std::from_chars(m_token.text.data(), m_token.text.data() + m_token.text.size(), m_token.dValue);
        if (ec != std::errc() || end != m_token.text.data() + m_token.text.size()) {
            if (ec != std::errc::result_out_of_range) Fail("bad number '" + m_token.text + "'");
            else m_token.dValue = HUGE_VAL;
        }
        return;
    }
    if (c == '"') {
        const size_t close = m_text.find('"', m_pos + 1);
        if (close == std::string_view::npos) {
            Fail("a quoted name is not closed");
            m_pos = m_text.size();
            return;
        }
        m_token.kind = CToken::Name;
        m_token.text = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
        m_pos = close + 1;
        return;
    }
    if (IsNameByte(c)) {
        while (m_pos < m_text.size() && IsNameByte(m_text[m_pos])) ++m_pos;
        m_token.kind = CToken::Name;
        m_token.text = std::string(m_text.substr(start, m_pos - start));
        return;
    }
    static const char* const twoChar[] = {"<=", ">=", "<>"};
    for (const char* op : twoChar)
        if (m_text.substr(m_pos, 2) == op) {
            m_token.kind = CToken::Op;
            m_token.text = op;
            m_pos += 2;
            return;
        }
    m_token.kind = CToken::Op;
    m_token.text = std::string(1, c);
    ++m_pos;
}

bool CParser::IsWord(const char* word) const {
    if (m_token.kind != CToken::Name || m_token.text.size() != std::strlen(word)) return false;
    for (size_t i = 0; i < m_token.text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(m_token.text[i])) != word[i]) return false;
    return true;
}

bool CParser::Parse(XExpr& expr, std::string& error) {
    const bool ok = Or(expr) && (m_token.kind == CToken::End || Fail("unexpected '" + m_token.text + "'"));
    if (!ok) error = m_error.empty() ? "malformed equation" : m_error;
    return ok && m_error.empty();
}

bool CParser::Or(XExpr& e) {
    if (++m_depth > kMaxNesting) return Fail("the equation nests too deeply");
    if (!And(e)) return false;
    while (IsWord("OR") || IsOp("|")) {
        Next();
        XExpr b;
        if (!And(b)) return false;
        e = Binary("OR", std::move(e), std::move(b));
    }
    --m_depth;
    return true;
}

bool CParser::And(XExpr& e) {
    if (!Not(e)) return false;
    while (IsWord("AND") || IsOp("&")) {
        Next();
        XExpr b;
        if (!Not(b)) return false;
        e = Binary("AND", std::move(e), std::move(b));
    }
    return true;
}

bool CParser::Not(XExpr& e) {
    if (IsWord("NOT") || IsOp("!")) {
        Next();
        if (++m_depth > kMaxNesting) return Fail("the equation nests too deeply");
        XExpr a;
        if (!Not(a)) return false;
        --m_depth;
        e = XExpr();
        e.kind = XExpr::Unary;
        e.strText = "NOT";
        e.args.push_back(std::move(a));
        return true;
    }
    return Compare(e);
}

bool CParser::Compare(XExpr& e) {
    if (!Sum(e)) return false;
    while (IsOp("=") || IsOp("<>") || IsOp("<") || IsOp("<=") || IsOp(">") || IsOp(">=")) {
        const std::string op = m_token.text;
        Next();
        XExpr b;
        if (!Sum(b)) return false;
        e = Binary(op, std::move(e), std::move(b));
    }
    return true;
}

bool CParser::Sum(XExpr& e) {
    if (!Product(e)) return false;
    while (IsOp("+") || IsOp("-")) {
        const std::string op = m_token.text;
        Next();
        XExpr b;
        if (!Product(b)) return false;
        e = Binary(op, std::move(e), std::move(b));
    }
    return true;
}

bool CParser::Product(XExpr& e) {
    if (!Sign(e)) return false;
    while (IsOp("*") || IsOp("/") || IsWord("MOD")) {
        const std::string op = m_token.kind == CToken::Op ? m_token.text : "MOD";
        Next();
        XExpr b;
        if (!Sign(b)) return false;
        e = Binary(op, std::move(e), std::move(b));
    }
    return true;
}

bool CParser::Sign(XExpr& e) {
    if (IsOp("-") || IsOp("+")) {
        const std::string op = m_token.text;
        Next();
        if (++m_depth > kMaxNesting) return Fail("the equation nests too deeply");
        XExpr a;
        if (!Sign(a)) return false;
        --m_depth;
        if (op == "+") {
            e = std::move(a);
        } else {
            e = XExpr();
            e.kind = XExpr::Unary;
            e.strText = "-";
            e.args.push_back(std::move(a));
        }
        return true;
    }
    return Power(e);
}

bool CParser::Power(XExpr& e) {
    if (!Primary(e)) return false;
    if (IsOp("^")) {
        Next();
        if (++m_depth > kMaxNesting) return Fail("the equation nests too deeply");
        XExpr b;
        if (!Sign(b)) return false;  // 2^-1 is allowed; ^ groups to the right
        --m_depth;
        e = Binary("^", std::move(e), std::move(b));
    }
    return true;
}

bool CParser::Arguments(XExpr& call) {
    Next();  // the '('
    if (IsOp(")")) {
        Next();
        return true;
    }
    for (;;) {
        XExpr arg;
        if (!Or(arg)) return false;
        call.args.push_back(std::move(arg));
        if (IsOp(",")) {
            Next();
            continue;
        }
        if (!IsOp(")")) return Fail("a function call is not closed");
        Next();
        return true;
    }
}

bool CParser::Primary(XExpr& e) {
    e = XExpr();
    if (m_token.kind == CToken::Number) {
        e.kind = XExpr::Number;
        e.dValue = m_token.dValue;
        Next();
        return true;
    }
    if (IsOp("(")) {
        Next();
        if (!Or(e)) return false;
        if (!IsOp(")")) return Fail("a parenthesis is not closed");
        Next();
        return true;
    }
    if (IsWord("IF")) {
        Next();
        e.kind = XExpr::If;
        e.args.resize(3);
        if (!Or(e.args[0])) return false;
        if (!IsWord("THEN")) return Fail("IF without THEN");
        Next();
        if (!Or(e.args[1])) return false;
        if (!IsWord("ELSE")) return Fail("IF without ELSE");
        Next();
        return Or(e.args[2]);
    }
    if (m_token.kind == CToken::Name) {
        const std::string name = m_token.text;
        const bool quoted = m_pos > 0 && m_text[m_pos - 1] == '"';
        Next();
        if (IsOp("[")) return Fail("subscript");
        if (IsOp("(") && !quoted) {
            e.kind = XExpr::Call;
            for (char c : name) e.strText += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            e.args.reserve(4);
            if (++m_depth > kMaxNesting) return Fail("the equation nests too deeply");
            const bool ok = Arguments(e);
            --m_depth;
            return ok;
        }
        e.kind = XExpr::Name;
        e.strText = XmileKey(name);
        return true;
    }
    if (m_token.kind == CToken::End) return Fail("the equation ends too early");
    return Fail("unexpected '" + m_token.text + "'");
}

}  // namespace

bool ParseXmileExpr(std::string_view text, XExpr& expr, std::string& error) {
    return CParser(text).Parse(expr, error);
}
