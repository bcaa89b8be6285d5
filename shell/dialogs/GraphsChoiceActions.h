// The four choices of the graphs window's context menu («Легенда»,
// «Общая шкала», «Круглые деления», «Крупный шрифт») as checkable
// actions, and the settings that remember them for the next window.
#pragma once
#include <QList>
#include <functional>

#include "graphs/GraphsChoices.h"

class QAction;
class QWidget;

class CGraphsChoiceActions {
public:
    // The actions belong to pOwner; chosen hears the new choices whenever
    // the user ticks or unticks one, after they are remembered.
    CGraphsChoiceActions(QWidget* pOwner, std::function<void(const GraphsChoices&)> chosen);

    // Ticks the actions as choices says, remembering nothing.
    void Tick(const GraphsChoices& choices);
    GraphsChoices Ticked() const;
    // In menu order: legend, common scale, round ticks, large font.
    const QList<QAction*>& Actions() const { return m_actions; }

private:
    QList<QAction*> m_actions;
};

// The choices last made in any graphs window; all off at first.
GraphsChoices RememberedGraphsChoices();
void RememberGraphsChoices(const GraphsChoices& choices);
