// Conversion of the model's code-page-1251 byte strings to and from Qt's
// Unicode strings, at the boundary between the core and the widgets.
#pragma once
#include <QString>
#include <string>

QString FromCp1251(const std::string& bytes);
// Characters code page 1251 cannot hold become '?'.
std::string ToCp1251(const QString& text);
