// Printing a model without dialogs, for the print switches of the command
// line: the sheet as the view draws it, on one page.
#pragma once
#include <QString>

class CVarnelDoc;

// An empty printer name means the default printer. Returns an empty string
// or the report to show.
QString PrintModel(CVarnelDoc& doc, const QString& strTitle, const QString& strPrinterName);
