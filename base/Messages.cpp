// The language's message texts. Line numbers reach them as text, already
// written as the messages write them (LineNumberText).
#include "interpreter/Messages.h"

const char* const kInterpretationPrefix = "Interpretation error:\n";

namespace {

const CMessageText kTexts[] = {
    {EMessage::OpenQuote, "open-quote", "Open \" not found.", true},
    {EMessage::CloseQuote, "close-quote", "Close \" not found.", true},
    {EMessage::MissingParameter, "missing-parameter", "Missing parameter in {kind} variable '{name}'.", true},
    {EMessage::TableNotInitialized, "table-not-initialized", "Table '{name}' not initialized.", true},
    {EMessage::UnknownCommand, "unknown-command", "Unknown command '{word}' (col: {line}).", true},
    {EMessage::Redefinition, "redefinition", "Variable {name} redefinition.", true},
    {EMessage::Undefined, "undefined", "Variable {name} undefined.", true},
    {EMessage::BadCommand, "bad-command", "Bad '{word}' command ({line}).", true},
    {EMessage::BadAttributes, "bad-attributes", "Bad '{word}' command attributes ({line}).", true},
    {EMessage::BadComparison, "bad-comparison", "Bad comparision symbol in 'if' statement ({line}).", true},
    {EMessage::BadMark, "bad-mark", "Bad mark name in goto command({line}).", true},
    {EMessage::MarkRedefinition, "mark-redefinition", "Mark {name} redefinition.", true},
    {EMessage::BadAttributeValue, "bad-attribute-value", "Bad {key} arg in command '{word}' line ({line}).", true},
    {EMessage::UnknownAttribute, "unknown-attribute", "Unknown attribute '{key}' in command '{word}' line ({line}).",
     true},
    {EMessage::BadArgumentCount, "bad-argument-count", "Bad number of arguments in function '{name}' ({line}).", true},
    {EMessage::ImportRedefinition, "import-redefinition", "Import drawing variables:\nVariable {name} redefinition.",
     false},
};

}  // namespace

std::span<const CMessageText> MessageTexts() { return kTexts; }

std::string MessageText(EMessage id, std::initializer_list<std::string_view> args) {
    const CMessageText& entry = kTexts[static_cast<size_t>(id)];
    std::string text = entry.bInterpretation ? kInterpretationPrefix : "";
    const auto* arg = args.begin();
    for (const char* p = entry.pszText; *p != '\0'; ++p) {
        if (*p == '{' && arg != args.end()) {
            while (*p != '}') ++p;
            text += *arg++;
        } else {
            text += *p;
        }
    }
    return text;
}
