// Numeric command ids shared by the menus, the toolbar, the accelerators,
// the string table, the view's tools and the tests. 32771 to 32797 are the
// program's own commands; 57600 and above follow the framework numbering the
// resource files were written with. The diagram knows its tools only by
// ETool; ToolOfCommand is the one place a command id becomes a tool.
#pragma once
#include <optional>

#include "diagram/ToolTable.h"

enum : int {
    ID_ZOOM_IN = 32771,
    ID_ZOOM_OUT = 32772,
    ID_TOOL_LINE = 32773,
    ID_TOOL_TEXT = 32774,
    ID_TOOL_RECTANGLE = 32775,
    ID_TOOL_ELLIPSE = 32776,
    ID_TOOL_EXPERT = 32777,
    ID_TOOL_BSPLINE = 32778,
    ID_TOOL_VARIABLE = 32779,
    ID_TOOL_LEVEL = 32780,
    ID_TOOL_RATE = 32781,
    ID_TOOL_TABLEDATA = 32782,
    ID_TOOL_SOURCES = 32783,
    ID_TOOL_SWITCH = 32784,
    ID_TOOL_ARROW = 32785,
    ID_DATABASE = 32786,
    ID_DELETE_OBJECT = 32787,
    ID_DRAWING_MODE = 32788,
    ID_EDIT_PROGRAM = 32789,
    ID_BUILD_GRAPHS = 32792,
    ID_DOC_SIZE = 32793,
    ID_MODIFY = 32794,
    ID_TOOL_MOVE = 32795,
    ID_EXPERIMENT = 32796,
    ID_FILE_IMPORT = 32797,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,

    // The two menu bars (and the toolbar and accelerators of the first).
    IDR_MAINFRAME = 128,
    IDR_DRAWMENU = 132,

    // Strings that are no commands.
    IDS_DOC_TEMPLATE = 128,
    IDS_MODE_IDLE = 301,  // the status bar's mode pane
    IDS_MODE_DRAW = 302,
    IDS_MODE_MODIFY = 303,
    IDS_MODE_MOVE = 304,
    IDS_APP_TITLE = 57344,
    IDS_IDLE_MESSAGE = 57345,
    IDS_INDICATOR_CAPS = 59137,
    IDS_INDICATOR_NUM = 59138,
    IDS_INDICATOR_SCRL = 59139,
};

// The tool a command places objects with; nothing for any other command.
// The tool commands are numbered in ETool's order.
inline std::optional<ETool> ToolOfCommand(int commandId) {
    if (commandId < ID_TOOL_LINE || commandId > ID_TOOL_ARROW) return std::nullopt;
    return static_cast<ETool>(commandId - ID_TOOL_LINE);
}
