// The build-graphs command of the desktop shell: runs the model program
// over the diagram and shows the series in the modal graphs window, with a
// progress window that can stop a long run.
#pragma once

class CVarnelDoc;
class QWidget;

enum class BuildGraphsShown { Graphs, Error, Stopped };

BuildGraphsShown RunBuildGraphsCommand(QWidget* pParent, const CVarnelDoc& doc);

// How long a run goes before the progress window appears.
inline constexpr int kProgressDelayMs = 500;
