// Model file reading and atomic writing.
#include "shell/frame/FileIo.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "archive/FileError.h"
#include "document/VarnelDoc.h"
#include "shell/view/QtText.h"

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString ReadReport(const QString& path, const CFileError& error) {
    switch (error.Kind()) {
        case FileErrorKind::InternalData:
            return Message(EMessage::FileInternalData);
        case FileErrorKind::BadFormat:
            return Message(EMessage::FileDamaged, {Shown(path), QString::fromUtf8(error.what())});
        case FileErrorKind::NotAModel:
            return Message(EMessage::FileNotAModel, {Shown(path)});
        case FileErrorKind::CannotOpen:
            break;
    }
    return Message(EMessage::FileCannotOpen, {Shown(path)});
}

// Qt's buffered write can take a short write for success and commit a cut
// file (seen with a full disk or a file-size limit), so write unbuffered and
// insist on every byte before the rename.
bool WriteAll(QSaveFile& file, const std::vector<uint8_t>& bytes) {
    const char* p = reinterpret_cast<const char*>(bytes.data());
    qint64 left = static_cast<qint64>(bytes.size());
    while (left > 0) {
        const qint64 written = file.write(p, left);
        if (written <= 0) return false;
        p += written;
        left -= written;
    }
    return file.error() == QFileDevice::NoError;
}

}  // namespace

QString LoadModelFile(const QString& path, CVarnelDoc& doc) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Message(EMessage::FileCannotOpenBecause, {Shown(path), file.errorString()});
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Message(EMessage::FileCannotRead, {Shown(path), file.errorString()});
    try {
        doc.Load(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
    } catch (const CFileError& error) {
        return ReadReport(path, error);
    }
    return {};
}

QString SaveModelFile(const QString& path, CVarnelDoc& doc) {
    const std::vector<uint8_t> bytes = doc.Store();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !WriteAll(file, bytes) || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Message(EMessage::FileCannotSave, {Shown(path), reason});
    }
    return {};
}
