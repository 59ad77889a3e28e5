#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>

#include "platform/Log.h"
#include "platform/QtSerialPort.h"
#include "shell/MainWindowLayout.h"
#include "shell/PrintRangeDialog.h"
#include "support/AppFixture.h"
#include "support/LogCapture.h"

namespace travenor {
namespace {

using test::AppFixture;
using test::LogCapture;

// The keyboard and the log on the real window.
struct KeyboardAndLog : AppFixture {};

// The table takes no typing, and Tab moves on from it in the window's order.
TEST_F(KeyboardAndLog, TheTableIsReadOnlyAndTabLeavesIt) {
    window().show();
    window().activateWindow();
    QApplication::setActiveWindow(&window());
    auto* table = window().findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"));
    ASSERT_NE(table, nullptr);
    const std::string before = window().text("RichTextBox1");
    table->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(table->hasFocus());
    for (const int key : {int(Qt::Key_X), int(Qt::Key_Return), int(Qt::Key_Backspace)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_X ? "x" : "");
        QCoreApplication::sendEvent(table, &press);
    }
    EXPECT_EQ(window().text("RichTextBox1"), before);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(table, &tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Command6");
    EXPECT_EQ(window().text("RichTextBox1"), before);
}

// Every menu and item has its Alt letter, and reached by it runs the same
// command as a click; the toolbar keeps its guard.
TEST_F(KeyboardAndLog, MenusAreReachedByTheirAltLetters) {
    const struct {
        const char* menu;
        char menuLetter;
        const char* item;
        char itemLetter;
        const char* command;
    } table[] = {
        {"at", 'F', "打开", 'O', "open"},       {"at", 'F', "保存", 'S', "save"},
        {"at", 'F', "退出", 'X', "exit"},       {"caozhou", 'O', "读取", 'R', "read"},
        {"caozhou", 'O', "打印", 'P', "print"}, {"caozhou", 'O', "数据清除", 'C', "clear"},
    };
    connect();
    for (const auto& row : table) {
        auto* menu = window().findChild<QMenu*>(QString::fromUtf8(row.menu));
        auto* item = window().findChild<QAction*>(QString::fromUtf8(row.item));
        ASSERT_NE(item, nullptr) << row.item;
        EXPECT_EQ(QKeySequence::mnemonic(menu->title()),
                  QKeySequence(Qt::ALT | Qt::Key(row.menuLetter)))
            << row.menu;
        EXPECT_EQ(QKeySequence::mnemonic(item->text()),
                  QKeySequence(Qt::ALT | Qt::Key(row.itemLetter)))
            << row.item;
        EXPECT_TRUE(menu->actions().contains(item));

        // Reached from the keyboard, the item triggers its action: the command runs.
        dialogs->asked.clear();
        exitRequests = 0;
        window().setText("RichTextBox1", "marker\r\n");
        requests();
        item->trigger();
        const std::string command = row.command;
        if (command == "open" || command == "save") {
            ASSERT_EQ(dialogs->asked.size(), 1u) << command;
            EXPECT_EQ(dialogs->asked[0].rfind(command, 0), 0u);
        } else if (command == "exit") {
            EXPECT_EQ(exitRequests, 1);
        } else if (command == "read") {
            EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});
            download().endOfRecords();
        } else if (command == "print") {
            ASSERT_NE(app->printRangeDialog(), nullptr);
            app->printRangeDialog()->reject();
        } else {
            EXPECT_NE(t("RichTextBox1"), "marker\r\n");
        }
    }
    // During a download the menu still works and the toolbar does not.
    download().startDownload();
    requests();
    window().findChild<QToolBar*>("Toolbar1")->findChild<QAction*>("Read")->trigger();
    EXPECT_TRUE(requests().empty());
    window().findChild<QAction*>(QString::fromUtf8("读取"))->trigger();
    EXPECT_EQ(requests(), std::vector<std::int32_t>{40000});
}

// A screen reader says what each value is, not only the value.
// A reading is heard as its name and value, and a change of value raises
// one event; the same value again raises none.
TEST(Accessibility, AReadingIsHeardWithItsValueAndEachChangeIsAnnounced) {
    static std::vector<std::pair<QObject*, QAccessible::Event>> events;
    MainWindow w;
    w.show();
    w.announce = [](QAccessibleEvent* e) { events.emplace_back(e->object(), e->type()); };
    const struct {
        const char* name;
        const char* shown;
        const char* heard;
    } cases[] = {
        {"Label8", "119.9A", "Phase R, primary current: 119.9 A"},
        {"Label2", "198.9mA", "Phase R, secondary current: 198.9 mA"},
        {"Label20", "+0.5%", "Phase T, ratio error: +0.5 %"},
        {"Label9", "    OL", "Phase S, primary current: OL"},
        {"Label14", "Set:600/5A", "Set ratio: 600/5A"},
        {"Label17", "Rat:---/5A", "Measured ratio: ---/5A"},
        {"Label8", "- - - -", "Phase R, primary current: none"},
        {"Panel1", "Connected", "Link state: Connected"},
        {"Panel3", "12:34:56", "Time of day: 12:34:56"},
    };
    for (const auto& c : cases) {
        QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(c.name));
        events.clear();
        w.setText(c.name, c.shown);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(face, nullptr) << c.name;
        EXPECT_EQ(face->text(QAccessible::Name).toStdString(), c.heard) << c.name;
        EXPECT_EQ(
            std::count(events.begin(), events.end(),
                       std::make_pair(static_cast<QObject*>(widget), QAccessible::NameChanged)),
            1)
            << c.name;
        events.clear();
        w.setText(c.name, c.shown);
        EXPECT_TRUE(events.empty()) << c.name << ": the same value again";
    }
    EXPECT_EQ(w.findChild<QComboBox*>("Combo1")->lineEdit()->accessibleName(), "Port number");

    PrintRangeDialog dialog;
    for (const char* name : {"Text1", "Text2", "Option1", "Option2", "Command1", "Command2"})
        EXPECT_FALSE(dialog.findChild<QWidget*>(name)->accessibleName().isEmpty()) << name;
}

TEST(Accessibility, EveryDisplayedValueHasANameThatIsNotItsValue) {
    MainWindow w;
    QStringList covered;
    for (const layout::Accessible& a : layout::accessibility()) {
        QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(a.name));
        ASSERT_NE(widget, nullptr) << a.name;
        const QString value = QString::fromStdString(w.text(a.name));
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << a.name;
        EXPECT_NE(widget->accessibleName(), value) << a.name;
        EXPECT_FALSE(widget->accessibleDescription().isEmpty()) << a.name;
        covered << QString::fromLatin1(a.name);
    }
    // Every control that shows a value is among them.
    for (const layout::Control& c : layout::controls()) {
        const bool showsValue =
            c.kind == layout::Kind::ValueLabel || c.kind == layout::Kind::TextBox ||
            c.kind == layout::Kind::ComboBox || c.kind == layout::Kind::ProgressBar ||
            (c.kind == layout::Kind::Label && *c.parent);
        if (showsValue && QString::fromLatin1(c.name) != "Label1") {
            EXPECT_TRUE(covered.contains(QString::fromLatin1(c.name))) << c.name;
        }
    }
    for (const char* panel : {"Panel1", "Panel2", "Panel3"})
        EXPECT_TRUE(covered.contains(QString::fromLatin1(panel))) << panel;
    for (const char* box : {"Text1", "Text2", "Text3", "Text4"})
        EXPECT_TRUE(w.findChild<QLineEdit*>(box)->isReadOnly()) << box;
}

TEST_F(KeyboardAndLog, TheLogTellsTheLinkTheDownloadAndTheFiles) {
    sim::Config config = quietInstrument(10);
    config.faults.dropCountReplies = 1;
    config.faults.silentAfterRecord = 6;
    config.faults.silentForSeconds = 1e9;
    start(config);
    LogCapture log;
    connect();
    download().startDownload();
    for (int i = 0; i < 1000 && download().isDownloading(); ++i)
        if (pump() == 0) download().downloadTick();
    for (int tick = 0; tick < 31; ++tick) discovery();
    dialogs->answer = folder.filePath("records.txt").toStdString();
    app->runCommand(Command::Save);
    dialogs->answer = folder.filePath("none/records.txt").toStdString();
    app->runCommand(Command::Save);
    app->runCommand(Command::Open);

    for (const char* line : {
             "travenor.link: instrument found on port 3",
             "travenor.scan: probing port 2",
             "travenor.download: download started",
             "travenor.download: request 40000 re-sent",
             "travenor.download: the instrument holds 10 records",
             "travenor.download: request 7 re-sent",
             "travenor.download: download ended: no answer after 3 re-sends, 6 of 10 records read",
             "travenor.link: instrument lost",
             "travenor.files: records saved to",
             "travenor.files: save to",
             "travenor.files: open of",
         })
        EXPECT_TRUE(log.has(QString::fromUtf8(line))) << line << "\nin:\n"
                                                      << log.all().toStdString();
}

}  // namespace
}  // namespace travenor
