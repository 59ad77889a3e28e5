#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

#include "platform/QtPrinter.h"
#include "records/Printing.h"
#include "records/RecordLine.h"
#include "shell/PrintRangeDialog.h"
#include "shell/WindowFonts.h"
#include "support/AppFixture.h"
#include "support/RecordOfTexts.h"

namespace travenor {
namespace {

Record sampleRecord(int n) {
    return test::recordOf({std::to_string(n) + "A", "1.000A", "2.000A", "3.000A", "+0.1%", "600/5A",
                           static_cast<std::int16_t>(n % 3)});
}

struct PrintingTest : test::AppFixture {
    // Records 1 to `last` in the store, shown in the table.
    void fill(int last) {
        for (int n = 1; n <= last; ++n) app->store().store(n, sampleRecord(n));
        app->table().showTable();
    }
    PrintRangeDialog* open() {
        app->showPrintDialog();
        return app->printRangeDialog();
    }
    void enter(PrintRangeDialog* dialog, const char* first, const char* last) {
        dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::fromUtf8(first));
        dialog->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QString::fromUtf8(last));
    }
    void click(PrintRangeDialog* dialog, const char* button) {
        dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    std::string table(int first, int last) {
        return RecordTable::tableText(app->store(), first, last);
    }
};

TEST_F(PrintingTest, Form2ControlsAsLaidOut) {
    PrintRangeDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "Form2");
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("打印选项"));
    EXPECT_EQ(dialog->size(), QSize(409, 208));  // 6135 x 3120 twips
    struct Expected {
        const char* name;
        const char* kind;
        const char* text;
        int left, top, width, height;
        double points;  // 0: the window's face
        bool bold;
    };
    const Expected controls[] = {
        {"Command1", "QPushButton", "O K", 1080, 2280, 1215, 615, 12, false},
        {"Command2", "QPushButton", "Cancel", 3720, 2280, 1215, 615, 12, false},
        {"Label1", "QLabel", "Print:", 960, 720, 975, 375, 15, true},
        {"Text1", "QLineEdit", "1", 2040, 720, 975, 375, 15, true},
        {"Label2", "QLabel", "Set", 4680, 765, 615, 375, 15, true},
        {"Label3", "QLabel", "-", 3120, 675, 375, 375, 24, true},
        {"Text2", "QLineEdit", "100", 3480, 720, 1095, 375, 15, true},
        {"Option1", "QRadioButton", "", 480, 720, 375, 375, 0, false},
        {"Option2", "QRadioButton", "", 480, 1320, 375, 375, 0, false},
        {"Label4", "QLabel", "Print All", 960, 1320, 1695, 375, 15, true},
    };
    auto px = [](int twips) { return (twips + 7) / 15; };
    for (const Expected& e : controls) {
        auto* w = dialog->findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        EXPECT_STREQ(w->metaObject()->className(), e.kind) << e.name;
        EXPECT_EQ(w->geometry(), QRect(px(e.left), px(e.top), px(e.width), px(e.height))) << e.name;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* t = qobject_cast<QLineEdit*>(w)) text = t->text();
        EXPECT_EQ(text.toStdString(), e.text) << e.name;
        if (e.points > 0) {
            EXPECT_EQ(w->font().families(), songFont(12, false).families()) << e.name;
            EXPECT_EQ(w->font().bold(), e.bold) << e.name;
            // A caption may be shrunk a little to be read whole.
            EXPECT_LE(w->font().pointSizeF(), e.points) << e.name;
            EXPECT_GE(w->font().pointSizeF(), e.points - 3) << e.name;
        }
    }
    // Focus goes through the controls that take it in the table's order.
    QStringList order;
    QWidget* w = dialog->findChild<QWidget*>(QStringLiteral("Command1"));
    for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus || w == dialog) w = w->nextInFocusChain();
        order << w->objectName();
    }
    EXPECT_EQ(order, (QStringList{"Command1", "Command2", "Text1", "Text2", "Option1", "Option2"}));
    // Exactly one option at a time.
    auto* all = dialog->findChild<QRadioButton*>(QStringLiteral("Option2"));
    all->click();
    EXPECT_FALSE(dialog->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_TRUE(all->isChecked());
}

// Print disables the main window but not Form2; OK, Cancel and the close
// control each give the window back; every opening starts afresh.
TEST_F(PrintingTest, TheDialogComesFreshAndEveryWayOutEnablesTheWindow) {
    app->start();
    for (const char* way : {"ok", "cancel", "close", "escape"}) {
        PrintRangeDialog* dialog = open();
        ASSERT_NE(dialog, nullptr) << way;
        EXPECT_FALSE(window().isEnabled()) << way;
        EXPECT_TRUE(dialog->isEnabled()) << way;
        EXPECT_TRUE(dialog->isVisible()) << way;
        EXPECT_EQ(dialog->firstText(), "1") << way;
        EXPECT_EQ(dialog->lastText(), "100") << way;
        EXPECT_FALSE(dialog->printAll()) << way;
        enter(dialog, "5", "6");
        dialog->findChild<QRadioButton*>(QStringLiteral("Option2"))->click();

        const std::string w = way;
        if (w == "ok") click(dialog, "Command1");
        if (w == "cancel") click(dialog, "Command2");
        if (w == "close") dialog->close();
        if (w == "escape") dialog->reject();
        EXPECT_EQ(app->printRangeDialog(), nullptr) << way;
        EXPECT_TRUE(window().isEnabled()) << way;
        EXPECT_EQ(app->printing().form2dybiaozi(), w == "ok") << way;
        app->printing().cancelRange();
    }
}

TEST_F(PrintingTest, OkStoresTheRangeAndTheTimerPrintsIt) {
    fill(3600);
    enter(open(), " 1 ", "100");
    click(app->printRangeDialog(), "Command1");
    EXPECT_EQ(app->printing().form2kai(), 1);
    EXPECT_EQ(app->printing().form2jie(), 100);
    EXPECT_TRUE(app->printing().form2dybiaozi());
    EXPECT_TRUE(printer->printed.empty());  // nothing until the timer's tick

    app->printing().printRequestCheck();
    ASSERT_EQ(printer->printed.size(), 1u);
    EXPECT_EQ(printer->printed[0], table(1, 100));
    EXPECT_EQ(t("RichTextBox1"), table(1, 4000));
    EXPECT_EQ(t("RichTextBox2"), table(1, 4000));
    EXPECT_FALSE(app->printing().form2dybiaozi());
    app->printing().printRequestCheck();  // the request is spent
    EXPECT_EQ(printer->printed.size(), 1u);
}

// What the printer gets for each range, and what the boxes show meanwhile.
TEST_F(PrintingTest, RangesPrintTheirRecords) {
    fill(3600);
    const std::string full = table(1, 4000);
    const struct {
        const char* first;
        const char* last;
        bool all;
        std::string printed;
        std::string shownWhilePrinting;
    } cases[] = {
        {"1", "100", false, table(1, 100), full},
        {"", "", true, full, full},
        {"20", "10", false, table(20, 10), full},
        {"0", "10", false, table(1, 10), table(1, 10)},
        {"3501", "3600", false, table(3501, 3600), full},
        {"1.5", "2.5", false, table(2, 2), full},
        {"-5", "4005", false, table(0, 4000), full},
    };
    for (const auto& c : cases) {
        printer->printed.clear();
        std::string shown;
        printer->duringDialog = [&] { shown = t("RichTextBox1"); };
        PrintRangeDialog* dialog = open();
        enter(dialog, c.first, c.last);
        if (c.all) dialog->findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
        click(dialog, "Command1");
        app->printing().printRequestCheck();
        ASSERT_EQ(printer->printed.size(), 1u) << c.first << "-" << c.last;
        EXPECT_EQ(printer->printed[0], c.printed) << c.first << "-" << c.last;
        EXPECT_EQ(shown, c.shownWhilePrinting) << c.first << "-" << c.last;
        EXPECT_EQ(t("RichTextBox1"), full) << c.first << "-" << c.last;
        EXPECT_EQ(t("RichTextBox2"), full) << c.first << "-" << c.last;
    }
    EXPECT_EQ(table(20, 10), RecordTable::TITLE_LINE + "\r\n" + RecordTable::HEADER_LINE + "\r\n");
}

TEST_F(PrintingTest, ACancelledPrinterDialogPrintsNothingAndStillRebuildsTheTable) {
    fill(20);
    printer->cancel = true;
    click(open(), "Command1");
    window().setText("RichTextBox1", "opened file\r\n");
    app->printing().printRequestCheck();
    EXPECT_EQ(printer->dialogs, 1);
    EXPECT_TRUE(printer->printed.empty());
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(t("RichTextBox1"), table(1, 4000));
    EXPECT_FALSE(app->printing().form2dybiaozi());
}

TEST_F(PrintingTest, ATickDuringARunningPrintDoesNothing) {
    fill(20);
    int ticks = 0;
    printer->duringDialog = [&] {
        if (ticks++ == 0) app->printing().printRequestCheck();
    };
    click(open(), "Command1");
    app->printing().printRequestCheck();
    EXPECT_EQ(printer->dialogs, 1);
    EXPECT_EQ(printer->printed.size(), 1u);
    EXPECT_FALSE(app->printing().isPrinting());
}

TEST_F(PrintingTest, AFailedPrintJobSaysTheTableWasNotPrinted) {
    fill(20);
    printer->failure = "The print job failed.";
    click(open(), "Command1");
    app->printing().printRequestCheck();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].first, "The table was not printed:\r\nThe print job failed.");
    EXPECT_EQ(t("RichTextBox1"), table(1, 4000));
    EXPECT_FALSE(app->printing().form2dybiaozi());
}

// A bad entry is named, nothing is left pending, and the dialog stays open
// with what was typed, to be corrected or cancelled.
TEST_F(PrintingTest, ABadRangeIsRejectedWithAMessageAndNoRequest) {
    fill(20);
    const struct {
        const char* first;
        const char* last;
        const char* which;
    } cases[] = {
        {"abc", "10", "first"}, {"1", "40000", "last"}, {"1,5", "x", "first"}, {"", "3", "first"}};
    for (const auto& c : cases) {
        messages->shown.clear();
        PrintRangeDialog* dialog = open();
        enter(dialog, c.first, c.last);
        click(dialog, "Command1");
        ASSERT_EQ(messages->shown.size(), 1u) << c.first;
        EXPECT_NE(messages->shown[0].first.find(std::string("The ") + c.which), std::string::npos)
            << messages->shown[0].first;
        EXPECT_NE(messages->shown[0].first.find("-32768 to 32767"), std::string::npos);
        EXPECT_FALSE(app->printing().form2dybiaozi());
        ASSERT_EQ(app->printRangeDialog(), dialog);
        EXPECT_EQ(dialog->firstText().toStdString(), c.first);
        EXPECT_FALSE(window().isEnabled());
        app->printing().printRequestCheck();
        EXPECT_EQ(printer->dialogs, 0);
        click(dialog, "Command2");
        EXPECT_TRUE(window().isEnabled());
    }
}

// The real print path: Qt Print Support to a PDF file, read back as text.
TEST(PrintOutput, APdfHoldsTheTableLineByLineOnAsManyPagesAsItTakes) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_FAIL() << "pdftotext is missing (poppler-utils)";
    RecordStore store;
    for (int n = 1; n <= 120; ++n) store.store(n, sampleRecord(n));
    const std::string table = RecordTable::tableText(store, 1, 120);

    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("table.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    EXPECT_EQ(printLines(printer, QString::fromStdString(table), tableFont()), QString());

    QProcess convert;
    convert.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(convert.waitForFinished(20000));
    const QString text = QString::fromUtf8(convert.readAllStandardOutput());
    const QStringList pages = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    EXPECT_GE(pages.size(), 2) << "122 lines do not fit one page";

    QStringList printed;
    for (const QString& page : pages)
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty()) printed << line.simplified();
    QStringList expected;
    for (const QString& line : QString::fromStdString(table).split(QStringLiteral("\r\n")))
        if (!line.trimmed().isEmpty()) expected << line.simplified();
    // Nothing but the table: no header, no page number.
    EXPECT_EQ(printed, expected);
    // Each page but the last is full: the next line did not fit.
    EXPECT_GT(pages.front().count(QLatin1Char('\n')), 40);
}

}  // namespace
}  // namespace travenor
