// The view's editing of placed objects: moving them with the move tool,
// with Shift in modify mode and with the arrow keys, deleting them, editing
// them through their dialogs, and the undo history all of it goes to.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "base/Numbers.h"
#include "shell/view/CommandIds.h"
#include "diagram/EntityList.h"
#include "diagram/Moves.h"
#include "document/VarnelDoc.h"
#include "shell/view/DocUndoCommand.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/VarnelView.h"
#include "shell/view/ViewImpl.h"
#include "shell/view/WindowKeys.h"

namespace {

// Names of the steps in the undo history ("Отменить перемещение").
const QString kMoveName = QStringLiteral("перемещение");
const QString kDeleteName = QStringLiteral("удаление");
const QString kEditName = QStringLiteral("изменение параметров");

constexpr int kBigStep = 10;  // an arrow key with Shift

// Raises a flag for the life of the scope.
class CFlagScope {
public:
    explicit CFlagScope(bool& bFlag) : m_bFlag(bFlag) { m_bFlag = true; }
    ~CFlagScope() { m_bFlag = false; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    bool& m_bFlag;
};

}  // namespace

QUndoStack* CVarnelView::UndoStack() const { return &m_pImpl->undoStack; }

bool CVarnelView::IsDragging() const { return m_pImpl->pDrag != nullptr; }

EntityList* CVarnelView::List() const {
    return (m_pDoc != nullptr) ? m_pDoc->m_pEntityList.get() : nullptr;
}

CPoint CVarnelView::SheetPoint(CPoint client) const {
    const CPoint scroll = ScrollPosition();
    return {SaturatingAdd(client.x, scroll.x), SaturatingAdd(client.y, scroll.y)};
}

void CVarnelView::PushChange(std::unique_ptr<CDocChange> pChange, const QString& strName, bool bMergeable) {
    if (m_pDoc == nullptr) return;
    FinishDrag();
    m_pImpl->undoStack.push(new CDocUndoCommand(*m_pDoc, std::move(pChange), strName, bMergeable));
}

void CVarnelView::OnHistoryChanged() {
    // Undoing a sheet size changes the scroll range; anything else, the picture.
    UpdateScrollRange();
    RepaintView();
}

void CVarnelView::OnUndo() {
    if (m_pImpl->bEditing) return;
    FinishDrag();
    m_pImpl->undoStack.undo();
}

void CVarnelView::OnRedo() {
    if (m_pImpl->bEditing) return;
    FinishDrag();
    m_pImpl->undoStack.redo();
}

// ---- edit and delete --------------------------------------------------------

void CVarnelView::EditEntity(CVEntity& entity, bool bDrawingMode) {
    if (m_pDoc == nullptr) return;
    FinishDrag();
    std::unique_ptr<CObjectsChange> pChange;
    try {
        pChange = std::make_unique<CObjectsChange>(*m_pDoc, std::vector<CVEntity*>{&entity});
    } catch (const CFileError&) {
        // An object that cannot be recorded is edited all the same, without undo.
    }
    int result = EDIT_UNCHANGED;
    {
        const CFlagScope editing(m_pImpl->bEditing);
        result = entity.Edit(bDrawingMode, DialogHost());
    }
    bool bRecorded = false;
    try {
        if (pChange) {
            // Values retyped as they were leave the record the same: no step.
            if (pChange->Finish()) PushChange(std::move(pChange), kEditName);
            bRecorded = true;
        }
    } catch (const CFileError&) {
    }
    // What no step holds no undo can take back: the model stays marked
    // until it is saved.
    if (!bRecorded && EditChangedDocument(entity, result)) MarkNotClean();
}

void CVarnelView::DeleteEntityAt(size_t index) {
    EntityList* pList = List();
    if (pList == nullptr || index >= pList->GetCount() || m_pImpl->bEditing) return;
    FinishDrag();
    // The object comes back plain when the deletion is undone.
    pList->GetAt(index)->SetHighlight(false, nullptr, nullptr);
    PushChange(std::make_unique<CRemoveChange>(index), kDeleteName);
}

void CVarnelView::OnDeleteObject() {
    FinishDrag();
    EntityList* pList = List();
    if (pList == nullptr) return;
    if (CVEntity* pObject = HighlightedObject(*pList)) DeleteEntityAt(pList->IndexOf(pObject));
}

// ---- moving -------------------------------------------------------------------

void CVarnelView::OnChooseMoveTool() {
    LeaveTool();
    m_nTool = ID_TOOL_MOVE;
    m_nMode = MODE_MOVE;
    emit ModeChanged();
}

bool CVarnelView::StartsMove(const QMouseEvent* event) const {
    return m_nMode == MODE_MOVE || (m_nMode == MODE_MODIFY && (event->modifiers() & Qt::ShiftModifier));
}

void CVarnelView::BeginDrag(CPoint client) {
    FinishDrag();
    EntityList* pList = List();
    if (pList == nullptr) return;
    const CPoint sheet = SheetPoint(client);
    CVEntity* pObject = HighlightPick(*pList, sheet, nullptr);
    if (pObject == nullptr) return;
    try {
        m_pImpl->pDrag = std::make_unique<CMoveSession>(*m_pDoc, *pObject);
    } catch (const CFileError&) {
        return;  // an object that cannot be recorded for undo stays put
    }
    m_pImpl->dragOrigin = sheet;
    RepaintView();
}

void CVarnelView::ContinueDrag(CPoint client) {
    const CPoint sheet = SheetPoint(client);
    const CPoint offset{SaturatingSub(sheet.x, m_pImpl->dragOrigin.x), SaturatingSub(sheet.y, m_pImpl->dragOrigin.y)};
    if (m_pImpl->pDrag->MoveTo(offset)) RepaintView();
}

void CVarnelView::FinishDrag() {
    if (!m_pImpl->pDrag) return;
    std::unique_ptr<CMoveSession> pDrag = std::move(m_pImpl->pDrag);
    if (std::unique_ptr<CObjectsChange> pChange = pDrag->Finish()) PushChange(std::move(pChange), kMoveName);
}

void CVarnelView::HoverPick(CPoint client) {
    EntityList* pList = List();
    if (pList == nullptr) return;
    EnsureClientImage();
    {
        QPainter painter(&m_pImpl->image);
        const CPoint scroll = ScrollPosition();
        painter.translate(-scroll.x, -scroll.y);
        CQtDrawContext dc(painter);
        HighlightPick(*pList, SheetPoint(client), &dc);
    }
    viewport()->update();
}

bool CVarnelView::NudgeHighlighted(CPoint delta) {
    if (m_pImpl->pDrag) return true;  // the mouse has the object
    EntityList* pList = List();
    CVEntity* pObject = pList ? HighlightedObject(*pList) : nullptr;
    if (pObject == nullptr) return false;
    try {
        CMoveSession session(*m_pDoc, *pObject);
        session.MoveTo(delta);
        if (std::unique_ptr<CObjectsChange> pChange = session.Finish())
            PushChange(std::move(pChange), kMoveName, true);
    } catch (const CFileError&) {
    }
    return true;
}

void CVarnelView::keyPressEvent(QKeyEvent* event) {
    // The keypad's arrows are the same keys.
    const QKeySequence pressed(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    const QString action = WindowKeyAction("view", pressed);
    const int step = action.startsWith("big") ? kBigStep : 1;
    const QString direction = action.toLower().remove("big");
    CPoint delta;
    if (direction == "left") delta = {-step, 0};
    else if (direction == "right") delta = {step, 0};
    else if (direction == "up") delta = {0, -step};
    else if (direction == "down") delta = {0, step};
    // With nothing highlighted, or another key, the arrows scroll as in any window.
    if (action.isEmpty() || !NudgeHighlighted(delta)) QAbstractScrollArea::keyPressEvent(event);
}

void CVarnelView::focusOutEvent(QFocusEvent* event) {
    // A dialog or another window took the keyboard: the drag ends here.
    FinishDrag();
    QAbstractScrollArea::focusOutEvent(event);
}
