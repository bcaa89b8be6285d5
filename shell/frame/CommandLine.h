// The desktop command line: nothing (a new model), a model file to open,
// or a print switch with the model to print. Qt's own options have been
// taken out by QApplication before this sees the arguments.
#pragma once
#include <QString>
#include <QStringList>

struct CCommandLineInfo {
    enum Shell { FileNew, FileOpen, FilePrint, FilePrintTo };
    Shell m_nShellCommand = FileNew;
    QString m_strFileName;
    QString m_strPrinterName;  // FilePrintTo only
    QString m_strError;        // set when the line cannot be carried out
};

// args without the program name. "/p" and "-p"/"--print" print the file
// that follows; "/pt" and "--print-to" take the file, then the printer (a
// driver and a port after it are accepted and ignored). An absolute path
// such as "/home/me/a.vrn" is a file name, not a switch.
CCommandLineInfo ParseCommandLine(const QStringList& args);
