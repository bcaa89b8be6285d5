// CAutosave: keeps a copy of the model with unsaved changes in the recovery
// folder, at most a few seconds behind the first change, so a dead process
// loses no more than those seconds. The model is serialized on the
// interface thread and written on a worker of its own; a copy that is no
// longer needed goes at once, and a write still under way then never lands.
#pragma once
#include <QDeadlineTimer>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>
#include <mutex>

#include "shell/frame/RecoveryFiles.h"

class CVarnelDoc;

class CAutosave : public QObject {
    Q_OBJECT
public:
    // bBusy tells when a drag or a dialog is under way: the copy waits for
    // its end. modelPath gives the model's own file, empty for untitled.
    CAutosave(CVarnelDoc& doc, std::function<bool()> bBusy, std::function<QString()> modelPath,
              QObject* parent = nullptr);
    ~CAutosave() override;  // lets the write under way finish

    // The delay from the settings (autosave/seconds, 0 off, fractions allowed).
    double Seconds() const { return m_dSeconds; }
    // Every change of the model: the first since the last copy starts the
    // countdown, later ones do not put it off.
    void NoteChange();
    // Serializes the model now and hands it to the worker (the timer's work).
    void WriteNow();
    // Deletes the copy: the model was saved, closed unsaved, or replaced.
    void Discard();
    // Continues with the copy of a recovered model as this session's own.
    void Adopt(CRecoveryEntry& entry);
    // Waits until the worker has nothing left to do.
    void WaitForWrites() { m_pool.waitForDone(); }
    QString CopyPath() const;

signals:
    // The bytes about to be written, and the copy about to go, in order.
    void Snapshot(const QByteArray& bytes);
    void Discarded();
    void Failed(const QString& message);

private:
    void OnTimer();
    void Schedule(int nMs);
    void StartSession();
    using Bytes = std::shared_ptr<std::vector<uint8_t>>;
    void Write(uint64_t nGeneration, const QString& base, const Bytes& bytes, const QByteArray& meta);

    CVarnelDoc& m_doc;
    std::function<bool()> m_bBusy;
    std::function<QString()> m_modelPath;
    double m_dSeconds = 5;
    QTimer m_timer;
    QDeadlineTimer m_deadline;
    QString m_strFolder, m_strId;
    std::shared_ptr<QLockFile> m_pLock;  // tells a new start that this session lives
    bool m_bWriting = false;  // one write at a time keeps the last two copies the only candidates
    bool m_bHasCopy = false;
    // A discard and a commit exclude each other; a write made before the
    // latest discard is dropped.
    std::mutex m_commitMutex;
    uint64_t m_nGeneration = 0;
    QThreadPool m_pool;
    // The last copy's buffer, back from the worker: its pages are already
    // the process's, so the next copy costs the interface thread less.
    std::vector<uint8_t> m_spare;
};
