// The "graphic" statement, which declares a plot series with its attribute
// list, and the "plot" statement, which appends one sample to it.
#include <memory>

#include "base/Numbers.h"
#include "graphs/Graphic.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"
#include "interpreter/LineState.h"

namespace {

[[noreturn]] void ThrowBadArg(const std::string& key, const CInterpreter::LineState& s) {
    ThrowMessage(EMessage::BadAttributeValue, {key, s.strWord, LineNumberText(s.nLine)});
}

// "KEY = number"; anything else fails with the key's message.
double ReadRequiredNumber(const std::string& key, CInterpreter::LineState& s) {
    double value = 0.0;
    if (ReadChar(s.pPos) != '=' || !ReadNumber(s.pPos, value)) ThrowBadArg(key, s);
    return value;
}

double* RangeField(CVGraphic& g, const std::string& key) {
    if (key == "loX") return &g.m_dLoX;
    if (key == "hiX") return &g.m_dHiX;
    if (key == "loY") return &g.m_dLoY;
    if (key == "hiY") return &g.m_dHiY;
    return nullptr;
}

// Reads the attribute list up to its first empty word.
void ReadAttributes(CVGraphic& g, CInterpreter::LineState& s) {
    for (;;) {
        const std::string key = ReadWord(s.pPos);
        if (key.empty()) return;
        if (key == "color") {
            g.m_nColor = SaturatingTrunc(ReadRequiredNumber(key, s));
        } else if (double* pField = RangeField(g, key)) {
            *pField = ReadRequiredNumber(key, s);
        } else if (key == "divY") {
            // Without an equals sign the divisor is left alone and the
            // character read is simply consumed.
            if (ReadChar(s.pPos) == '=') {
                double value = 0.0;
                if (!ReadNumber(s.pPos, value)) ThrowBadArg(key, s);
                g.m_dDivY = value;
            }
        } else if (key == "text") {
            if (ReadChar(s.pPos) == '=') g.m_strText = ReadQuoted(s.pPos);
        } else {
            ThrowMessage(EMessage::UnknownAttribute, {key, s.strWord, LineNumberText(s.nLine)});
        }
    }
}

}  // namespace

void CInterpreter::ExecGraphic(LineState& s) {
    const std::string name = ReadWord(s.pPos);
    auto pGraphic = std::make_unique<CVGraphic>();
    if (m_symbols.Find(name)) ThrowMessage(EMessage::Redefinition, {name});
    ReadAttributes(*pGraphic, s);
    SymbolRec rec;
    rec.nKind = SK_GRAPHIC;
    rec.pGraphic = pGraphic.get();
    m_symbols.Set(name, rec);
    // The symbol owns the series only once it is safely in the table.
    pGraphic.release();
}

void CInterpreter::ExecPlot(LineState& s) {
    const std::string name = ReadWord(s.pPos);
    const SymbolRec* pRec = m_symbols.Find(name);
    if (!pRec || pRec->nKind != SK_GRAPHIC) ThrowMessage(EMessage::Undefined, {name});
    CVGraphic* pGraphic = pRec->pGraphic;
    double x = 0.0, y = 0.0;
    if (!ReadOperand(s.pPos, false, x) || !ReadOperand(s.pPos, false, y))
        ThrowMessage(EMessage::BadCommand, {s.strWord, LineNumberText(s.nLine)});
    pGraphic->AddSample(x, y);
}
