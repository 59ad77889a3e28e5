#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/QtMessageBox.h"
#include "support/AppFixture.h"
#include "support/Frames.h"
#include "support/Wait.h"

namespace travenor {
namespace {

int openBoxes() {
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) ++boxes;
    return boxes;
}

void closeBoxes() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible())
            box->accept();
}

// The program with its real message boxes, the instrument on port 3.
struct HostileLine : ::testing::Test {
    QTemporaryDir folder;
    sim::SimPort* port = nullptr;
    std::unique_ptr<Application> app;

    void open(bool realTime) {
        sim::Config config;
        config.recordCount = 10;
        config.lineRate = false;
        config.turnaroundMs = 0;
        auto simPort = std::make_unique<sim::SimPort>(
            std::make_unique<sim::InstrumentModel>(config), 3, realTime);
        port = simPort.get();
        ApplicationOptions options;
        options.programFolder = folder.path().toStdString();
        options.processPendingEvents = [] {};
        app = std::make_unique<Application>(std::move(simPort), std::move(options));
    }
    void countZero(int frames) {
        for (int i = 0; i < frames; ++i) port->inject(test::bytesOf(test::countFrame(0)));
    }
    void TearDown() override {
        closeBoxes();
        test::waitFor([] { return QtMessageBox::pending() == 0; }, 2000);
    }
};

// A burst of count-0 replies opens one "Error" box, not one inside another;
// the line is still read while it is open.
TEST_F(HostileLine, ABurstOfCountZeroRepliesOpensOneBox) {
    open(false);
    app->load();
    for (int i = 0; i < 40 && !app->supervisor().isLinked(); ++i) {
        app->supervisor().discoveryTick();
        port->pump();
    }
    ASSERT_TRUE(app->supervisor().isLinked());
    countZero(1000);
    EXPECT_EQ(QtMessageBox::pending(), 1);

    int seen = -1;
    int seenAfterMore = -1;
    std::string reading;
    QTimer::singleShot(50, [&] {
        seen = openBoxes();
        countZero(1000);  // while the box is open
        port->inject(test::bytesOf(test::exampleLiveFrame()));
        reading = app->window().text("Label2");
        seenAfterMore = openBoxes();
        closeBoxes();
    });
    ASSERT_TRUE(test::waitFor([] { return QtMessageBox::pending() == 0; }, 5000));
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(seenAfterMore, 1);
    EXPECT_EQ(reading, "1.000A");  // decoded while the box was open
    EXPECT_TRUE(app->supervisor().isLinked());
    EXPECT_EQ(openBoxes(), 0);
}

// A count of 0 after every poll, with the program's own timers running: never
// more than one box, and the link stays up.
TEST_F(HostileLine, CountZeroAfterEveryPollKeepsOneBoxAndTheLink) {
    open(true);
    app->start();
    ASSERT_TRUE(test::waitFor([&] { return app->window().text("Text3") == "Connected"; }, 5000));
    // The box's own loop runs while it is open: what is looked at is looked
    // at from timers, which run inside it.
    QTimer flood;
    QObject::connect(&flood, &QTimer::timeout, [&] { countZero(1); });
    flood.start(250);
    int most = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { most = std::max(most, openBoxes()); });
    sampler.start(50);
    bool over = false;
    std::string linkAtEnd;
    QTimer::singleShot(10000, [&] {
        flood.stop();
        sampler.stop();
        linkAtEnd = app->window().text("Text3");
        closeBoxes();
        over = true;
    });
    ASSERT_TRUE(test::waitFor([&] { return over && QtMessageBox::pending() == 0; }, 20000));
    EXPECT_EQ(most, 1);
    EXPECT_EQ(linkAtEnd, "Connected");
}

}  // namespace
}  // namespace travenor
