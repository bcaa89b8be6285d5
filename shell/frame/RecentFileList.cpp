// The recent-file list and its place in the settings store.
#include "shell/frame/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const char* const kSection = "Recent File List";

bool SamePath(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}
}  // namespace

CRecentFileList::CRecentFileList(int nSize) : m_nSize(nSize) {}

void CRecentFileList::Add(const QString& path) {
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_files.removeIf([&](const QString& f) { return SamePath(f, full); });
    m_files.prepend(full);
    while (m_files.size() > m_nSize) m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size()) m_files.removeAt(index);
}

void CRecentFileList::ReadList() {
    QSettings settings;
    settings.beginGroup(kSection);
    m_files.clear();
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(QString("File%1").arg(i)).toString();
        if (!path.isEmpty()) m_files.append(path);
    }
}

void CRecentFileList::WriteList() const {
    QSettings settings;
    settings.beginGroup(kSection);
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QString("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files[i - 1]);
        else
            settings.remove(key);
    }
}
