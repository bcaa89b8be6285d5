// CModelLock: tells other running copies that this one has a model open.
// The lock lives in the runtime folder, named by a hash of the model's
// canonical path, so nothing is ever written beside the user's files; a
// lock whose process is gone is taken over without a word.
#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

class CModelLock {
public:
    enum class Outcome { Taken, HeldElsewhere, Unavailable };

    // The lock file of a model, existing or not.
    static QString LockPathOf(const QString& modelPath);
    // Locks the model and lets go of the one held before; Unavailable when
    // the runtime folder takes no lock (the model opens unlocked then).
    Outcome Take(const QString& modelPath);
    void Release();
    bool Holds(const QString& modelPath) const;

private:
    std::unique_ptr<QLockFile> m_pLock;
    QString m_strModel;  // canonical
};
