// Finding, reading and removing the copies autosave leaves.
#include "shell/frame/RecoveryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>

#include "archive/FileError.h"
#include "document/VarnelDoc.h"

namespace {

// A copy that loads is worth offering; anything else is set aside.
bool IsReadableModel(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    try {
        CVarnelDoc doc;
        doc.Load(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())));
    } catch (const CFileError&) {
        return false;
    }
    return true;
}

QString SetAside(const QString& folder, const QString& id) {
    QDir(folder).mkdir(QStringLiteral("damaged"));
    QString target = folder + "/damaged/" + id + ".vrn";
    for (int n = 2; QFileInfo::exists(target); ++n) target = QString("%1/damaged/%2-%3.vrn").arg(folder, id).arg(n);
    QFile::rename(folder + '/' + id + ".vrn", target);
    QFile::rename(folder + '/' + id + ".json", target.chopped(4) + ".json");
    return target;
}

CRecoveryMeta ReadMeta(const QString& folder, const QString& id) {
    CRecoveryMeta meta;
    QFile file(folder + '/' + id + ".json");
    if (!file.open(QIODevice::ReadOnly) || !ReadRecoveryMeta(file.readAll(), meta))
        meta = {QString(), 0, QFileInfo(folder + '/' + id + ".vrn").lastModified()};  // the copy is still worth offering
    return meta;
}

}  // namespace

QString RecoveryFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
    QDir().mkpath(folder);
    return folder;
}

QByteArray RecoveryMetaJson(const CRecoveryMeta& meta) {
    QJsonObject object{{"model", meta.strModelPath.isEmpty() ? QStringLiteral("untitled") : meta.strModelPath},
                       {"pid", meta.nPid},
                       {"time", meta.time.toUTC().toString(Qt::ISODateWithMs)}};
    return QJsonDocument(object).toJson();
}

bool ReadRecoveryMeta(const QByteArray& json, CRecoveryMeta& meta) {
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    if (!object.value("model").isString()) return false;
    const QString model = object.value("model").toString();
    meta.strModelPath = model == "untitled" ? QString() : model;
    meta.nPid = object.value("pid").toInteger();
    meta.time = QDateTime::fromString(object.value("time").toString(), Qt::ISODateWithMs);
    return true;
}

std::unique_ptr<QLockFile> MakeLiveLock(const QString& path) {
    auto pLock = std::make_unique<QLockFile>(path);
    pLock->setStaleLockTime(0);  // a model may stay open for days
    return pLock;
}

QDateTime CRecoveryEntry::WrittenAt() const { return QFileInfo(ModelCopy()).lastModified(); }

CRecoveryScan FindRecoveries(const QString& folder) {
    CRecoveryScan scan;
    std::vector<CRecoveryEntry> found;
    QStringList ids;
    for (const QString& name : QDir(folder).entryList({"*.json", "*.lock"}, QDir::Files))
        if (!ids.contains(name.section('.', 0, 0))) ids << name.section('.', 0, 0);
    for (const QString& id : ids) {
        std::shared_ptr<QLockFile> pLock = MakeLiveLock(folder + '/' + id + ".lock");
        if (!pLock->tryLock(0)) continue;  // its session still runs
        if (!QFileInfo::exists(folder + '/' + id + ".json") || !QFileInfo::exists(folder + '/' + id + ".vrn")) {
            RemoveRecoveryFiles(folder, id);  // it died before its first copy: nothing to lose
            continue;                         // and its lock goes with pLock
        }
        if (!IsReadableModel(folder + '/' + id + ".vrn")) {
            scan.setAside << SetAside(folder, id);
            continue;
        }
        found.push_back({folder, id, ReadMeta(folder, id), {}, {pLock}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.WrittenAt() > b.WrittenAt(); });
    for (CRecoveryEntry& entry : found) {
        auto same = std::find_if(scan.entries.begin(), scan.entries.end(), [&](const CRecoveryEntry& e) {
            return !e.meta.strModelPath.isEmpty() && e.meta.strModelPath == entry.meta.strModelPath;
        });
        if (same == scan.entries.end()) {
            scan.entries.push_back(std::move(entry));
        } else {
            same->olderIds << entry.strId;
            same->locks.push_back(entry.locks.front());
        }
    }
    return scan;
}

void RemoveRecoveryFiles(const QString& folder, const QString& id) {
    QDir dir(folder);
    // A killed write may leave the save file's temporary beside the copy.
    for (const QString& name : dir.entryList({id + ".vrn", id + ".json", id + ".vrn.*", id + ".json.*"}, QDir::Files))
        dir.remove(name);
}

void RemoveRecovery(CRecoveryEntry& entry) {
    RemoveRecoveryFiles(entry.strFolder, entry.strId);
    for (const QString& id : entry.olderIds) RemoveRecoveryFiles(entry.strFolder, id);
    for (auto& pLock : entry.locks) pLock->unlock();
    entry.locks.clear();
}
