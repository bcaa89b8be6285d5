// The language's message texts. Line numbers reach them as text, already
// written as the messages write them (LineNumberText).
#include "base/Messages.h"

#include <iterator>

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
    {EMessage::FileInternalData, "file-internal-data", "Internal data error.", false},
    {EMessage::FileDamaged, "file-damaged",
     "Не удается открыть «{file}»: файл поврежден или не является моделью Varnel.\n{reason}", false},
    {EMessage::FileNotAModel, "file-not-a-model", "Не удается открыть «{file}»: файл не является моделью Varnel.",
     false},
    {EMessage::FileCannotOpen, "file-cannot-open", "Не удается открыть файл «{file}».", false},
    {EMessage::FileCannotOpenBecause, "file-cannot-open-because", "Не удается открыть файл «{file}»:\n{reason}", false},
    {EMessage::FileCannotRead, "file-cannot-read", "Не удается прочитать файл «{file}»:\n{reason}", false},
    {EMessage::FileCannotSave, "file-cannot-save",
     "Не удается сохранить модель в файл «{file}»:\n{reason}\nФайл не изменен.", false},
    {EMessage::SaveChanges, "save-changes", "Сохранить изменения в «{file}»?", false},
    {EMessage::CopyCannotWrite, "copy-cannot-write", "Не удается записать копию для восстановления «{file}»: {reason}",
     false},
    {EMessage::CopyDamaged, "copy-damaged",
     "Копию несохраненной модели не удается прочитать: она повреждена. Копия перенесена сюда и не удалена:\n{file}",
     false},
    {EMessage::ModelChangedSinceCopy, "model-changed-since-copy",
     "Файл модели «{file}» изменен после того, как была записана копия несохраненных изменений.\n"
     "Восстановить копию? Файл останется как есть, пока модель не будет сохранена.",
     false},
    {EMessage::ModelOpenElsewhere, "model-open-elsewhere",
     "Модель открыта в другом окне…\n{file}\n\n"
     "Только для чтения: модель можно запускать и сохранить под другим именем.\n"
     "Открыть все равно: сохранение в одном окне заменит изменения, сохраненные в другом.",
     false},
    {EMessage::ModelOpenElsewhereNotSaved, "model-open-elsewhere-not-saved",
     "Модель открыта в другом окне…\n{file}\n\nМодель не сохранена: сохраните ее под другим именем.", false},
    {EMessage::NoDefaultPrinter, "no-default-printer", "Принтер по умолчанию не найден.", false},
    {EMessage::PrinterNotFound, "printer-not-found", "Принтер «{name}» не найден.", false},
    {EMessage::CannotStartPrinting, "cannot-start-printing", "Не удается начать печать на «{name}».", false},
    {EMessage::UnknownArgument, "unknown-argument", "Неизвестный параметр командной строки: {word}", false},
    {EMessage::ImportCannotOpen, "import-cannot-open", "Не удается открыть «{file}»: {reason}", false},
    {EMessage::ImportRefused, "import-refused", "Модель «{file}» не может быть импортирована:", false},
    {EMessage::ImportRounded, "import-rounded", "При импорте округлено до целого числа шагов:", false},
    {EMessage::GraphsStopped, "graphs-stopped", "Построение графиков прервано", false},
    {EMessage::StepBoundReached, "step-bound-reached",
     "Расчёт остановлен: выполнено больше {n} операторов (предел шагов).", false},
    {EMessage::NotInDiagram, "not-in-diagram", "В диаграмме нет «{name}».", false},
    {EMessage::GoneFromDiagram, "gone-from-diagram", "Нет больше в диаграмме (удалены или переименованы): {name}",
     false},
    {EMessage::ValuesNotWritten, "values-not-written", "Значения не записаны: {reason}", false},
    {EMessage::PictureNotSaved, "picture-not-saved", "Не удалось сохранить рисунок в «{file}»: {reason}", false},
    {EMessage::DataNotSaved, "data-not-saved", "Не удалось сохранить данные в «{file}»: {reason}", false},
    {EMessage::BoxNotANumber, "box-not-a-number", "В поле «{box}» должно быть число, например 1,5 или -2e3.", false},
    {EMessage::BoxNotAWholeNumber, "box-not-a-whole-number", "В поле «{box}» должно быть целое число от 0 до {n}.",
     false},
    {EMessage::CliNotACommand, "cli-not-a-command", "varnel: '{word}' is neither a command nor a model file", false},
    {EMessage::CliNeedsDesktop, "cli-needs-desktop", "varnel: '{word}' needs the desktop build (VARNEL_GUI=ON)", false},
};

static_assert(std::size(kTexts) == static_cast<size_t>(EMessage::CliNeedsDesktop) + 1, "a message without a text");

}  // namespace

std::span<const CMessageText> MessageTexts() { return kTexts; }

std::string MessageText(EMessage id, std::span<const std::string_view> args) {
    const CMessageText& entry = kTexts[static_cast<size_t>(id)];
    std::string text = entry.bInterpretation ? kInterpretationPrefix : "";
    auto arg = args.begin();
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
