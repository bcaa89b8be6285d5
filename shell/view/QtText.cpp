// Code page 1251 <-> QString through the interpreter's conversion tables.
#include "shell/view/QtText.h"

#include "base/Cp1251.h"

QString FromCp1251(const std::string& bytes) {
    return QString::fromStdString(Cp1251ToUtf8(bytes));
}

std::string ToCp1251(const QString& text) {
    return Utf8ToCp1251Lossy(text.toStdString());
}
