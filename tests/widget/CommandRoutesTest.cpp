#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "records/Printing.h"
#include "support/AppFixture.h"

namespace travenor {
namespace {

enum class Route { Button, Menu, Toolbar };

struct Command {
    const char* key;
    const char* button;
    const char* menuItem;
};

constexpr Command COMMANDS[] = {
    {"Open", "Command1", "打开"},      {"Read", "Command2", "读取"},  {"Save", "Command3", "保存"},
    {"Clear", "Command4", "数据清除"}, {"Print", "Command6", "打印"}, {"Exit", "Command5", "退出"},
};

struct CommandRoutes : test::AppFixture {
    void use(const Command& c, Route route) {
        switch (route) {
            case Route::Button:
                // A disabled button takes no click, as under the user's hands.
                window().findChild<QPushButton*>(QString::fromUtf8(c.button))->click();
                break;
            case Route::Menu:
                window().findChild<QAction*>(QString::fromUtf8(c.menuItem))->trigger();
                break;
            case Route::Toolbar:
                window()
                    .findChild<QToolBar*>(QStringLiteral("Toolbar1"))
                    ->findChild<QAction*>(QString::fromUtf8(c.key))
                    ->trigger();
                break;
        }
    }

    // What each command leaves behind that says it ran.
    bool ran(const Command& c, std::size_t dialogsBefore, bool readSent) {
        const std::string key = c.key;
        if (key == "Open" || key == "Save") {
            return dialogs->asked.size() > dialogsBefore &&
                   dialogs->asked.back().rfind(key == "Open" ? "open " : "save ", 0) == 0;
        }
        if (key == "Read") return readSent;
        if (key == "Clear") return t("RichTextBox1") != "marker\r\n";
        if (key == "Print") return app->printRangeDialog() != nullptr;
        return exitRequests > 0;
    }

    bool runs(const Command& c, Route route) {
        window().setText("RichTextBox1", "marker\r\n");
        exitRequests = 0;
        requests();
        const std::size_t asked = dialogs->asked.size();
        use(c, route);
        const auto sent = requests();
        const bool readSent =
            std::find(sent.begin(), sent.end(), RECORD_COUNT_COMMAND) != sent.end();
        const bool result = ran(c, asked, readSent);
        if (auto* dialog = app->printRangeDialog()) dialog->reject();
        return result;
    }
};

// Every command by its button, menu item and toolbar button; during a download
// the refresh loop has disabled four buttons and the toolbar takes nothing.
TEST_F(CommandRoutes, EveryCommandOnEveryRouteWithTheDownloadGuards) {
    connect();
    struct Expect {
        Route route;
        bool downloading;
        bool open, read, save, clear, print, exit;
    };
    const Expect table[] = {
        {Route::Button, false, true, true, true, true, true, true},
        {Route::Menu, false, true, true, true, true, true, true},
        {Route::Toolbar, false, true, true, true, true, true, true},
        {Route::Button, true, false, false, false, false, true, true},
        {Route::Menu, true, true, true, true, true, true, true},
        {Route::Toolbar, true, false, false, false, false, false, false},
    };
    const char* routeNames[] = {"button", "menu", "toolbar"};
    for (const Expect& e : table) {
        const bool expected[] = {e.open, e.read, e.save, e.clear, e.print, e.exit};
        for (std::size_t i = 0; i < std::size(COMMANDS); ++i) {
            // Each case from its own state: idle, or a download just started.
            download().endOfRecords();
            refresh();
            if (e.downloading) {
                download().startDownload();
                refresh();
                ASSERT_FALSE(window().isEnabled("Command2"));
            }
            EXPECT_EQ(runs(COMMANDS[i], e.route), expected[i])
                << COMMANDS[i].key << " by " << routeNames[static_cast<int>(e.route)]
                << (e.downloading ? " during a download" : "");
            EXPECT_TRUE(window().isEnabled()) << COMMANDS[i].key;
        }
    }
}

TEST_F(CommandRoutes, ToolbarKeysAreComparedExactly) {
    for (const char* key : {"open", "EXIT", "Print ", "", "Foo"}) {
        app->routeToolbarButton(QString::fromLatin1(key));
        EXPECT_TRUE(dialogs->asked.empty()) << key;
        EXPECT_EQ(exitRequests, 0) << key;
        EXPECT_EQ(app->printRangeDialog(), nullptr) << key;
        EXPECT_FALSE(download().isDownloading()) << key;
    }
}

// The real Exit ends the event loop at once, by every route.
TEST(ExitCommand, EndsTheProgramAtOnceByEveryRoute) {
    for (int route = 0; route < 3; ++route) {
        test::RecordedMessages unused;
        ApplicationOptions options;
        QTemporaryDir folder;
        options.programFolder = folder.path().toStdString();
        options.processPendingEvents = [] {};
        Application app(std::make_unique<sim::SimPort>(
                            std::make_unique<sim::InstrumentModel>(sim::Config{}), 3, false),
                        std::move(options));
        app.load();
        QTimer::singleShot(0, &app, [&app, route] {
            MainWindow& w = app.window();
            if (route == 0) w.findChild<QPushButton*>(QStringLiteral("Command5"))->click();
            if (route == 1) w.findChild<QAction*>(QString::fromUtf8("退出"))->trigger();
            if (route == 2)
                w.findChild<QToolBar*>(QStringLiteral("Toolbar1"))
                    ->findChild<QAction*>(QStringLiteral("Exit"))
                    ->trigger();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        watchdog.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0) << "route " << route;
    }
}

}  // namespace
}  // namespace travenor
