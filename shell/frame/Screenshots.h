// A hidden aid for the documentation: with VARNEL_SCREENSHOT_DIR set, the
// application grabs its main window, a move in progress, its help window and
// then its graphs window into that folder as main-window.png,
// editing-move.png, help-window.png and graphs-window.png, and quits.
#pragma once

class CMainFrame;

void ScheduleScreenshotsIfAsked(CMainFrame& frame);
