// varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose]
// [--hang-seconds T]: one run of the monkey on the offscreen platform. A
// crash, a sanitizer report, a hang or a failed check prints the seed and
// event number that replay it; tools/monkey repeats runs for long soaks.
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "Monkey.h"
#include "shell/frame/VarnelApp.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// UBSan keeps a death callback of its own runtime; an abort reaches the
// signal handler below instead, which names the event.
extern "C" const char* __ubsan_default_options() { return "abort_on_error=1:print_stacktrace=1"; }

namespace {

#if defined(__SANITIZE_ADDRESS__)
void OnDeath() { PrintReplay("the sanitizer report above"); }
#endif

void OnSignal(int signal) {
    PrintReplay(strsignal(signal));
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallCrashReports() {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(OnDeath);
    std::signal(SIGABRT, OnSignal);  // the sanitizers leave these to us
#else
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(signal, OnSignal);
#endif
}

// A run that stops making events is a hang: report it rather than wait.
void StartWatchdog(int seconds) {
    std::thread([seconds] {
        uint64_t last = ~uint64_t{0};
        int still = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const uint64_t now = g_monkeyWhere.nEvent.load();
            still = now == last ? still + 1 : 0;
            last = now;
            if (still >= seconds) {
                PrintReplay(("no event for " + std::to_string(seconds) + " seconds: a hang").c_str());
                std::_Exit(1);
            }
        }
    }).detach();
}

// The offscreen platform's notes on what it cannot do are no news.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support") || message.contains("XDG_RUNTIME_DIR")) return;
    std::fprintf(stderr, "event %llu: %s\n", static_cast<unsigned long long>(g_monkeyWhere.nEvent.load()),
                 qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

int Usage() {
    std::fprintf(stderr, "usage: varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose] [--hang-seconds T]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CMonkeyOptions options;
    int hangSeconds = 120;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool bValue = i + 1 < argc;
        if (word == "--model" && bValue) options.strModel = QString::fromLocal8Bit(argv[++i]);
        else if (word == "--seed" && bValue) options.nSeed = std::stoull(argv[++i]);
        else if (word == "--events" && bValue) options.nEvents = std::stoull(argv[++i]);
        else if (word == "--hang-seconds" && bValue) hangSeconds = std::stoi(argv[++i]);
        else if (word == "--verbose") options.bVerbose = true;
        else return Usage();
    }
    if (options.strModel.isEmpty()) return Usage();

    // The recent-file list and every other setting stay in a folder of
    // this run, so runs replay alike and the user's settings stay untouched.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.filePath("config").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallCrashReports();
    StartWatchdog(hangSeconds);

    qInstallMessageHandler(QuietPlatformNotes);
    QApplication app(argc, argv);
    SetApplicationIdentity();
    InstallFrameworkTranslations();
    CMonkey monkey(options);
    return monkey.Run();
}
