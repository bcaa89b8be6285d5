// The lock on an open model.
#include "shell/frame/ModelLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/frame/RecoveryFiles.h"

namespace {

// Two spellings of one file (a link, "..") are one model.
QString Canonical(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

}  // namespace

QString CModelLock::LockPathOf(const QString& modelPath) {
    const QByteArray hash = QCryptographicHash::hash(Canonical(modelPath).toUtf8(), QCryptographicHash::Sha256);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/varnel-" + hash.toHex().left(32) + ".lock";
}

CModelLock::Outcome CModelLock::Take(const QString& modelPath) {
    if (Holds(modelPath)) return Outcome::Taken;
    std::unique_ptr<QLockFile> pLock = MakeLiveLock(LockPathOf(modelPath));
    if (!pLock->tryLock(0)) {
        if (pLock->error() == QLockFile::LockFailedError) return Outcome::HeldElsewhere;
        Release();
        return Outcome::Unavailable;
    }
    m_pLock = std::move(pLock);
    m_strModel = Canonical(modelPath);
    return Outcome::Taken;
}

void CModelLock::Release() {
    m_pLock.reset();
    m_strModel.clear();
}

bool CModelLock::Holds(const QString& modelPath) const { return m_pLock && m_strModel == Canonical(modelPath); }
