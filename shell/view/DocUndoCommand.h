// The undo stack's entry for one change of the model: Qt's undo command
// around a change of the core, which does the work.
#pragma once
#include <QUndoCommand>
#include <memory>

#include "document/DocChanges.h"

class CVarnelDoc;

class CDocUndoCommand : public QUndoCommand {
public:
    // bMergeable: a following mergeable command of the same object joins
    // this one (the steps of the arrow keys undo as one move).
    CDocUndoCommand(CVarnelDoc& doc, std::unique_ptr<CDocChange> pChange, const QString& strName, bool bMergeable);

    void redo() override { m_pChange->Apply(m_doc); }
    void undo() override { m_pChange->Revert(m_doc); }
    int id() const override { return m_bMergeable ? 1 : -1; }
    bool mergeWith(const QUndoCommand* pOther) override;

private:
    CVarnelDoc& m_doc;
    std::unique_ptr<CDocChange> m_pChange;
    bool m_bMergeable;
};
