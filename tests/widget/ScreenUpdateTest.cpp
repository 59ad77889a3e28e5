#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "support/AppFixture.h"
#include "support/Frames.h"

namespace travenor {
namespace {

// What the user sees of a control: the widget's own text, not what the
// program holds for it.
QString onScreen(MainWindow& w, const char* name) {
    QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* box = qobject_cast<QComboBox*>(widget)) return box->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return {};
}

struct ScreenUpdates : test::AppFixture {
    // The screen after the next paint: every waiting text is put up.
    void paint() { window().paintWaitingTexts(); }
    void expectShown(const char* name, const std::string& text, const std::string& when) {
        EXPECT_EQ(t(name), text) << name << " " << when;
        EXPECT_EQ(onScreen(window(), name).toStdString(), text) << name << " " << when;
    }
};

// The port box and the port status follow the scan at once for the program,
// and the screen shows the last of it at the next paint.
TEST_F(ScreenUpdates, ThePacedBoxesShowTheLastTextAtTheNextPaint) {
    for (int tick = 1; tick <= 5; ++tick) {
        discovery();
        refresh();
    }
    EXPECT_EQ(t("Combo1"), "6");
    EXPECT_EQ(t("Text1"), "COM6");
    paint();
    expectShown("Combo1", "6", "after five scan steps");
    expectShown("Text1", "COM6", "after five scan steps");

    // A text put back to what is shown leaves nothing stale to paint.
    window().setText("Combo1", "9");
    window().setText("Combo1", "6");
    paint();
    expectShown("Combo1", "6", "set and put back");

    // What the user types is the box's text, whatever was waiting.
    window().setText("Combo1", "7");
    auto* edit = window().findChild<QComboBox*>(QStringLiteral("Combo1"))->lineEdit();
    edit->selectAll();
    QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    QApplication::sendEvent(edit, &two);
    EXPECT_EQ(t("Combo1"), "2");
    paint();
    expectShown("Combo1", "2", "typed by the user");
}

// Tick by tick through every kind of change, the controls hold what they
// must, on screen too.
TEST_F(ScreenUpdates, EveryChangeOfStateReachesTheScreen) {
    refresh();
    paint();
    expectShown("Text3", "Unconnect", "at start");
    expectShown("Text4", "Device Finding...", "at start");

    connect();
    refresh();
    paint();
    expectShown("Text3", "Connected", "link found");
    expectShown("Text4", "", "link found");
    expectShown("Text1", "COM3", "link found");

    port->inject(test::bytesOf(test::batteriesLowFrame()));
    EXPECT_TRUE(window().isVisible("Label15"));
    EXPECT_TRUE(window().isVisible("Label16"));
    expectShown("Label2", "1.000A", "live reading");
    port->inject(test::bytesOf(test::exampleLiveFrame()));
    EXPECT_FALSE(window().isVisible("Label15"));
    EXPECT_FALSE(window().isVisible("Label16"));

    download().startDownload();
    refresh();
    expectShown("Text4", "Reading...", "download running");
    EXPECT_FALSE(window().isEnabled("Command2"));
    for (int i = 0; i < 100 && download().isDownloading(); ++i) pump();
    refresh();
    expectShown("Text4", "", "download ended");
    EXPECT_TRUE(window().isEnabled("Command2"));

    for (int tick = 0; tick < 31; ++tick) discovery();
    refresh();
    paint();
    expectShown("Text3", "Unconnect", "link lost");
    expectShown("Text4", "Device Finding...", "link lost");
    expectShown("Label2", "- - - -", "link lost");
    expectShown("Combo1", t("Combo1"), "link lost");
    refresh();
    expectShown("Text4", "Device Finding...", "the tick after");
}

}  // namespace
}  // namespace travenor
