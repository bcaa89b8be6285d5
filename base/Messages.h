// Every message of the model language in one table: what the run throws and
// what the check reports share one text. A text's {placeholders} are filled
// in order by the arguments given; "Interpretation error:\n" goes before
// every message but the diagram import's own.
#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class EMessage {
    OpenQuote, CloseQuote, MissingParameter, TableNotInitialized, UnknownCommand, Redefinition, Undefined,
    BadCommand, BadAttributes, BadComparison, BadMark, MarkRedefinition, BadAttributeValue, UnknownAttribute,
    BadArgumentCount, ImportRedefinition,
};

struct CMessageText {
    EMessage id;
    const char* pszKey;
    const char* pszText;
    bool bInterpretation;  // starts with the interpreter's prefix
};

std::span<const CMessageText> MessageTexts();

// The full text of a message, placeholders filled.
std::string MessageText(EMessage id, std::initializer_list<std::string_view> args = {});

extern const char* const kInterpretationPrefix;
