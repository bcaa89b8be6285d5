// CDatabaseDlg: the drawing database, one row per object of the diagram in
// list order, from which an object is highlighted, edited or deleted.
#pragma once
#include <QDialog>
#include <memory>

namespace Ui { class DatabaseDlg; }
class EntityList;
class CVarnelView;
class QListWidget;

class CDatabaseDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDatabaseDlg(QWidget* parent = nullptr);
    ~CDatabaseDlg() override;

    // Not owned; filled by the caller before the dialog is shown.
    EntityList* m_pList = nullptr;
    CVarnelView* m_pView = nullptr;

    QListWidget* Rows() const;
    // The selected row, or -1 when no row is selected.
    int SelectedRow() const;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void OnSelChange(int row);
    void OnEdit();
    void OnDelete();

private:
    void Fill();
    void RepaintView();

    std::unique_ptr<Ui::DatabaseDlg> m_ui;
    bool m_bFilled = false;
};
