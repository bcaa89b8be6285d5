// The monkey: a seeded generator drives the real main window, offscreen,
// with random input, and at random points checks that the model it saves
// loads back the same and its program still runs or fails with a message.
// A fault names the seed and the event number that replay it.
#pragma once
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "MonkeyDialogs.h"
#include "MonkeyRandom.h"

class CMainFrame;
class CVarnelView;

struct CMonkeyOptions {
    QString strModel;
    uint64_t nSeed = 1;
    uint64_t nEvents = 3000;
    bool bVerbose = false;
};

// Where the run is, for the report of a crash or a hang.
struct CMonkeyWhere {
    std::atomic<uint64_t> nSeed{0};
    std::atomic<uint64_t> nEvent{0};
    char szModel[1024] = {};
};
extern CMonkeyWhere g_monkeyWhere;
// Prints the seed and event number of a fault and how to replay it.
void PrintReplay(const char* what);

class CMonkey : public QObject {
public:
    explicit CMonkey(const CMonkeyOptions& options);
    ~CMonkey() override;
    // Runs the events; 0 when every check held (a fault ends the process).
    int Run();

private:
    void Tick();
    void Finish();
    void MainWindowEvent(QString& described);
    void MouseOnView(QString& described);
    void Scroll(QString& described);
    void Command(QString& described);
    void CheckRoundTrip();
    [[noreturn]] void Fault(const QString& what);
    void PrepareFiles();
    CVarnelView* View() const;

    CMonkeyOptions m_options;
    CMonkeyRandom m_random;
    QTemporaryDir m_dir;
    CMonkeyDialogs m_dialogs;
    std::unique_ptr<CMainFrame> m_pFrame;
    std::vector<int> m_commands;
    int m_nDepth = 0;  // events under way: a dialog's loop runs inside them
    uint64_t m_nEvent = 0;
    int m_nRoundTrips = 0;
    bool m_bFinished = false;
};
