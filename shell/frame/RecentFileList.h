// CRecentFileList: the most recently opened or saved models, newest first,
// kept in the settings under "Recent File List" as File1, File2, ...
#pragma once
#include <QString>
#include <QStringList>

// Recent-file list length kept in the settings.
inline constexpr int kRecentFileCount = 2;

class CRecentFileList {
public:
    explicit CRecentFileList(int nSize);

    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Files() const { return m_files; }

    void ReadList();
    void WriteList() const;

private:
    int m_nSize;
    QStringList m_files;
};
