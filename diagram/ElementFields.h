// The name, description and value that levels, rates, variables and expert
// estimates share: their record, their parameter dialog, their symbol and
// their label.
#pragma once
#include <cstdint>
#include <string>

#include "diagram/DrawContext.h"
#include "diagram/FontCell.h"
#include "diagram/SymbolRec.h"

class CArchive;
class CDialogHost;

// Name and description strings, then the value as a double.
void SerializeElementFields(CArchive& ar, std::string& name, std::string& description, double& value);

// Opens the parameter dialog with the value shown in full and, on OK, takes
// back name, description and the number read from the values box.
// Returns EDIT_CHANGED when the user changed a box, else EDIT_UNCHANGED.
int EditElementFields(CDialogHost& host, uint32_t flags, std::string& name, std::string& description,
                      double& value);

// Fills pRec (when given) as a number symbol of `value` and returns the name.
std::string NumberSymbol(SymbolRec* pRec, const std::string& name, double value);

// The label in the box of corners p0 and p1 shrunk by `inset` on every side,
// in the cell's label font, blue when highlighted.
void DrawElementLabel(CDrawContext& dc, const CFontCell& cell, const std::string& text, CPoint p0, CPoint p1,
                      CPoint inset, uint32_t format, bool bHighlight, bool bUnderline = false);
