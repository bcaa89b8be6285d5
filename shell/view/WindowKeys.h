// The keys that belong to one window (the graphs window, the program
// editor, the experiment window, the drawing sheet), read from the key
// table resources/shortcuts.json, which the manual's key chapter is checked
// against.
#pragma once
#include <QKeySequence>
#include <QList>
#include <QString>

// The keys bound to a window's action; empty when the table has none.
QList<QKeySequence> WindowKeys(const QString& window, const QString& action);
// The action a pressed key sequence stands for in the window, or empty.
QString WindowKeyAction(const QString& window, const QKeySequence& pressed);
