// varnel render / varnel graphs: draw a model's sheet or its graphs window
// into a PNG or SVG file without any display, through the same painting
// code the windows use.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "base/OptionReader.h"
#include "document/VarnelDoc.h"
#include "exchange/CommandLineModel.h"
#include "graphs/Graphic.h"
#include "graphs/GraphsChoices.h"
#include "interpreter/BuildGraphs.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/frame/DesktopMain.h"
#include "shell/view/SheetPainter.h"

namespace {

enum : int { EXIT_OK = 0, EXIT_INTERPRETER = 1, EXIT_BAD_INPUT = 2, EXIT_STEP_LIMIT = 3 };

// A PNG of the sheet is one allocation; keep it within what a picture can be.
constexpr int kMaxImageSide = 32767;
constexpr int64_t kMaxImagePixels = 256LL * 1024 * 1024;

struct RenderArgs {
    std::string strModel;
    EPlotChoice plot = EPlotChoice::Stocks;
    std::string strOutput;
    uint64_t nMaxSteps = 0;
    std::vector<CValueOverride> overrides;  // graphs: --set NAME=VALUE
    GraphsChoices choices;                  // graphs: --legend, --common-scale, --round-ticks
    bool bSvg = false;
};

bool EndsWith(std::string text, const std::string& suffix) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// render takes the output only; graphs also runs the program, so it takes
// the step bound and value overrides as run does, and the window's choices
// (never the desktop's remembered ones, so a script draws the same
// picture on every machine).
bool ParseArgs(const std::vector<std::string>& args, bool bRuns, RenderArgs& out, std::ostream& err) {
    std::vector<COptionRule> rules = {TextOption("-o", out.strOutput)};
    if (bRuns) {
        rules.push_back(CountOption("--max-steps", out.nMaxSteps));
        rules.push_back(ValueOverrideOption("--set", out.overrides));
        rules.push_back(PlotOption(out.plot));
        rules.push_back(FlagOption("--legend", out.choices.bLegend));
        rules.push_back(FlagOption("--common-scale", out.choices.bCommonScale));
        rules.push_back(FlagOption("--round-ticks", out.choices.bRoundTicks));
    }
    const COptionResult read = ReadOptions(args, rules);
    if (!read.Ok()) {
        err << (bRuns ? "varnel graphs: " : "varnel render: ") << read.strError << "\n";
        return false;
    }
    if (read.positionals.size() > 1) {
        err << "varnel: unexpected argument '" << read.positionals[1] << "'\n";
        return false;
    }
    if (!read.positionals.empty()) out.strModel = read.positionals[0];
    if (out.strModel.empty() || out.strOutput.empty()) {
        err << "varnel: give a model file and -o OUT.png or -o OUT.svg\n";
        return false;
    }
    out.bSvg = EndsWith(out.strOutput, ".svg");
    if (!out.bSvg && !EndsWith(out.strOutput, ".png")) {
        err << "varnel: the output file must end in .png or .svg: " << out.strOutput << "\n";
        return false;
    }
    return true;
}

bool LoadModel(const RenderArgs& args, CVarnelDoc& doc, std::ostream& err) {
    return LoadCommandLineModel(args.strModel, args.plot, doc, "graphs", err);
}

QtMessageHandler g_pfnPreviousHandler = nullptr;

// Headless runs have no session: Qt's note about a missing runtime
// directory is noise on the command's stderr.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
    if (g_pfnPreviousHandler != nullptr)
        g_pfnPreviousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// A QApplication for painting; with no display the offscreen platform.
void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    g_pfnPreviousHandler = qInstallMessageHandler(QuietMessages);
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    if (!hasDisplay && std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "varnel";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// Paints a picture of the given size into the output file.
int WritePicture(const RenderArgs& args, QSize size, const std::function<void(QPainter&)>& paint,
                 std::ostream& err) {
    const QString path = QString::fromStdString(args.strOutput);
    if (args.bSvg) {
        QSvgGenerator generator;
        generator.setFileName(path);
        generator.setSize(size);
        generator.setResolution(96);  // one sheet unit is one CSS pixel
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setTitle(QStringLiteral("Varnel"));
        QPainter painter;
        if (!painter.begin(&generator)) {
            err << "varnel: cannot write " << args.strOutput << "\n";
            return EXIT_BAD_INPUT;
        }
        paint(painter);
        painter.end();
        return EXIT_OK;
    }
    if (size.width() > kMaxImageSide || size.height() > kMaxImageSide ||
        int64_t{size.width()} * size.height() > kMaxImagePixels) {
        err << "varnel: the picture of " << size.width() << " by " << size.height()
            << " pixels is too large for PNG; write SVG instead\n";
        return EXIT_BAD_INPUT;
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        err << "varnel: not enough memory for a picture of " << size.width() << " by " << size.height() << "\n";
        return EXIT_BAD_INPUT;
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    if (!image.save(path, "PNG")) {
        err << "varnel: cannot write " << args.strOutput << "\n";
        return EXIT_BAD_INPUT;
    }
    return EXIT_OK;
}

}  // namespace

int RenderCommand(const std::vector<std::string>& args, std::ostream& err) {
    RenderArgs parsed;
    if (!ParseArgs(args, false, parsed, err)) return EXIT_BAD_INPUT;
    CVarnelDoc doc;
    if (!LoadModel(parsed, doc, err)) return EXIT_BAD_INPUT;
    EnsureApplication();
    // The sheet with its frame one pixel outside it.
    const int64_t width = int64_t{std::max(0, doc.m_nWidth)} + 2;
    const int64_t height = int64_t{std::max(0, doc.m_nHeight)} + 2;
    const QSize size(static_cast<int>(std::min<int64_t>(width, INT32_MAX)),
                     static_cast<int>(std::min<int64_t>(height, INT32_MAX)));
    return WritePicture(parsed, size, [&](QPainter& painter) {
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        painter.translate(1, 1);
        DrawDocumentSheet(doc, painter, CRect{0, 0, size.width() - 2, size.height() - 2});
    }, err);
}

int GraphsCommand(const std::vector<std::string>& args, std::ostream& err) {
    RenderArgs parsed;
    if (!ParseArgs(args, true, parsed, err)) return EXIT_BAD_INPUT;
    CVarnelDoc doc;
    if (!LoadModel(parsed, doc, err)) return EXIT_BAD_INPUT;
    RunControl control;
    control.nMaxSteps = parsed.nMaxSteps;
    BuildGraphsResult result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control, parsed.overrides);
    if (result.outcome == RunOutcome::UnknownName) {
        err << "varnel: --set: '" << Cp1251ToUtf8(result.strUnknownName)
            << "' names no level, rate, variable, expert estimate or switch of the model\n";
        return EXIT_BAD_INPUT;
    }
    if (result.outcome == RunOutcome::Error) {
        err << Cp1251ToUtf8(result.strError) << "\n";
        return EXIT_INTERPRETER;
    }
    if (result.outcome != RunOutcome::Ok) {
        err << "varnel: the program ran more than " << parsed.nMaxSteps << " statements and was stopped\n";
        return EXIT_STEP_LIMIT;
    }
    EnsureApplication();
    CGraphsDlg window;
    for (auto& series : result.series) window.Graphics().Add(std::move(series));
    window.Plot()->SetChoices(parsed.choices);
    window.InitDialog();
    window.ensurePolished();
    return WritePicture(parsed, window.size(), [&](QPainter& painter) {
        painter.fillRect(window.rect(), window.palette().color(QPalette::Window));
        window.render(&painter);
    }, err);
}
