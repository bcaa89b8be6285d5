// Conversion of the model's code page 1251 texts at the Qt boundary: the
// core keeps every text as the file stores it, widgets want Unicode.
#pragma once
#include <QString>
#include <initializer_list>
#include <string>

#include "base/Messages.h"

QString FromCp1251(const std::string& bytes);
// Characters that code page 1251 cannot hold become '?'.
std::string ToCp1251(const QString& text);
// A message of the product's one table, its placeholders filled in order.
QString Message(EMessage id, std::initializer_list<QString> args = {});
