// The countdown, the snapshot and the worker's atomic write of the copy.
#include "shell/frame/Autosave.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSaveFile>
#include <QSettings>
#include <cmath>

#include "archive/FileError.h"
#include "document/VarnelDoc.h"
#include "shell/view/QtText.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr int kRetryMs = 100;        // how soon a copy put off by a drag or a dialog is tried again
constexpr double kMaxSeconds = 86400;  // beyond a day the timer's milliseconds would overflow

double ReadSeconds() {
    const double seconds = QSettings().value(QStringLiteral("autosave/seconds"), 5.0).toDouble();
    return std::isfinite(seconds) ? std::clamp(seconds, 0.0, kMaxSeconds) : 0.0;
}

bool WriteAll(QSaveFile& file, const char* data, qint64 size) {
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

// The rename that commits a copy is durable only once its folder is.
void SyncFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) ::fsync(fd), ::close(fd);
#else
    Q_UNUSED(folder);
#endif
}

}  // namespace

CAutosave::CAutosave(CVarnelDoc& doc, std::function<bool()> bBusy, std::function<QString()> modelPath, QObject* parent)
    : QObject(parent), m_doc(doc), m_bBusy(std::move(bBusy)), m_modelPath(std::move(modelPath)) {
    m_dSeconds = ReadSeconds();
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CAutosave::OnTimer);
    m_pool.setMaxThreadCount(1);  // copies land in the order they were made
    m_pool.setExpiryTimeout(-1);
}

CAutosave::~CAutosave() { m_pool.waitForDone(); }

QString CAutosave::CopyPath() const { return m_strId.isEmpty() ? QString() : m_strFolder + '/' + m_strId + ".vrn"; }

void CAutosave::NoteChange() {
    if (m_timer.isActive()) {
        // A steady stream of posted events can hold timers back for good;
        // a change past the deadline asks for the copy through that stream.
        if (m_deadline.hasExpired()) QMetaObject::invokeMethod(this, &CAutosave::OnTimer, Qt::QueuedConnection);
        return;
    }
    m_dSeconds = ReadSeconds();
    if (m_dSeconds > 0 && m_doc.IsModified()) Schedule(static_cast<int>(std::ceil(m_dSeconds * 1000)));
}

void CAutosave::Schedule(int nMs) {
    m_timer.start(nMs);
    m_deadline.setRemainingTime(nMs);
}

void CAutosave::OnTimer() {
    m_timer.stop();
    if (!m_doc.IsModified()) {
        // Undone back to the saved state: the file holds the model, a copy
        // would offer what the user no longer has.
        if (m_bHasCopy) Discard();
        return;
    }
    if (m_bWriting || (m_bBusy && m_bBusy())) {
        Schedule(kRetryMs);
        return;
    }
    WriteNow();
}

void CAutosave::StartSession() {
    m_strFolder = RecoveryFolder();
    m_strId = QString("%1-%2").arg(QCoreApplication::applicationPid()).arg(QDateTime::currentMSecsSinceEpoch());
    m_pLock = MakeLiveLock(m_strFolder + '/' + m_strId + ".lock");
    m_pLock->tryLock(0);  // a fresh name: only a failing disk refuses it, and the write will say so
}

void CAutosave::WriteNow() {
    Bytes bytes;
    try {
        bytes = std::make_shared<std::vector<uint8_t>>(m_doc.Store(std::move(m_spare)));
    } catch (const CFileError& error) {
        emit Failed(QString::fromUtf8(error.what()));
        return;
    }
    if (m_strId.isEmpty()) StartSession();
    const QByteArray meta = RecoveryMetaJson({m_modelPath ? m_modelPath() : QString(),
                                              QCoreApplication::applicationPid(), QDateTime::currentDateTimeUtc()});
    // Only a listener (the kill test's record) pays for a copy of the bytes.
    if (isSignalConnected(QMetaMethod::fromSignal(&CAutosave::Snapshot)))
        emit Snapshot(QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())));
    m_bWriting = m_bHasCopy = true;
    uint64_t nGeneration = 0;
    {
        const std::lock_guard lock(m_commitMutex);
        nGeneration = m_nGeneration;
    }
    const QString base = m_strFolder + '/' + m_strId;
    m_pool.start([this, nGeneration, base, bytes, meta] { Write(nGeneration, base, bytes, meta); });
}

// On the worker. The metadata goes first: a copy never lands without it.
void CAutosave::Write(uint64_t nGeneration, const QString& base, const Bytes& bytes, const QByteArray& meta) {
    QSaveFile metaFile(base + ".json"), copy(base + ".vrn");
    bool bOk = metaFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
               WriteAll(metaFile, meta.constData(), meta.size()) &&
               copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
               WriteAll(copy, reinterpret_cast<const char*>(bytes->data()), static_cast<qint64>(bytes->size()));
    {
        const std::lock_guard lock(m_commitMutex);
        if (nGeneration != m_nGeneration) {
            metaFile.cancelWriting(), copy.cancelWriting();
            bOk = true;  // dropped, not failed
        } else {
            bOk = bOk && metaFile.commit() && copy.commit();
            if (bOk) SyncFolder(QFileInfo(base).path());
        }
    }
    const QString error = bOk ? QString() : (copy.errorString().isEmpty() ? metaFile.errorString() : copy.errorString());
    if (!bOk) metaFile.cancelWriting(), copy.cancelWriting();
    QMetaObject::invokeMethod(this, [this, error, base, bytes] {
        m_bWriting = false;
        m_spare = std::move(*bytes);
        if (!error.isEmpty()) emit Failed(Message(EMessage::CopyCannotWrite, {base + ".vrn", error}));
    }, Qt::QueuedConnection);
}

void CAutosave::Discard() {
    m_timer.stop();
    if (!m_bHasCopy) return;
    emit Discarded();  // first, as a copy is noted before it lands
    {
        const std::lock_guard lock(m_commitMutex);
        ++m_nGeneration;
        RemoveRecoveryFiles(m_strFolder, m_strId);
    }
    m_pLock.reset();  // the next copy starts a session of its own
    m_strId.clear();
    m_bHasCopy = false;
}

void CAutosave::Adopt(CRecoveryEntry& entry) {
    m_pool.waitForDone();  // the worker must not write under the old name after this
    Discard();
    for (const QString& id : entry.olderIds) RemoveRecoveryFiles(entry.strFolder, id);
    m_strFolder = entry.strFolder;
    m_strId = entry.strId;
    m_pLock = entry.locks.front();
    entry.locks.clear();
    m_bHasCopy = true;
}
