// Direct printing: an unshown view paints the sheet into the printer.
#include "shell/frame/PrintModel.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "document/VarnelDoc.h"
#include "shell/view/VarnelView.h"
#include "shell/view/QtText.h"

QString PrintModel(CVarnelDoc& doc, const QString& strTitle, const QString& strPrinterName) {
    const QPrinterInfo info =
        strPrinterName.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(strPrinterName);
    if (info.isNull())
        return strPrinterName.isEmpty() ? Message(EMessage::NoDefaultPrinter)
                                        : Message(EMessage::PrinterNotFound, {strPrinterName});
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(strTitle);
    CVarnelView view;
    view.SetDocument(&doc);
    view.OnInitialUpdate();
    QPainter painter;
    if (!painter.begin(&printer)) return Message(EMessage::CannotStartPrinting, {info.printerName()});
    // The sheet is in screen pixels; keep its size on paper.
    const double scale = printer.resolution() / 96.0;
    painter.scale(scale, scale);
    view.DrawSheet(painter);
    painter.end();
    return {};
}
