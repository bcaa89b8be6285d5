// The help window over Qt's help engine; see HelpWindow.h.
#include "shell/dialogs/HelpWindow.h"

#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "shell/dialogs/HelpTopics.h"

namespace {

const char* const kNamespace = "org.varnel.manual";

QUrl PageUrl(const QString& strRef) {
    return QUrl(QString("qthelp://%1/manual/%2").arg(kNamespace, strRef.isEmpty() ? "README.html" : strRef));
}

}  // namespace

CHelpBrowser::CHelpBrowser(QHelpEngine& engine, QWidget* pParent) : QTextBrowser(pParent), m_engine(engine) {}

QVariant CHelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() == "qthelp") return m_engine.fileData(name);
    return QTextBrowser::loadResource(type, name);
}

CHelpWindow::CHelpWindow(QWidget* pParent) : QWidget(pParent, Qt::Window), m_pDir(std::make_unique<QTemporaryDir>()) {
    setWindowTitle(QStringLiteral("Справка Varnel"));
    InitManualResources();
    const QString qch = m_pDir->filePath("varnel.qch");
    QFile::copy(":/help/varnel.qch", qch);
    QFile::setPermissions(qch, QFile::ReadOwner | QFile::WriteOwner);
    m_pEngine = new QHelpEngine(m_pDir->filePath("varnel.qhc"), this);
    m_pEngine->setReadOnly(false);
    m_pEngine->setupData();
    m_pEngine->registerDocumentation(qch);
    BuildLayout();
    QHelpSearchEngine* pSearch = m_pEngine->searchEngine();
    connect(pSearch, &QHelpSearchEngine::indexingFinished, this, &CHelpWindow::IndexReady);
    pSearch->reindexDocumentation();
    resize(900, 640);
}

CHelpWindow::~CHelpWindow() = default;

void CHelpWindow::BuildLayout() {
    m_pBrowser = new CHelpBrowser(*m_pEngine, this);
    m_pBrowser->setOpenLinks(true);

    m_pTabs = new QTabWidget;
    m_pTabs->addTab(m_pEngine->contentWidget(), QStringLiteral("Содержание"));
    connect(m_pEngine->contentWidget(), &QHelpContentWidget::linkActivated, m_pBrowser,
            [this](const QUrl& url) { m_pBrowser->setSource(url); });

    auto* pIndexPage = new QWidget;
    auto* pIndexLayout = new QVBoxLayout(pIndexPage);
    m_pIndexFilter = new QLineEdit;
    m_pIndexFilter->setPlaceholderText(QStringLiteral("Слово"));
    pIndexLayout->addWidget(m_pIndexFilter);
    pIndexLayout->addWidget(m_pEngine->indexWidget());
    connect(m_pIndexFilter, &QLineEdit::textChanged, m_pEngine->indexWidget(),
            [this](const QString& text) { m_pEngine->indexWidget()->filterIndices(text); });
    connect(m_pIndexFilter, &QLineEdit::returnPressed, m_pEngine->indexWidget(), &QHelpIndexWidget::activateCurrentItem);
    connect(m_pEngine->indexWidget(), &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link) { m_pBrowser->setSource(link.url); });
    m_pTabs->addTab(pIndexPage, QStringLiteral("Указатель"));

    auto* pSearchPage = new QWidget;
    auto* pSearchLayout = new QVBoxLayout(pSearchPage);
    QHelpSearchEngine* pSearch = m_pEngine->searchEngine();
    pSearchLayout->addWidget(pSearch->queryWidget());
    pSearchLayout->addWidget(pSearch->resultWidget(), 1);
    connect(pSearch->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [pSearch] { pSearch->search(pSearch->queryWidget()->searchInput()); });
    connect(pSearch->resultWidget(), &QHelpSearchResultWidget::requestShowLink, m_pBrowser,
            [this](const QUrl& url) { m_pBrowser->setSource(url); });
    m_pTabs->addTab(pSearchPage, QStringLiteral("Поиск"));

    auto* pSplitter = new QSplitter;
    pSplitter->addWidget(m_pTabs);
    pSplitter->addWidget(m_pBrowser);
    pSplitter->setStretchFactor(1, 1);
    pSplitter->setSizes({260, 640});
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pSplitter);
}

void CHelpWindow::ShowPage(const QString& strRef) { m_pBrowser->setSource(PageUrl(strRef)); }

void CHelpWindow::Search(const QString& text) {
    QHelpSearchEngine* pSearch = m_pEngine->searchEngine();
    m_pTabs->setCurrentIndex(2);
    pSearch->queryWidget()->setSearchInput(text);
    pSearch->search(text);
}

CHelpWindow* ShowManual(QWidget* pOwner, const QString& strRef) {
    QWidget* pWindow = pOwner ? pOwner->window() : nullptr;
    CHelpWindow* pHelp = pWindow ? pWindow->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (pHelp == nullptr) pHelp = new CHelpWindow(pWindow);
    pHelp->ShowPage(strRef);
    pHelp->show();
    pHelp->raise();
    pHelp->activateWindow();
    return pHelp;
}

CHelpWindow* ShowManualForWord(QWidget* pOwner, const QString& word) {
    const QString ref = HelpRefForWord(HelpTopics(), word);
    return ShowManual(pOwner, ref.isEmpty() ? QStringLiteral("language.html") : ref);
}

CHelpWindow* ShowManualForMessage(QWidget* pOwner, const QString& message) {
    const QString ref = HelpRefForMessage(HelpTopics(), message);
    return ShowManual(pOwner, ref.isEmpty() ? QStringLiteral("messages.html") : ref);
}
