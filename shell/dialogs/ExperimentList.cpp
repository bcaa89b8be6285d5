// The experiment's rows. Values are shown in the shortest text that reads
// back to the same double, with a point whatever the locale, and typed with
// a point or a comma; a box whose text is not wholly a finite number turns
// red and changes nothing: the row keeps its last valid value.
#include "shell/dialogs/ExperimentList.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <bit>
#include <map>

#include "base/Numbers.h"
#include "base/WholeText.h"
#include "shell/view/QtText.h"

namespace {

enum EColumn { COL_NAME, COL_VALUE, COL_SLIDER, COL_FROM, COL_TO, COL_COUNT };

bool ReadNumber(const QString& text, double& value) {
    const std::optional<double> typed = ReadWholeFinite(text.trimmed().toStdString(), EDecimalSeparator::PointOrComma);
    if (typed) value = *typed;
    return typed.has_value();
}

bool RangeValid(const QString& from, const QString& to, CValueRange& range) {
    return ReadNumber(from, range.dFrom) && ReadNumber(to, range.dTo) && range.dFrom != range.dTo;
}

QString NumberText(double value) { return QString::fromStdString(FormatRoundTrip(value)); }

QString KindText(EElementKind kind) {
    switch (kind) {
        case EElementKind::Level: return QStringLiteral("Уровень");
        case EElementKind::Rate: return QStringLiteral("Темп");
        case EElementKind::Expert: return QStringLiteral("Эксперт");
        case EElementKind::Switch: return QStringLiteral("Переключатель");
        default: return QStringLiteral("Переменная");
    }
}

// The switch's fields carry the labels of its dialog.
QString RowText(const CElementValue& value) {
    const QString name = FromCp1251(value.strName);
    if (value.kind != EElementKind::Switch) return name;
    switch (value.field) {
        case EValueField::Value2: return name + QStringLiteral(" (2-е знач.)");
        case EValueField::Threshold: return name + QStringLiteral(" (перекл.)");
        default: return name + QStringLiteral(" (1-е знач.)");
    }
}

void MarkValid(QLineEdit* pBox, bool bValid) {
    pBox->setStyleSheet(bValid ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
}

QLineEdit* NumberBox(double value) {
    auto* pBox = new QLineEdit(NumberText(value));
    pBox->setMinimumWidth(40);
    return pBox;
}

}  // namespace

CExperimentList::CExperimentList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(COL_COUNT);
    setHeaderLabels({QStringLiteral("Элемент"), QStringLiteral("Значение"), QStringLiteral("Ползунок"),
                     QStringLiteral("от"), QStringLiteral("до")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(COL_SLIDER, QHeaderView::Stretch);
    setColumnWidth(COL_NAME, 120);
    setColumnWidth(COL_VALUE, 80);
    setColumnWidth(COL_FROM, 56);
    setColumnWidth(COL_TO, 56);
    connect(this, &QTreeWidget::itemChanged, this, &CExperimentList::OnItemChanged);
}

bool CExperimentList::Differs(const CRow& row) {
    return std::bit_cast<uint64_t>(row.dValue) != std::bit_cast<uint64_t>(row.element.dValue);
}

QStringList CExperimentList::SetDiagramValues(const std::vector<CElementValue>& values) {
    std::map<std::string, CRow> old;
    std::vector<std::string> oldKeys;
    for (CRow& row : m_rows) {
        oldKeys.push_back(row.element.OverrideName());
        old.emplace(oldKeys.back(), row);
    }
    std::vector<CRow> rows;
    std::vector<std::string> keys;
    for (const CElementValue& value : values) {
        keys.push_back(value.OverrideName());
        CRow row;
        row.dValue = value.dValue;
        if (const auto it = old.find(keys.back()); it != old.end()) {
            row = it->second;
            if (!Differs(row)) row.dValue = value.dValue;
            old.erase(it);
        }
        row.element = value;
        rows.push_back(row);
    }
    QStringList gone;
    for (const auto& [key, row] : old)
        if (row.bTicked) gone << FromCp1251(key);
    m_rows = std::move(rows);
    if (keys == oldKeys) {
        // The same rows: their widgets stay, so a slider in hand is kept.
        for (CRow& row : m_rows) ShowRow(row);
    } else {
        Rebuild();
    }
    return gone;
}

void CExperimentList::Rebuild() {
    const QSignalBlocker blocker(this);
    const int scroll = verticalScrollBar()->value();
    clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        CRow& row = m_rows[i];
        row.pItem = new QTreeWidgetItem(this);
        row.pItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row.pSlider = nullptr;
        row.pValueBox = row.pFromBox = row.pToBox = nullptr;
        if (row.bTicked) AddControls(i);
        ShowRow(row);
    }
    verticalScrollBar()->setValue(scroll);
}

void CExperimentList::ShowRow(CRow& row) {
    const QSignalBlocker blocker(this);
    QTreeWidgetItem* pItem = row.pItem;
    pItem->setCheckState(COL_NAME, row.bTicked ? Qt::Checked : Qt::Unchecked);
    pItem->setText(COL_NAME, RowText(row.element));
    QString tip = KindText(row.element.kind) + QStringLiteral(" «") + FromCp1251(row.element.strName) + "»";
    if (!row.element.strDescription.empty()) tip += QStringLiteral(": ") + FromCp1251(row.element.strDescription);
    tip += QStringLiteral("\nВ диаграмме: ") + NumberText(row.element.dValue);
    pItem->setToolTip(COL_NAME, tip);
    // What "Применить" would write stands out.
    QFont font = pItem->font(COL_NAME);
    font.setBold(Differs(row));
    pItem->setFont(COL_NAME, font);
    if (row.pValueBox == nullptr) {
        pItem->setText(COL_VALUE, NumberText(row.dValue));
        return;
    }
    pItem->setText(COL_VALUE, QString());
    double shown = 0.0;
    if (!ReadNumber(row.pValueBox->text(), shown) || std::bit_cast<uint64_t>(shown) != std::bit_cast<uint64_t>(row.dValue)) {
        const QSignalBlocker boxBlocker(row.pValueBox);
        row.pValueBox->setText(NumberText(row.dValue));
        MarkValid(row.pValueBox, true);
    }
    PlaceSlider(row);
}

void CExperimentList::PlaceSlider(CRow& row) {
    if (row.pSlider == nullptr) return;
    const QSignalBlocker blocker(row.pSlider);
    if (!row.pSlider->isSliderDown()) row.pSlider->setValue(row.range.PositionOf(row.dValue, kSliderSteps));
}

void CExperimentList::AddControls(size_t index) {
    CRow& row = m_rows[index];
    if (!row.bRangeSet) {
        row.range = CValueRange::Around(row.dValue);
        row.bRangeSet = true;
    }
    row.pValueBox = NumberBox(row.dValue);
    row.pFromBox = NumberBox(row.range.dFrom);
    row.pToBox = NumberBox(row.range.dTo);
    row.pSlider = new QSlider(Qt::Horizontal);
    row.pSlider->setRange(0, kSliderSteps);
    row.pSlider->setPageStep(kSliderSteps / 20);
    row.pSlider->setMinimumWidth(120);
    row.pSlider->setToolTip(QStringLiteral("Перетащите: модель пересчитывается на ходу"));
    // A replaced control lives on until the event loop deletes it: it must
    // not act for the row that now stands at its index.
    QSlider* pSlider = row.pSlider;
    QLineEdit* pValueBox = row.pValueBox;
    QLineEdit* pFromBox = row.pFromBox;
    QLineEdit* pToBox = row.pToBox;
    connect(pSlider, &QSlider::valueChanged, this, [=, this](int position) {
        if (CRow* pRow = RowWith(index, pSlider)) OnSliderMoved(*pRow, position);
    });
    connect(pSlider, &QSlider::sliderPressed, this, &CExperimentList::GestureStarted);
    connect(pValueBox, &QLineEdit::textEdited, this, [=, this] {
        if (CRow* pRow = RowWith(index, pValueBox)) OnValueEdited(*pRow);
    });
    for (QLineEdit* pBox : {pFromBox, pToBox})
        connect(pBox, &QLineEdit::textEdited, this, [=, this] {
            if (CRow* pRow = RowWith(index, pBox)) OnRangeEdited(*pRow);
        });
    setItemWidget(row.pItem, COL_VALUE, row.pValueBox);
    setItemWidget(row.pItem, COL_SLIDER, row.pSlider);
    setItemWidget(row.pItem, COL_FROM, row.pFromBox);
    setItemWidget(row.pItem, COL_TO, row.pToBox);
    PlaceSlider(row);
}

void CExperimentList::RemoveControls(CRow& row) {
    for (int column : {COL_VALUE, COL_SLIDER, COL_FROM, COL_TO}) removeItemWidget(row.pItem, column);
    row.pSlider = nullptr;
    row.pValueBox = row.pFromBox = row.pToBox = nullptr;
}

void CExperimentList::OnItemChanged(QTreeWidgetItem* pItem, int column) {
    if (column != COL_NAME) return;
    const int index = indexOfTopLevelItem(pItem);
    if (index < 0 || static_cast<size_t>(index) >= m_rows.size()) return;
    CRow& row = m_rows[static_cast<size_t>(index)];
    const bool bTicked = pItem->checkState(COL_NAME) == Qt::Checked;
    if (bTicked == row.bTicked) return;
    row.bTicked = bTicked;
    if (bTicked) {
        AddControls(static_cast<size_t>(index));
        ShowRow(row);
        return;
    }
    // A value no longer varied goes back to the diagram's.
    RemoveControls(row);
    const bool bChanged = Differs(row);
    row.dValue = row.element.dValue;
    ShowRow(row);
    if (bChanged) emit ValuesChanged(true);
}

CExperimentList::CRow* CExperimentList::RowWith(size_t index, const QWidget* pControl) {
    if (index >= m_rows.size()) return nullptr;
    CRow& row = m_rows[index];
    const bool bCurrent = pControl == row.pSlider || pControl == row.pValueBox || pControl == row.pFromBox ||
                          pControl == row.pToBox;
    return bCurrent && pControl != nullptr ? &row : nullptr;
}

void CExperimentList::OnSliderMoved(CRow& row, int position) {
    row.dValue = row.range.ValueAt(position, kSliderSteps);
    {
        const QSignalBlocker blocker(row.pValueBox);
        row.pValueBox->setText(NumberText(row.dValue));
        MarkValid(row.pValueBox, true);
    }
    ShowRow(row);
    emit ValuesChanged(!row.pSlider->isSliderDown());
}

void CExperimentList::OnValueEdited(CRow& row) {
    double value = 0.0;
    const bool bValid = ReadNumber(row.pValueBox->text(), value);
    MarkValid(row.pValueBox, bValid);
    emit BoxesChecked();
    if (!bValid || std::bit_cast<uint64_t>(value) == std::bit_cast<uint64_t>(row.dValue)) return;
    row.dValue = value;
    ShowRow(row);
    emit ValuesChanged(true);
}

void CExperimentList::OnRangeEdited(CRow& row) {
    CValueRange range;
    const bool bFrom = ReadNumber(row.pFromBox->text(), range.dFrom);
    const bool bTo = ReadNumber(row.pToBox->text(), range.dTo);
    const bool bValid = bFrom && bTo && range.dFrom != range.dTo;
    MarkValid(row.pFromBox, bFrom && bValid);
    MarkValid(row.pToBox, bTo && bValid);
    emit BoxesChecked();
    if (!bValid) return;
    // The value stays; only the slider moves to where it now lies.
    row.range = range;
    PlaceSlider(row);
}

bool CExperimentList::HasInvalidBox() const {
    for (const CRow& row : m_rows) {
        double value = 0.0;
        CValueRange range;
        if (row.pValueBox && (!ReadNumber(row.pValueBox->text(), value) ||
                              !RangeValid(row.pFromBox->text(), row.pToBox->text(), range)))
            return true;
    }
    return false;
}

std::vector<CValueOverride> CExperimentList::ChangedValues() const {
    std::vector<CValueOverride> changed;
    for (const CRow& row : m_rows)
        if (Differs(row)) changed.push_back({row.element.OverrideName(), row.dValue});
    return changed;
}

void CExperimentList::ResetValues() {
    for (CRow& row : m_rows) {
        row.dValue = row.element.dValue;
        ShowRow(row);
    }
}

const CExperimentList::CRow* CExperimentList::Find(const QString& name) const {
    const std::string key = ToCp1251(name);
    for (const CRow& row : m_rows)
        if (row.element.OverrideName() == key) return &row;
    return nullptr;
}

bool CExperimentList::SetTicked(const QString& name, bool bTicked) {
    const CRow* pRow = Find(name);
    if (pRow == nullptr) return false;
    pRow->pItem->setCheckState(COL_NAME, bTicked ? Qt::Checked : Qt::Unchecked);
    return true;
}

QSlider* CExperimentList::SliderFor(const QString& name) const {
    const CRow* pRow = Find(name);
    return pRow ? pRow->pSlider : nullptr;
}

QLineEdit* CExperimentList::ValueBoxFor(const QString& name) const {
    const CRow* pRow = Find(name);
    return pRow ? pRow->pValueBox : nullptr;
}

QLineEdit* CExperimentList::FromBoxFor(const QString& name) const {
    const CRow* pRow = Find(name);
    return pRow ? pRow->pFromBox : nullptr;
}

QLineEdit* CExperimentList::ToBoxFor(const QString& name) const {
    const CRow* pRow = Find(name);
    return pRow ? pRow->pToBox : nullptr;
}
