// Code page 1251 <-> QString through the interpreter's conversion tables.
#include "shell/view/QtText.h"

#include <string_view>
#include <vector>

#include "base/Cp1251.h"

QString FromCp1251(const std::string& bytes) {
    return QString::fromStdString(Cp1251ToUtf8(bytes));
}

std::string ToCp1251(const QString& text) {
    return Utf8ToCp1251Lossy(text.toStdString());
}

QString Message(EMessage id, std::initializer_list<QString> args) {
    std::vector<std::string> texts;
    for (const QString& arg : args) texts.push_back(arg.toStdString());
    std::vector<std::string_view> views(texts.begin(), texts.end());
    return QString::fromStdString(MessageText(id, views));
}
