// CExperimentDlg: the "Эксперимент" window. Beside the diagram, not modal:
// the diagram's settable values with sliders, and the plot of the run with
// those values, drawn as the graphs window draws it, with the run before
// the last change faded behind. Runs go on a thread of their own over a
// copy of the model, the newest value stopping the run before it; nothing
// reaches the document until "Применить", which writes the values as one
// step of the undo history.
#pragma once
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "graphs/PreviousRun.h"
#include "interpreter/BackgroundRun.h"

class CExperimentList;
class CGraphsPlot;
class CVarnelView;
class EntityList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
namespace Ui {
class ExperimentDlg;
}

class CExperimentDlg : public QWidget {
    Q_OBJECT
public:
    // The view gives the document and takes the change "Применить" makes.
    explicit CExperimentDlg(CVarnelView& view, QWidget* parent = nullptr);
    ~CExperimentDlg() override;

    CExperimentList* List() const { return m_pList; }
    CGraphsPlot* Plot() const { return m_pPlot; }
    QComboBox* Selector() const { return m_pSelector; }
    QLineEdit* StepBoundBox() const { return m_pStepBound; }
    QPushButton* ApplyButton() const { return m_pApply; }
    QPushButton* ResetButton() const { return m_pReset; }
    QPushButton* ShowLineButton() const { return m_pShowLine; }
    // The series of the run shown.
    const EntityList& Shown() const { return *m_pSeries; }
    QString StatusText() const;
    // What the window says of ticked values the diagram no longer has.
    QString NoteText() const;
    uint64_t StepBound() const { return m_nStepBound; }

    // Opens the program editor on a line (the frame's); without it the
    // window offers no such button.
    std::function<void(int64_t nLine, const std::string& strMessage)> m_pfnShowLine;

    static constexpr uint64_t kDefaultStepBound = 10'000'000;

public slots:
    // The model may have changed: reread names and values, run again if a
    // run would read anything else now.
    void OnDocumentChanged();
    void OnApply();
    void OnReset();

signals:
    // A run's outcome is on show (series, error or note).
    void RunShown();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The widgets from the window's .ui file, then what a .ui cannot say.
    void BuildLayout();
    void Refresh();
    void RequestRun();
    void OnRunFinished(uint64_t nTicket, BuildGraphsResult& result);
    void ShowSeries(BuildGraphsResult& result);
    void FillSelector();
    void OnSelectorChanged();
    void UpdateSwatch();
    void RememberShown();
    void OnValuesChanged(bool bNewGesture);
    void OnStepBoundEdited();
    void SetStatus(const QString& text, const char* color);
    void UpdateButtons();

    CVarnelView& m_view;
    std::unique_ptr<Ui::ExperimentDlg> m_ui;
    // The widgets of m_ui the window works with.
    CExperimentList* m_pList = nullptr;
    CGraphsPlot* m_pPlot = nullptr;
    QComboBox* m_pSelector = nullptr;
    QLabel* m_pSwatch = nullptr;
    QLineEdit* m_pStepBound = nullptr;
    QPushButton* m_pApply = nullptr;
    QPushButton* m_pReset = nullptr;
    QPushButton* m_pShowLine = nullptr;
    QLabel* m_pStatus = nullptr;
    QLabel* m_pNote = nullptr;
    QTimer* m_pBusyTimer = nullptr;

    std::unique_ptr<EntityList> m_pSeries;
    CPreviousRun m_previous;
    std::shared_ptr<const CModelSnapshot> m_pModel;
    uint64_t m_nStepBound = kDefaultStepBound;
    uint64_t m_nLatestTicket = 0;
    uint64_t m_nShownTicket = 0;
    int64_t m_nErrorLine = 0;
    std::string m_strError;
    bool m_bRefreshPending = false;
    // Last: its thread stops before anything it reports to goes.
    std::unique_ptr<CBackgroundRun> m_pRunner;
};
