// PDF files against what only a POSIX system has: devices, pipes, links of
// other users, a file size limit.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>

#include "platform/QtPrinter.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/WindowFonts.h"
#include "support/TargetKinds.h"

namespace travenor {
namespace {

// A PDF is made whole before anything is written, and goes only where a
// record file may go: a refusal or a full disk is said and leaves every
// file as it was.
TEST(PrintOutput, APdfIsWrittenWholeOrNotAtAll) {
    const QString table = QString::fromStdString(RecordTable::tableText(RecordStore(), 1, 0));
    const auto printTo = [&](const std::string& path) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        return printLines(printer, table, tableFont()).toStdString();
    };
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        const std::string failure = printTo(target.path);
        if (target.writeRefusal == nullptr) {
            EXPECT_EQ(failure, "") << target.kind;
            QFile pdf(QString::fromStdString(target.writtenAt));
            ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << target.kind;
            const QByteArray bytes = pdf.readAll();
            EXPECT_TRUE(bytes.startsWith("%PDF-")) << target.kind;
            EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF")) << target.kind;
            continue;
        }
        EXPECT_EQ(failure.rfind("The PDF file could not be written:\r\n" + target.path + "\r\n", 0),
                  0u)
            << failure;
        EXPECT_NE(failure.find(target.writeRefusal), std::string::npos) << failure;
        EXPECT_EQ(place.snapshot(), before) << target.kind;
    }

    const std::string kept = place.path() + "/regular.txt";
    const std::string before = place.snapshot();
    std::string failure;
    {
        const test::FileSizeLimit full(64);
        failure = printTo(kept);
    }
    EXPECT_NE(failure.find("File too large"), std::string::npos) << failure;
    EXPECT_EQ(place.snapshot(), before);
}

}  // namespace
}  // namespace travenor
