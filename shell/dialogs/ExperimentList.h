// CExperimentList: the experiment window's list of the diagram's settable
// values. Each row shows a value; a ticked row gets a number box, a slider
// and the slider's range in two boxes. The list keeps the experiment's
// values apart from the diagram's and says which differ.
#pragma once
#include <QTreeWidget>
#include <vector>

#include "document/ExperimentValues.h"

class QLineEdit;
class QSlider;

class CExperimentList : public QTreeWidget {
    Q_OBJECT
public:
    explicit CExperimentList(QWidget* parent = nullptr);

    // Takes the diagram's values, keeping tick, range and an experiment's
    // own value for every row whose name is still there (a value the
    // experiment had not changed follows the diagram). Returns the names
    // of ticked rows that are gone.
    QStringList SetDiagramValues(const std::vector<CElementValue>& values);
    // The experiment's values that differ from the diagram's, by their
    // override names.
    std::vector<CValueOverride> ChangedValues() const;
    // Every value back to the diagram's.
    void ResetValues();
    // Some box holds text that is no number (or no range): its row keeps
    // its last valid value, and nothing should be written back meanwhile.
    bool HasInvalidBox() const;

    // Rows by override name ("d", "quarantine.threshold").
    bool SetTicked(const QString& name, bool bTicked);
    QSlider* SliderFor(const QString& name) const;
    QLineEdit* ValueBoxFor(const QString& name) const;
    QLineEdit* FromBoxFor(const QString& name) const;
    QLineEdit* ToBoxFor(const QString& name) const;

    static constexpr int kSliderSteps = 1000;

signals:
    // A value changed; bNewGesture unless it came from a slider being dragged.
    void ValuesChanged(bool bNewGesture);
    // The mouse took hold of a slider.
    void GestureStarted();
    // A box was read after typing, valid or not.
    void BoxesChecked();

private:
    struct CRow {
        CElementValue element;  // with the diagram's value
        double dValue = 0.0;    // the experiment's
        bool bTicked = false;
        bool bRangeSet = false;
        CValueRange range;
        QTreeWidgetItem* pItem = nullptr;
        QSlider* pSlider = nullptr;
        QLineEdit* pValueBox = nullptr;
        QLineEdit* pFromBox = nullptr;
        QLineEdit* pToBox = nullptr;
    };

    void Rebuild();
    void ShowRow(CRow& row);
    void AddControls(size_t index);
    void RemoveControls(CRow& row);
    void OnItemChanged(QTreeWidgetItem* pItem, int column);
    CRow* RowWith(size_t index, const QWidget* pControl);
    void OnSliderMoved(CRow& row, int position);
    void OnValueEdited(CRow& row);
    void OnRangeEdited(CRow& row);
    void PlaceSlider(CRow& row);
    const CRow* Find(const QString& name) const;
    static bool Differs(const CRow& row);

    std::vector<CRow> m_rows;
};
