// Parsing of the desktop command line.
#include "shell/frame/CommandLine.h"
#include "shell/view/QtText.h"

namespace {

bool IsSwitch(const QString& arg, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (arg.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

CCommandLineInfo ParseCommandLine(const QStringList& args) {
    CCommandLineInfo info;
    QStringList plain;
    for (const QString& arg : args) {
        if (IsSwitch(arg, {"/p", "-p", "--print"}))
            info.m_nShellCommand = CCommandLineInfo::FilePrint;
        else if (IsSwitch(arg, {"/pt", "-pt", "--print-to"}))
            info.m_nShellCommand = CCommandLineInfo::FilePrintTo;
        else if (arg.startsWith("--") || (arg.startsWith('-') && arg.size() > 1))
            info.m_strError = Message(EMessage::UnknownArgument, {arg});
        else
            plain.append(arg);
    }
    if (!plain.isEmpty()) info.m_strFileName = plain[0];
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo) info.m_strPrinterName = plain.value(1);
    if (info.m_nShellCommand == CCommandLineInfo::FileNew && !info.m_strFileName.isEmpty())
        info.m_nShellCommand = CCommandLineInfo::FileOpen;
    const bool bPrinting = info.m_nShellCommand == CCommandLineInfo::FilePrint ||
                           info.m_nShellCommand == CCommandLineInfo::FilePrintTo;
    if (bPrinting && info.m_strFileName.isEmpty()) info.m_strError = "Не указана модель для печати.";
    if (info.m_nShellCommand == CCommandLineInfo::FilePrintTo && info.m_strPrinterName.isEmpty())
        info.m_strError = "Не указан принтер.";
    return info;
}
