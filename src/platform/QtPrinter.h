#pragma once

#include <QFont>
#include <QString>
#include <memory>

#include "platform/Printer.h"

class QPagedPaintDevice;
class QPrinter;
class QWidget;

namespace travenor {

// Qt's print dialog and a print job through Qt Print Support.
class QtPrinter : public Printer {
  public:
    QtPrinter(QWidget* parent, QFont font);
    ~QtPrinter() override;

    bool choosePrinter() override;
    std::string printText(const std::string& text) override;

  private:
    QWidget* parent;
    QFont font;
    std::unique_ptr<QPrinter> printer;
};

// Puts the lines of text on the printer's pages, top to bottom, one line of
// the text to one printed line, a new page when one is full. Empty when
// printed, else why not. A PDF file is made whole in memory first and then
// put in place as Save puts a record file: it is written whole or not at all.
QString printLines(QPrinter& printer, const QString& text, const QFont& font);

// The same lines on any paged device.
QString paintLines(QPagedPaintDevice& device, const QString& text, const QFont& font);

}  // namespace travenor
