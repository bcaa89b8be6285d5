// The build-graphs command of the desktop shell: runs the model program
// over the diagram and shows the series in the modal graphs window, with a
// progress window that can stop a long run. A failure on a program line
// offers to show that line in the program editor.
#pragma once
#include <cstdint>
#include <string>

#include "graphs/PreviousRun.h"

class CVarnelDoc;
class QWidget;

enum class BuildGraphsShown { Graphs, Error, Stopped, ShowLine };

// The line a failed run pointed at, with the run's message.
struct CShowLineRequest {
    int64_t nLine = 0;
    std::string strMessage;
};

// What the command keeps from one run to the next while the application
// runs: the run last shown, and a line the program editor is to open on.
struct CGraphsSession {
    CPreviousRun previousRun;
    CShowLineRequest pendingLine;
};

// With pPrevious the graphs window draws that run faded behind this one,
// which then takes its place. With pShowLine the error box of a failure on
// a line has a button to show it; choosing it fills pShowLine and returns
// ShowLine.
BuildGraphsShown RunBuildGraphsCommand(QWidget* pParent, const CVarnelDoc& doc, CPreviousRun* pPrevious = nullptr,
                                       CShowLineRequest* pShowLine = nullptr);

// How long a run goes before the progress window appears.
inline constexpr int kProgressDelayMs = 500;
