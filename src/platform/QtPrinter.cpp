#include "platform/QtPrinter.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/SafeFile.h"

namespace travenor {

QtPrinter::QtPrinter(QWidget* parent, QFont font)
    : parent(parent), font(std::move(font)), printer(std::make_unique<QPrinter>()) {}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::choosePrinter() {
    QPrintDialog dialog(printer.get(), parent);
    // The whole buffer is printed: no page range, selection or current page.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

std::string QtPrinter::printText(const std::string& text) {
    return printLines(*printer, QString::fromStdString(text), font).toStdString();
}

QString printLines(QPrinter& printer, const QString& text, const QFont& font) {
    const QString pdfPath = printer.outputFileName();
    if (printer.outputFormat() != QPrinter::PdfFormat || pdfPath.isEmpty())
        return paintLines(printer, text, font);

    // Qt writes a PDF file piece by piece as it goes and leaves a cut-off
    // file behind on a full disk; the pages are made in memory instead.
    QBuffer pages;
    pages.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&pages);
        pdf.setPageLayout(printer.pageLayout());
        pdf.setResolution(printer.resolution());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        const QString failed = paintLines(pdf, text, font);
        if (!failed.isEmpty()) return failed;
    }
    const FileOutcome written = replaceFile(pdfPath.toStdString(), pages.data().toStdString());
    if (!written.ok)
        return QStringLiteral("The PDF file could not be written:\r\n%1\r\n%2")
            .arg(pdfPath, QString::fromStdString(written.reason));
    return {};
}

QString paintLines(QPagedPaintDevice& printer, const QString& text, const QFont& font) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    // The text's last line end closes its last line; it opens no new one.
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();

    QPainter painter;
    if (!painter.begin(&printer)) return QStringLiteral("The printer could not be started.");
    painter.setFont(QFont(font, &printer));
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = painter.device()->height();
    int baseline = metrics.ascent();
    bool pageEmpty = true;
    for (const QString& line : lines) {
        if (!pageEmpty && baseline + metrics.descent() > pageHeight) {
            if (!printer.newPage()) {
                painter.end();
                return QStringLiteral("The printer did not take the next page.");
            }
            baseline = metrics.ascent();
        }
        painter.drawText(0, baseline, line);
        baseline += metrics.lineSpacing();
        pageEmpty = false;
    }
    const auto* real = dynamic_cast<QPrinter*>(&printer);
    if (!painter.end() || (real != nullptr && real->printerState() == QPrinter::Error))
        return QStringLiteral("The print job failed.");
    return {};
}

}  // namespace travenor
