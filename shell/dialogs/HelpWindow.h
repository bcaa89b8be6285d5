// The manual inside the application: contents, index and full-text search
// beside the page being read. The help collection is built from the
// Markdown of the manual and compiled into the executable; each window
// unpacks it into a folder of its own, so several processes never share
// one search index.
#pragma once
#include <QTextBrowser>
#include <QWidget>
#include <memory>

class QHelpEngine;
class QLineEdit;
class QTabWidget;
class QTemporaryDir;

// A page view that reads the pages from the help collection.
class CHelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    CHelpBrowser(QHelpEngine& engine, QWidget* pParent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngine& m_engine;
};

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* pParent = nullptr);
    ~CHelpWindow() override;

    // Shows a page of the manual: "language.html#set"; empty is the front page.
    void ShowPage(const QString& strRef);
    // Starts a full-text search, as the search tab does.
    void Search(const QString& text);

    QHelpEngine* Engine() const { return m_pEngine; }
    CHelpBrowser* Browser() const { return m_pBrowser; }
    QTabWidget* Tabs() const { return m_pTabs; }

signals:
    void IndexReady();

private:
    void BuildLayout();

    std::unique_ptr<QTemporaryDir> m_pDir;
    QHelpEngine* m_pEngine = nullptr;
    CHelpBrowser* m_pBrowser = nullptr;
    QTabWidget* m_pTabs = nullptr;
    QLineEdit* m_pIndexFilter = nullptr;
};

// The window that belongs to pOwner's window (made on first use), showing
// strRef; raised and activated.
CHelpWindow* ShowManual(QWidget* pOwner, const QString& strRef = QString());
// The entry of a word of the program (statement, function, attribute), or
// the language chapter when the word has none.
CHelpWindow* ShowManualForWord(QWidget* pOwner, const QString& word);
// The entry of a message, or the messages chapter.
CHelpWindow* ShowManualForMessage(QWidget* pOwner, const QString& message);
