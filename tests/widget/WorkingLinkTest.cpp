#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QProgressBar>

#include "support/AppFixture.h"
#include "support/Frames.h"
#include "support/Wait.h"

namespace travenor {
namespace {

using test::AppFixture;

// Finding the instrument, its live readings and the status on the real window.
struct WorkingLink : AppFixture {};

const char* READINGS[] = {"Label8", "Label9", "Label10", "Label2", "Label4", "Label5"};

TEST_F(WorkingLink, StartUpState) {
    const std::string emptyTable = std::string(44, ' ') + "Travenor\r\n" +
                                   "    NO.       Ih       Ir          Is         It      F.Er     "
                                   "Ratio      CH                \r\n";
    EXPECT_EQ(t("RichTextBox1"), emptyTable);
    EXPECT_EQ(t("RichTextBox2"), emptyTable);
    EXPECT_TRUE(app->store().isEmpty(0));
    EXPECT_TRUE(app->store().isEmpty(3500));
    EXPECT_TRUE(app->store().isEmpty(4000));
    EXPECT_FALSE(window().isVisible("ProgressBar1"));
    EXPECT_FALSE(window().isVisible("Label15"));
    EXPECT_FALSE(window().isVisible("Label16"));
    EXPECT_FALSE(window().isVisible("RichTextBox2"));
    EXPECT_EQ(port->openedPort(), 0);  // port 1 has no instrument and no device

    refresh();
    EXPECT_EQ(t("Panel1"), "Text3");  // the box is rewritten after the panel copies it
    EXPECT_EQ(t("Panel2"), "Travenor's Software");
    EXPECT_FALSE(t("Panel3").empty());
    EXPECT_EQ(t("Text1"), "COM1");
    EXPECT_EQ(t("Text2"), "ComClose");
    EXPECT_EQ(t("Text3"), "Unconnect");
    EXPECT_EQ(t("Text4"), "Device Finding...");
    for (const char* label : READINGS) EXPECT_EQ(t(label), "- - - -");
    EXPECT_EQ(t("Label14"), "Set:---/-.-A");
    EXPECT_EQ(t("Label17"), "Rat:---/-.-A");
    EXPECT_EQ(period(Tick::Discovery), 20);
    EXPECT_EQ(period(Tick::Download), 0);
    refresh();
    EXPECT_EQ(t("Panel1"), "Unconnect");
}

TEST_F(WorkingLink, ScanFindsTheInstrumentAndShowsItsReadings) {
    refresh();
    window().setText("Combo1", "16");
    discovery();
    EXPECT_EQ(t("Combo1"), "1");
    for (int port = 2; port <= 3; ++port) {
        discovery();
        EXPECT_EQ(t("Combo1"), std::to_string(port));
    }
    EXPECT_EQ(requests(), std::vector<std::int32_t>{60003});  // only port 3 has a line to write to
    pump();
    EXPECT_TRUE(supervisor().isLinked());
    EXPECT_EQ(t("Combo1"), "3");
    EXPECT_EQ(port->openedPort(), 3);

    refresh();
    EXPECT_EQ(t("Text1"), "COM3");
    EXPECT_EQ(t("Text2"), "ComOpen");
    EXPECT_EQ(t("Text3"), "Connected");
    EXPECT_EQ(t("Text4"), "");
    EXPECT_EQ(period(Tick::Discovery), 70);

    // A live reading from the instrument.
    app->supervisor().pollTick();
    EXPECT_EQ(requests(), std::vector<std::int32_t>{30000});
    pump();
    EXPECT_NE(t("Label2"), "- - - -");
    EXPECT_EQ(t("Label14"), "Set:600/5A");
    EXPECT_EQ(t("Label17").substr(0, 4), "Rat:");

    // The example frame on the real window.
    port->inject(test::bytesOf(test::exampleLiveFrame()));
    EXPECT_EQ(t("Label8"), "120.0A");
    EXPECT_EQ(t("Label9"), "- - - -");
    EXPECT_EQ(t("Label2"), "1.000A");
    EXPECT_EQ(t("Label4"), "0.000A");
    EXPECT_EQ(t("Label13"), "+0.5%");
    EXPECT_EQ(t("Label19"), "0.0%");
    EXPECT_EQ(t("Label17"), "Rat:600/5A");
    port->inject(test::bytesOf(test::batteriesLowFrame()));
    EXPECT_TRUE(window().isVisible("Label15"));
    EXPECT_TRUE(window().isVisible("Label16"));
}

TEST_F(WorkingLink, LinkLossBlanksReadingsAndTheScanFindsTheInstrumentAgain) {
    connect();
    ReplyFrame f = test::exampleLiveFrame();
    f.bytes[15] |= 0x80;
    f.seal();
    port->inject(test::bytesOf(f));
    ASSERT_EQ(t("Label13"), "+0.5%");

    for (int tick = 1; tick <= 30; ++tick) discovery();
    refresh();
    EXPECT_EQ(t("Text3"), "Connected");
    discovery();  // the 31st silent tick
    EXPECT_FALSE(supervisor().isLinked());
    refresh();
    EXPECT_EQ(t("Text3"), "Unconnect");
    EXPECT_EQ(t("Text4"), "Device Finding...");
    EXPECT_EQ(period(Tick::Discovery), 20);
    for (const char* label : READINGS) EXPECT_EQ(t(label), "- - - -");
    EXPECT_EQ(t("Label14"), "Set:---/-.-A");
    EXPECT_EQ(t("Label17"), "Rat:---/-.-A");
    EXPECT_EQ(t("Label13"), "+0.5%");  // ratio errors and battery flags keep their state
    EXPECT_TRUE(window().isVisible("Label16"));

    // The scan goes on from port 4 and comes round to the instrument on port 3.
    discovery();
    EXPECT_EQ(t("Combo1"), "4");
    for (int i = 0; i < 16 && !supervisor().isLinked(); ++i) {
        pump();
        if (!supervisor().isLinked()) discovery();
    }
    EXPECT_TRUE(supervisor().isLinked());
    EXPECT_EQ(t("Combo1"), "3");
    refresh();
    EXPECT_EQ(t("Text3"), "Connected");
}

// The window through the states of the status: scanning, linked, reading,
// linked again. (Every state and period of the policy is a unit test.)
TEST_F(WorkingLink, TheWindowShowsEachStateOfTheStatus) {
    const auto expectState = [this](const char* what, const char* connection, const char* activity,
                                    bool commands, bool bar, int discovery, int downloadPeriod) {
        refresh();
        EXPECT_EQ(t("Text3"), connection) << what;
        EXPECT_EQ(t("Text4"), activity) << what;
        for (const char* button : {"Command1", "Command2", "Command3", "Command4"})
            EXPECT_EQ(window().isEnabled(button), commands) << button << " " << what;
        EXPECT_TRUE(window().isEnabled("Command5")) << what;
        EXPECT_TRUE(window().isEnabled("Command6")) << what;
        EXPECT_EQ(window().isEnabled("ProgressBar1"), bar) << what;
        EXPECT_EQ(period(Tick::Discovery), discovery) << what;
        EXPECT_EQ(period(Tick::Download), downloadPeriod) << what;
    };
    expectState("scanning", "Unconnect", "Device Finding...", true, false, 20, 0);
    connect();
    expectState("linked", "Connected", "", true, false, 70, 0);
    app->runCommand(Command::Read);
    expectState("reading", "Connected", "Reading...", false, true, 70, 50);
    for (int i = 0; i < 100 && download().isDownloading(); ++i) pump();
    ASSERT_FALSE(download().isDownloading());
    expectState("read", "Connected", "", true, false, 70, 0);
}

TEST_F(WorkingLink, ClearKeepsProgressAndStatus) {
    connect();
    window().setValue("ProgressBar1", 42);
    app->runCommand(Command::Clear);
    EXPECT_EQ(window().value("ProgressBar1"), 42);
    EXPECT_EQ(t("Text3"), "Connected");
}

TEST_F(WorkingLink, PortBoxTooltipNamesTheDevice) {
    auto tipOf = [this](const char* name) {
        QWidget* widget = window().findChild<QWidget*>(name);
        QHelpEvent show(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(widget, &show);
        return widget->toolTip();
    };
    window().setText("Combo1", "3");
    EXPECT_NE(tipOf("Combo1").indexOf("simulated instrument"), -1);
    window().setText("Combo1", "4");
    EXPECT_EQ(tipOf("Text1").indexOf("simulated instrument"), -1);
    EXPECT_NE(tipOf("Text1").indexOf("No device"), -1);
}

// The in-process port with line timing: an exchange takes the line's 6.25 ms
// plus the instrument's turnaround, delivered through the event loop.
TEST(SimPortTiming, ExchangeTakesTheLineTimePlusTurnaround) {
    sim::Config config;
    config.turnaroundMs = 1;
    sim::SimPort port(std::make_unique<sim::InstrumentModel>(config), 3, true);
    ASSERT_TRUE(port.open(3, LineSettings{}));
    port.setReceiveThreshold(20);
    int replies = 0;
    QElapsedTimer clock;
    double total = 0;
    port.setReceiveHandler([&] {
        total += clock.nsecsElapsed() / 1e6;
        port.read(20);
        ++replies;
    });
    for (int i = 0; i < 20; ++i) {
        const int before = replies;
        clock.start();
        port.write(CommandFrame::forValue(30000).toBytes());
        EXPECT_EQ(replies, before);  // never inside the write
        ASSERT_TRUE(test::waitFor([&] { return replies > before; }, 1000));
    }
    const double mean = total / 20;
    std::printf("in-process exchange: %.2f ms (line 6.25 ms + turnaround 1 ms)\n", mean);
    EXPECT_GE(mean, 6.0);
    EXPECT_LT(mean, 100.0);
}

}  // namespace
}  // namespace travenor
