// Where in the manual a word of the program or a message is described:
// the topic table that the build writes beside the help collection, one
// keyword (a statement, function, attribute or message pattern) per entry.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

struct CHelpTopic {
    QString strKeyword;
    QString strRef;  // a page of the manual, with its anchor
};

// Registers the compiled-in collection and topic table (once).
void InitManualResources();
// The table compiled into the application; empty when the build has none.
const std::vector<CHelpTopic>& HelpTopics();
// The page of the keyword that is exactly this word, or empty.
QString HelpRefForWord(const std::vector<CHelpTopic>& topics, const QString& word);
// The page of the message: its keyword with NAME, WORD, KEY, N, FILE and
// REASON standing for any text, the first line of a run's message left out.
QString HelpRefForMessage(const std::vector<CHelpTopic>& topics, const QString& message);
