// Loads the JSON resource files of the desktop shell from the Qt resource
// system. Each file is parsed once and kept for the life of the process.
#include "shell/frame/Resources.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

static void InitResources() {
    // The resources live in a static library, so their registration object
    // has to be pulled in by hand.
    static const bool bDone = [] {
        Q_INIT_RESOURCE(varnel);
        return true;
    }();
    (void)bDone;
}

namespace {

QJsonObject ReadJsonResource(const QString& name) {
    InitResources();
    QFile file(":/resources/" + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

const QJsonObject& CachedJson(const QString& name) {
    static std::vector<std::pair<QString, QJsonObject>> cache;
    for (const auto& [key, value] : cache)
        if (key == name) return value;
    cache.emplace_back(name, ReadJsonResource(name));
    return cache.back().second;
}

CMenuItemRes ParseMenuItem(const QJsonObject& item) {
    CMenuItemRes res;
    res.strText = item.value("text").toString();
    res.nId = item.value("id").toInt();
    res.bSeparator = item.value("separator").toBool();
    res.bChecked = item.value("checked").toBool();
    res.bGrayed = item.value("grayed").toBool();
    for (const QJsonValue& child : item.value("items").toArray())
        res.items.push_back(ParseMenuItem(child.toObject()));
    return res;
}

QString PromptPart(int nId, int part) {
    const QString text = LoadResString(nId);
    const qsizetype lf = text.indexOf('\n');
    if (part == 0) return lf < 0 ? text : text.left(lf);
    return lf < 0 ? QString() : text.mid(lf + 1);
}

}  // namespace

std::vector<CMenuItemRes> LoadMenuResource(int nMenuId) {
    std::vector<CMenuItemRes> submenus;
    for (const QJsonValue& v : CachedJson("menus.json").value(QString::number(nMenuId)).toArray())
        submenus.push_back(ParseMenuItem(v.toObject()));
    return submenus;
}

QString LoadResString(int nId) {
    return CachedJson("strings.json").value("strings").toObject().value(QString::number(nId)).toString();
}

QString CommandPrompt(int nId) { return PromptPart(nId, 0); }
QString CommandToolTip(int nId) { return PromptPart(nId, 1); }

std::vector<CAcceleratorRes> LoadAcceleratorTable(int nTableId) {
    std::vector<CAcceleratorRes> table;
    for (const QJsonValue& v : CachedJson("accelerators.json").value(QString::number(nTableId)).toArray()) {
        const QJsonObject entry = v.toObject();
        table.push_back({QKeySequence(entry.value("keys").toString(), QKeySequence::PortableText),
                         entry.value("id").toInt()});
    }
    return table;
}

CToolBarRes LoadToolBarResource(int nToolBarId) {
    const QJsonObject obj = CachedJson("toolbar.json").value(QString::number(nToolBarId)).toObject();
    CToolBarRes res;
    res.nWidth = obj.value("width").toInt();
    res.nHeight = obj.value("height").toInt();
    res.image = QPixmap(obj.value("image").toString());
    for (const QJsonValue& v : obj.value("buttons").toArray()) res.buttons.push_back(v.toInt());
    return res;
}

QIcon LoadAppIcon() {
    InitResources();
    return QIcon(":/resources/IDR_VARNELTYPE.svg");
}
