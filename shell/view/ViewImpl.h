// The drawing view's private state, shared by its source files: the backing
// image of the client area, the dialog host, the undo history and the move
// being dragged.
#pragma once
#include <QImage>
#include <QUndoStack>
#include <memory>

#include "diagram/DialogHost.h"
#include "diagram/TrackingState.h"
#include "document/MoveSession.h"
#include "shell/view/VarnelView.h"

// Without a host the view opens no dialogs: an edit is a cancelled one.
class CNoDialogs : public CDialogHost {
public:
    bool RunElementDialog(CElementDialogState&) override { return false; }
    void ShowMessage(const std::string&) override {}
};

struct CVarnelView::Impl {
    QImage image;
    bool bStale = true;
    bool bPainting = false;  // a painter holds the image; repaint after it
    CDialogHost* pDialogHost = nullptr;
    CNoDialogs noDialogs;
    QUndoStack undoStack;
    std::unique_ptr<CMoveSession> pDrag;  // while a press drags an object
    CPoint dragOrigin;                    // the sheet point pressed
    // An object's dialog is open: the history must not move under it, or
    // the object being edited could leave the diagram meanwhile.
    bool bEditing = false;
    // How far the pending object is placed.
    CTrackingState tracking;
    // The label font cell lent to each model shown: New and Open keep it.
    CFontCell fontCell;
    // The client point of the last press in drawing mode, and whether it
    // put down a two-click object's first point: its release, dragged far
    // enough, is then the second click.
    CPoint pressPoint;
    bool bReleasePlaces = false;
};
