// The recovery folder: a copy of each unsaved model that autosave keeps,
// the small metadata beside it, and what a new start finds there. A
// session's files are ID.vrn (an ordinary model file), ID.json (its
// model's path, the process and the time) and ID.lock, held while the
// session runs, so a copy whose lock can be taken was left by a dead one.
#pragma once
#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct CRecoveryMeta {
    QString strModelPath;  // empty: untitled (never saved, or imported)
    qint64 nPid = 0;
    QDateTime time;
};

// AppDataLocation/recovery, made when missing.
QString RecoveryFolder();
QByteArray RecoveryMetaJson(const CRecoveryMeta& meta);
// False when the text is no metadata.
bool ReadRecoveryMeta(const QByteArray& json, CRecoveryMeta& meta);
// A lock file that only a dead process leaves stale, however old it is.
std::unique_ptr<QLockFile> MakeLiveLock(const QString& path);

// A model left by a session that no longer runs; its lock is held while
// it is offered, so a second start does not offer it too.
struct CRecoveryEntry {
    QString strFolder;
    QString strId;
    CRecoveryMeta meta;
    QStringList olderIds;  // earlier copies of the same model, resolved with it
    std::vector<std::shared_ptr<QLockFile>> locks;  // its own first, then the older ones'

    QString File(const QString& id, const char* suffix) const { return strFolder + '/' + id + suffix; }
    QString ModelCopy() const { return File(strId, ".vrn"); }
    QDateTime WrittenAt() const;
};

struct CRecoveryScan {
    std::vector<CRecoveryEntry> entries;  // newest first, one per model
    QStringList setAside;                 // damaged copies, where they were moved
};

// Copies that cannot be read are moved into the folder's "damaged"
// subfolder, never deleted, and named in setAside.
CRecoveryScan FindRecoveries(const QString& folder);
// Deletes one session's copy and metadata (its lock stays with its holder).
void RemoveRecoveryFiles(const QString& folder, const QString& id);
// Deletes the entry's copies, older ones included, and lets go of its locks.
void RemoveRecovery(CRecoveryEntry& entry);
