// Reading and writing model files for the desktop shell, with the reports
// a user sees when either fails.
#pragma once
#include <QString>

class CVarnelDoc;

// Loads into doc; returns an empty string or the report to show. On
// failure doc holds the defaults of a new model and nothing else changes.
QString LoadModelFile(const QString& path, CVarnelDoc& doc);
// Writes through a temporary file renamed over the target, so a failure
// leaves the existing file as it was. Returns an empty string or a report.
QString SaveModelFile(const QString& path, CVarnelDoc& doc);
