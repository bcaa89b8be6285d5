// The kill test: the monkey edits a model in the real main window with a short autosave, dies by SIGKILL at a
// random moment, and a restart accepts the recovery. The recovered dump must be one of the last two states the
// monkey noted before its copies landed (a kill between the rename and the note leaves either), the recovered
// model carries the mark of unsaved work, and after the restart closes cleanly no copy is left behind.
//   varnel_killtest --runs N --seed S --monkey PATH --model MODEL.vrn [--autosave SECONDS] [--max-wait SECONDS]
//   varnel_killtest --restart OUT.json   (one restart, as the parent runs it)
#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <random>

#include "app/cli/ModelJson.h"
#include "document/VarnelDoc.h"
#include "shell/frame/Autosave.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/RecoveryDlg.h"
#include "shell/frame/VarnelApp.h"

namespace {

// The restart: answers every question, restores the one model offered, notes what it got, closes unsaved.
int Restart(const QString& out) {
    QJsonObject result{{"recovered", false}};
    QStringList boxes;
    SetMessageBoxHook([&boxes](const CMessageBoxRequest& r) {
        if (r.icon == QMessageBox::Question) return QMessageBox::No;  // closing: do not save
        // A kill just after a save and before its copy went leaves a model file newer than the copy: a warning
        // that is right to give, and the copy restored is one of the last two notes.
        if (r.buttons & QMessageBox::Yes) return QMessageBox::Yes;
        boxes << r.strText;
        return r.buttons & QMessageBox::Ignore ? QMessageBox::Ignore : QMessageBox::Ok;
    });
    {
        CMainFrame frame;
        frame.EnableSafeguards();
        frame.show();
        QTimer::singleShot(0, &frame, [&result] {
            auto* pDialog = qobject_cast<CRecoveryDlg*>(QApplication::activeModalWidget());
            if (!pDialog) return;
            const auto restore = pDialog->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
            result["offered"] = int(restore.size() / 3);
            restore.front()->click();
        });
        frame.OfferRecovery();
        if (!frame.Autosave()->CopyPath().isEmpty()) {
            result["recovered"] = true;
            result["modified"] = frame.Document().IsModified();
            result["dump"] = QString::fromStdString(ModelFileToJson(frame.Document().Store()));
        }
        frame.close();
    }
    SetMessageBoxHook({});
    result["boxes"] = QJsonArray::fromStringList(boxes);
    QFile file(out);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(result).toJson()) > 0 ? 0 : 1;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Note { int n = -1; qint64 ms = 0; bool bCopy = false; };

// The complete lines of the monkey's log, the last two of them.
std::vector<Note> LastNotes(const QString& dir) {
    std::vector<Note> notes;
    for (const QByteArray& line : ReadAll(dir + "/log.txt").split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 3 && (f[2] == "copy" || f[2] == "none")) notes.push_back({f[0].toInt(), f[1].toLongLong(), f[2] == "copy"});
    }
    // A copy is noted before it lands and a discard before its copy goes, so
    // the disk holds the last or the one before; after a copy still being
    // written when a discard came (dropped, never landed) the one before that.
    const bool bDroppedCopy = notes.size() >= 3 && !notes.back().bCopy && notes[notes.size() - 2].bCopy;
    const size_t keep = bDroppedCopy ? 3 : 2;
    if (notes.size() > keep) notes.erase(notes.begin(), notes.end() - static_cast<std::ptrdiff_t>(keep));
    return notes;
}

class KillTest {
public:
    KillTest(QStringList args) : m_args(std::move(args)) {}
    QString Arg(const QString& name, const QString& fallback = {}) const {
        const qsizetype i = m_args.indexOf(name);
        return i >= 0 && i + 1 < m_args.size() ? m_args[i + 1] : fallback;
    }

    int Run() {
        const int runs = Arg("--runs", "1").toInt();
        const quint64 seed = Arg("--seed", "1").toULongLong();
        std::mt19937_64 random(seed);
        for (int run = 1; run <= runs; ++run) {
            QTemporaryDir dir;
            const QString fault = OneRun(dir.path(), seed + run - 1, random);
            if (!fault.isEmpty()) {
                dir.setAutoRemove(false);  // the monkey's events, its notes and the copies stay for a look
                std::printf("%s\nkilltest: the run's files are in %s\n", ReadAll(dir.path() + "/monkey.txt").right(3000).constData(), qPrintable(dir.path()));
                std::printf("killtest: FAULT in run %d of seed %llu (monkey seed %llu): %s\n", run, (unsigned long long)seed,
                            (unsigned long long)(seed + run - 1), qPrintable(fault));
                return 1;
            }
            if (run % 50 == 0) std::printf("killtest: %d kills so far, %d recoveries\n", run, m_recovered), std::fflush(stdout);
        }
        std::printf("killtest: %d kills, %d recoveries, 0 models lost or damaged, worst loss %.2f s, no copy left after a clean exit\n",
                    runs, m_recovered, m_worstLoss / 1000.0);
        return 0;
    }

private:
    QProcessEnvironment Environment(const QString& dir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
            const QString path = dir + '/' + QString(name).toLower();
            QDir().mkpath(path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            env.insert(name, path);
        }
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    QString OneRun(const QString& dir, quint64 monkeySeed, std::mt19937_64& random) {
        const QProcessEnvironment env = Environment(dir);
        QDir().mkpath(dir + "/record");
        QProcess monkey;
        monkey.setProcessEnvironment(env);
        monkey.setWorkingDirectory(dir);  // what its file dialogs write lands in the run's folder
        monkey.setStandardOutputFile(dir + "/monkey.txt");  // a pipe nobody reads would stop it
        monkey.setProcessChannelMode(QProcess::MergedChannels);
        monkey.start(QFileInfo(Arg("--monkey")).absoluteFilePath(), {"--model", QFileInfo(Arg("--model")).absoluteFilePath(), "--seed", QString::number(monkeySeed), "--events", "100000000", "--verbose",
                                       "--record", dir + "/record", "--autosave", Arg("--autosave", "0.1")});
        if (!monkey.waitForStarted()) return "the monkey did not start: " + monkey.errorString();
        QElapsedTimer clock;
        clock.start();
        while (LastNotes(dir + "/record").empty() && monkey.state() == QProcess::Running && clock.elapsed() < 60000)
            monkey.waitForFinished(20);
        const int wait = 200 + int(random() % quint64(Arg("--max-wait", "3").toDouble() * 1000 + 1));
        monkey.waitForFinished(wait);
        // Every other run dies soon after a copy, so that most restarts have something to recover.
        for (clock.start(); random() % 2 && clock.elapsed() < 10000 && monkey.state() == QProcess::Running;)
            if (const auto notes = LastNotes(dir + "/record"); !notes.empty() && notes.back().bCopy) {
                monkey.waitForFinished(int(random() % 300));
                break;
            } else {
                monkey.waitForFinished(10);
            }
        if (monkey.state() != QProcess::Running)
            return "the monkey ended before the kill";
        ::kill(pid_t(monkey.processId()), SIGKILL);
        const qint64 killedAt = QDateTime::currentMSecsSinceEpoch();
        monkey.waitForFinished(-1);

        QProcess restart;
        restart.setProcessEnvironment(env);
        restart.setProcessChannelMode(QProcess::MergedChannels);
        restart.start(QCoreApplication::applicationFilePath(), {"--restart", dir + "/restart.json"});
        if (!restart.waitForFinished(600000)) return "the restart did not end within 600 s";  // a loaded machine is slow, not wrong
        if (restart.exitStatus() != QProcess::NormalExit || restart.exitCode() != 0)
            return "the restart failed:\n" + QString::fromLocal8Bit(restart.readAll().right(4000));
        const QJsonObject got = QJsonDocument::fromJson(ReadAll(dir + "/restart.json")).object();
        return Compare(dir, got, killedAt);
    }

    QString Compare(const QString& dir, const QJsonObject& got, qint64 killedAt) {
        const bool bRecovered = got["recovered"].toBool();
        if (!got["boxes"].toArray().isEmpty()) return "the restart said: " + got["boxes"].toArray().first().toString();
        if (bRecovered && (!got["modified"].toBool() || got["offered"].toInt() != 1)) return "the recovered model is not marked modified, or more than one was offered";
        QString candidates;
        for (const Note& note : LastNotes(dir + "/record")) {
            const QByteArray state = note.bCopy ? ReadAll(QString("%1/record/state-%2.json").arg(dir).arg(note.n)) : QByteArray();
            if (bRecovered == note.bCopy && (!bRecovered || state == got["dump"].toString().toUtf8())) {
                m_recovered += bRecovered;
                if (bRecovered) m_worstLoss = std::max(m_worstLoss, killedAt - note.ms);
                return LeftOver(dir + "/xdg_data_home");
            }
            candidates += QString(" %1:%2").arg(note.n).arg(note.bCopy ? "copy" : "none");
        }
        return QString("the restart got %1, not one of the last notes (%2)").arg(bRecovered ? "a copy" : "nothing", candidates);
    }

    // After the restart closed unsaved, nothing of the copies may stay.
    static QString LeftOver(const QString& data) {
        QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains("/recovery/")) return "left after a clean exit: " + path;
        }
        return {};
    }

    QStringList m_args;
    int m_recovered = 0;
    qint64 m_worstLoss = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SetApplicationIdentity();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--restart") return Restart(args[2]);
    if (!args.contains("--monkey") || !args.contains("--model")) {
        std::fprintf(stderr, "usage: varnel_killtest --runs N --seed S --monkey PATH --model MODEL.vrn [--autosave SECONDS] [--max-wait SECONDS]\n");
        return 2;
    }
    return KillTest(args).Run();
}
