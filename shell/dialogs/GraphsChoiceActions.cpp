// Each choice is a boolean under "graphs/" in the application's settings.
// Only the user's ticking writes them: a window that is given choices
// (such as `varnel graphs` from its options) leaves the settings alone.
#include "shell/dialogs/GraphsChoiceActions.h"

#include <QAction>
#include <QSettings>
#include <QWidget>
#include <array>

namespace {

struct CChoiceEntry {
    const char* text;
    const char* key;
    bool GraphsChoices::*member;
};

const std::array<CChoiceEntry, 4> kChoices = {{
    {"Легенда", "graphs/legend", &GraphsChoices::bLegend},
    {"Общая шкала", "graphs/commonScale", &GraphsChoices::bCommonScale},
    {"Круглые деления", "graphs/roundTicks", &GraphsChoices::bRoundTicks},
    {"Крупный шрифт", "graphs/largeFont", &GraphsChoices::bLargeFont},
}};

}  // namespace

CGraphsChoiceActions::CGraphsChoiceActions(QWidget* pOwner, std::function<void(const GraphsChoices&)> chosen) {
    for (const CChoiceEntry& entry : kChoices) {
        auto* pAction = new QAction(QString::fromUtf8(entry.text), pOwner);
        pAction->setCheckable(true);
        QObject::connect(pAction, &QAction::triggered, pOwner, [this, chosen] {
            RememberGraphsChoices(Ticked());
            if (chosen) chosen(Ticked());
        });
        m_actions.push_back(pAction);
    }
}

void CGraphsChoiceActions::Tick(const GraphsChoices& choices) {
    for (size_t i = 0; i < kChoices.size(); ++i) m_actions[int(i)]->setChecked(choices.*kChoices[i].member);
}

GraphsChoices CGraphsChoiceActions::Ticked() const {
    GraphsChoices choices;
    for (size_t i = 0; i < kChoices.size(); ++i) choices.*kChoices[i].member = m_actions[int(i)]->isChecked();
    return choices;
}

GraphsChoices RememberedGraphsChoices() {
    const QSettings settings;
    GraphsChoices choices;
    for (const CChoiceEntry& entry : kChoices) choices.*entry.member = settings.value(entry.key, false).toBool();
    return choices;
}

void RememberGraphsChoices(const GraphsChoices& choices) {
    QSettings settings;
    for (const CChoiceEntry& entry : kChoices) settings.setValue(entry.key, choices.*entry.member);
}
