// Undo commands over the core's changes.
#include "shell/view/DocUndoCommand.h"

CDocUndoCommand::CDocUndoCommand(CVarnelDoc& doc, std::unique_ptr<CDocChange> pChange, const QString& strName,
                                 bool bMergeable)
    : m_doc(doc), m_pChange(std::move(pChange)), m_bMergeable(bMergeable) {
    setText(strName);
}

bool CDocUndoCommand::mergeWith(const QUndoCommand* pOther) {
    // The stack merges only commands of the same id, and only this class
    // gives one.
    const auto* pLater = static_cast<const CDocUndoCommand*>(pOther);
    return m_pChange->Absorb(*pLater->m_pChange);
}
