// Reading the window key table; see WindowKeys.h.
#include "shell/view/WindowKeys.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// Resources of a static library are registered only on request, and the
// request must stand outside any namespace.
static void InitKeyTable() { Q_INIT_RESOURCE(shortcuts); }

namespace {

struct CWindowKey {
    QString strWindow;
    QString strAction;
    QKeySequence keys;
};

const QList<CWindowKey>& Table() {
    static const QList<CWindowKey> table = [] {
        InitKeyTable();
        QList<CWindowKey> rows;
        QFile file(":/resources/shortcuts.json");
        if (!file.open(QIODevice::ReadOnly)) return rows;
        for (const QJsonValue& window : QJsonDocument::fromJson(file.readAll()).object().value("windows").toArray()) {
            const QString name = window.toObject().value("window").toString();
            for (const QJsonValue& key : window.toObject().value("keys").toArray())
                rows.push_back({name, key.toObject().value("action").toString(),
                                QKeySequence(key.toObject().value("keys").toString(), QKeySequence::PortableText)});
        }
        return rows;
    }();
    return table;
}

}  // namespace

QList<QKeySequence> WindowKeys(const QString& window, const QString& action) {
    QList<QKeySequence> keys;
    for (const CWindowKey& row : Table())
        if (row.strWindow == window && row.strAction == action) keys.push_back(row.keys);
    return keys;
}

QString WindowKeyAction(const QString& window, const QKeySequence& pressed) {
    for (const CWindowKey& row : Table())
        if (row.strWindow == window && row.keys == pressed) return row.strAction;
    return {};
}
