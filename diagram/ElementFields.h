// The name, description and value that levels, rates, variables and expert
// estimates share: their record and their parameter dialog.
#pragma once
#include <cstdint>
#include <string>

class CArchive;
class CDialogHost;

// Name and description strings, then the value as a double.
void SerializeElementFields(CArchive& ar, std::string& name, std::string& description, double& value);

// Opens the parameter dialog with the value shown in full and, on OK, takes
// back name, description and the number read from the values box.
// Returns EDIT_CHANGED when the user changed a box, else EDIT_UNCHANGED.
int EditElementFields(CDialogHost& host, uint32_t flags, std::string& name, std::string& description,
                      double& value);
