// Every message the product shows, in one table, so that each has one text
// and the manual's messages chapter can be held against all of them: the
// model language (what the run throws and what the check reports share one
// text), files, autosave and the model lock, printing, import, the
// experiment window, the dialogs and the command line. Texts are UTF-8 but
// for the language's, which are ASCII. A text's {placeholders} are filled in
// order by the arguments given; "Interpretation error:\n" goes before every
// language message but the diagram import's own.
#pragma once
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class EMessage {
    OpenQuote, CloseQuote, MissingParameter, TableNotInitialized, UnknownCommand, Redefinition, Undefined,
    BadCommand, BadAttributes, BadComparison, BadMark, MarkRedefinition, BadAttributeValue, UnknownAttribute,
    BadArgumentCount, ImportRedefinition,
    // files
    FileInternalData, FileDamaged, FileNotAModel, FileCannotOpen, FileCannotOpenBecause, FileCannotRead, FileCannotSave, SaveChanges,
    // autosave, recovery and the lock on an open model
    CopyCannotWrite, CopyDamaged, ModelChangedSinceCopy, ModelOpenElsewhere, ModelOpenElsewhereNotSaved,
    // printing, the desktop's command line, import
    NoDefaultPrinter, PrinterNotFound, CannotStartPrinting, UnknownArgument, ImportCannotOpen, ImportRefused,
    ImportRounded,
    // runs, graphs and the experiment window
    GraphsStopped, StepBoundReached, NotInDiagram, GoneFromDiagram, ValuesNotWritten, PictureNotSaved,
    DataNotSaved,
    // dialog boxes
    BoxNotANumber, BoxNotAWholeNumber,
    // the command line
    CliNotACommand, CliNeedsDesktop,
};

struct CMessageText {
    EMessage id;
    const char* pszKey;
    const char* pszText;
    bool bInterpretation;  // starts with the interpreter's prefix
};

std::span<const CMessageText> MessageTexts();

// The full text of a message, placeholders filled.
std::string MessageText(EMessage id, std::span<const std::string_view> args);
inline std::string MessageText(EMessage id, std::initializer_list<std::string_view> args = {}) {
    return MessageText(id, std::span(args.begin(), args.size()));
}

extern const char* const kInterpretationPrefix;
