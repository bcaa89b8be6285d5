// The manual's topic table and the lookup of words and messages in it.
#include "shell/dialogs/HelpTopics.h"

#include <QFile>
#include <QRegularExpression>

// The collection lives in a static library, whose resources are
// registered only on request.
void InitManualResources() {
    static const bool bDone = [] {
        Q_INIT_RESOURCE(manual);
        return true;
    }();
    (void)bDone;
}

const std::vector<CHelpTopic>& HelpTopics() {
    InitManualResources();
    static const std::vector<CHelpTopic> topics = [] {
        std::vector<CHelpTopic> table;
        QFile file(":/help/topics.tsv");
        if (!file.open(QIODevice::ReadOnly)) return table;
        for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
            const qsizetype tab = line.indexOf('\t');
            if (tab > 0) table.push_back({line.left(tab), line.mid(tab + 1)});
        }
        return table;
    }();
    return topics;
}

QString HelpRefForWord(const std::vector<CHelpTopic>& topics, const QString& word) {
    for (const CHelpTopic& topic : topics)
        if (topic.strKeyword == word) return topic.strRef;
    return {};
}

QString HelpRefForMessage(const std::vector<CHelpTopic>& topics, const QString& message) {
    QString text = message;
    text.remove(QRegularExpression("^Interpretation error:\n"));
    text.replace('\n', ' ');
    static const QRegularExpression placeholder("\\b(NAME|WORD|KEY|N|FILE|REASON)\\b");
    for (const CHelpTopic& topic : topics) {
        QString pattern = QRegularExpression::escape(topic.strKeyword);
        pattern.replace(placeholder, ".*");
        if (QRegularExpression("^" + pattern + "$", QRegularExpression::DotMatchesEverythingOption).match(text).hasMatch())
            return topic.strRef;
    }
    return {};
}
