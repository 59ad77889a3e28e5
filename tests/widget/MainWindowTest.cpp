#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "shell/MainWindow.h"
#include "shell/MainWindowLayout.h"

namespace travenor {
namespace {

struct Expected {
    const char* name;
    const char* kind;  // Qt class name
    const char* text;
    int left, top, width, height;  // twips
    bool visible;
};

// The window as the user must find it: every control by name, with its kind,
// text, place (twips at 15 to a pixel) and visibility.
TEST(MainWindow, ControlsByName) {
    MainWindow w;
    const Expected controls[] = {
        {"Label7", "QLabel", "  1st", 3360, 720, 1455, 375, true},
        {"Label6", "QLabel", "  2nd", 6840, 720, 1575, 375, true},
        {"Label18", "QLabel", "F.Er", 9240, 720, 855, 375, true},
        {"Label3", "QLabel", "R:", 1920, 1200, 495, 375, true},
        {"Label11", "QLabel", "S:", 1920, 1700, 495, 375, true},
        {"Label12", "QLabel", "T:", 1920, 2280, 495, 375, true},
        {"Label8", "QLabel", "- - - -", 2520, 1080, 3060, 540, true},
        {"Label9", "QLabel", "- - - -", 2520, 1680, 3015, 495, true},
        {"Label10", "QLabel", "- - - -", 2520, 2280, 3015, 495, true},
        {"Label2", "QLabel", "- - - -", 6000, 1080, 3015, 495, true},
        {"Label4", "QLabel", "- - - -", 6000, 1680, 3015, 495, true},
        {"Label5", "QLabel", "- - - -", 6000, 2280, 3015, 495, true},
        {"Label13", "QLabel", "0.0%", 9120, 1080, 1095, 495, true},
        {"Label19", "QLabel", "0.0%", 9120, 1680, 1095, 495, true},
        {"Label20", "QLabel", "0.0%", 9120, 2280, 1095, 495, true},
        {"RichTextBox1", "QPlainTextEdit", "", 120, 2880, 10335, 5535, true},
        {"ProgressBar1", "QProgressBar", "", 0, 8400, 10455, 375, false},
        {"RichTextBox2", "QPlainTextEdit", "", 720, 8880, 375, 255, false},
        {"Frame1", "QGroupBox", "Comunication", 10560, 120, 2535, 975, true},
        {"Label1", "QLabel", "COM:", 600, 360, 375, 255, true},
        {"Combo1", "QComboBox", "1", 960, 280, 855, 300, true},
        {"Frame2", "QGroupBox", "Operation", 10560, 1320, 2535, 5535, true},
        {"Command1", "QPushButton", "Open", 480, 360, 1695, 615, true},
        {"Command2", "QPushButton", "Read", 480, 1200, 1695, 615, true},
        {"Command3", "QPushButton", "Save", 480, 2040, 1695, 615, true},
        {"Command4", "QPushButton", "Clear", 480, 2880, 1695, 615, true},
        {"Command6", "QPushButton", "Print", 480, 3720, 1695, 615, true},
        {"Command5", "QPushButton", "Exit", 480, 4560, 1695, 615, true},
        {"Frame3", "QGroupBox", "Status", 10560, 7080, 2535, 1455, true},
        {"Text1", "QLineEdit", "COM1", 240, 240, 2055, 270, true},
        {"Text2", "QLineEdit", "Text2", 240, 480, 2055, 270, true},
        {"Text3", "QLineEdit", "Text3", 240, 720, 2055, 270, true},
        {"Text4", "QLineEdit", "", 240, 960, 2055, 270, true},
        {"Frame4", "QGroupBox", "Others", 120, 1080, 1695, 1575, true},
        {"Label14", "QLabel", "Set:---/-.-A", 120, 340, 1335, 255, true},
        {"Label17", "QLabel", "Rat:---/-.-A", 120, 620, 1455, 255, true},
        {"Label15", "QLabel", "HVDev LowBat.", 120, 920, 1215, 255, false},
        {"Label16", "QLabel", "LVDev LowBat", 120, 1200, 1095, 255, false},
        {"Toolbar1", "QToolBar", "", 0, 0, 13305, 660, true},
        {"StatusBar1", "QStatusBar", "", 0, 9240, 13305, 375, true},
    };
    auto px = [](int twips) { return (twips + 7) / 15; };
    for (const Expected& e : controls) {
        QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(widget, nullptr) << e.name;
        EXPECT_STREQ(widget->metaObject()->className(), e.kind) << e.name;
        EXPECT_EQ(widget->geometry(), QRect(px(e.left), px(e.top), px(e.width), px(e.height)))
            << e.name;
        EXPECT_EQ(!widget->isHidden(), e.visible) << e.name;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(widget)) text = l->text();
        if (auto* b = qobject_cast<QPushButton*>(widget)) text = b->text();
        if (auto* g = qobject_cast<QGroupBox*>(widget)) text = g->title();
        if (auto* t = qobject_cast<QLineEdit*>(widget)) text = t->text();
        if (auto* c = qobject_cast<QComboBox*>(widget)) {
            text = c->currentText();
            EXPECT_EQ(c->count(), 0);
            EXPECT_TRUE(c->isEditable());
        }
        EXPECT_EQ(text.toStdString(), e.text) << e.name;
    }
}

TEST(MainWindow, FontsOfTheReadings) {
    MainWindow w;
    const std::tuple<const char*, double, bool> fonts[] = {
        {"Label8", 26.25, true},   {"Label2", 26.25, true},   {"Label5", 26.25, true},
        {"Label13", 15.75, false}, {"Label20", 15.75, false}, {"Label7", 15.75, true},
        {"Label3", 15.75, true},   {"Label18", 15.75, true}};
    for (const auto& [name, size, bold] : fonts) {
        const QFont f = w.findChild<QLabel*>(name)->font();
        EXPECT_DOUBLE_EQ(f.pointSizeF(), size) << name;
        EXPECT_EQ(f.bold(), bold) << name;
        EXPECT_FALSE(f.italic());
    }
    for (const char* name : {"Label8", "Label13"}) {
        auto* label = w.findChild<QLabel*>(name);
        EXPECT_TRUE(label->alignment() & Qt::AlignRight) << name;
        EXPECT_NE(label->frameShape(), QFrame::NoFrame) << name;
    }
    for (const char* name : {"RichTextBox1", "RichTextBox2"}) {
        // Every character of the table has one width, so the columns line up.
        const QFontMetrics metrics(w.findChild<QPlainTextEdit*>(name)->font());
        for (QChar c : QStringLiteral("iW .-/%0123456789ANORST"))
            EXPECT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char(' ')))
                << name;
        EXPECT_DOUBLE_EQ(w.findChild<QPlainTextEdit*>(name)->font().pointSizeF(), 9);
    }
}

// Fixed captions are read whole, whatever face the machine has.
TEST(MainWindow, FixedCaptionsFitTheirLabels) {
    MainWindow w;
    for (const char* name : {"Label1", "Label3", "Label6", "Label7", "Label11", "Label12",
                             "Label14", "Label15", "Label16", "Label17", "Label18"}) {
        auto* label = w.findChild<QLabel*>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
    }
}

TEST(MainWindow, MenusToolbarPanelsAndTimers) {
    MainWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Travenor "));
    EXPECT_EQ(w.objectName(), QStringLiteral("Form1"));

    const std::pair<const char*, std::vector<std::pair<const char*, const char*>>> menus[] = {
        {"at", {{"打开", "Open"}, {"保存", "Save"}, {"退出", "Exit"}}},
        {"caozhou", {{"读取", "Read"}, {"打印", "Print"}, {"数据清除", "Clear"}}},
    };
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 2);
    // Captions as they read; the mark of the Alt letter is not shown.
    auto caption = [](const QAction* a) { return QString(a->text()).remove(QLatin1Char('&')); };
    EXPECT_EQ(caption(bar[0]), QStringLiteral("File"));
    EXPECT_EQ(caption(bar[1]), QStringLiteral("Operation"));
    for (const auto& [menuName, items] : menus) {
        auto* menu = w.findChild<QMenu*>(QString::fromUtf8(menuName));
        ASSERT_NE(menu, nullptr) << menuName;
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(actions[i]->objectName(), QString::fromUtf8(items[i].first));
            EXPECT_EQ(caption(actions[i]), QString::fromUtf8(items[i].second));
            EXPECT_TRUE(actions[i]->shortcut().isEmpty());
            EXPECT_FALSE(actions[i]->isCheckable());
            EXPECT_FALSE(actions[i]->isSeparator());
        }
    }

    const QList<QAction*> tools = w.findChild<QToolBar*>("Toolbar1")->actions();
    QStringList keys;
    for (QAction* a : tools) {
        keys << a->data().toString();
        EXPECT_EQ(a->text(), a->data().toString());
        EXPECT_FALSE(a->icon().isNull());
    }
    EXPECT_EQ(keys, QStringList({"Open", "Read", "Save", "Print", "Clear", "Exit"}));

    const int widths[] = {107, 667, 109};
    for (int i = 0; i < 3; ++i) {
        auto* panel = w.findChild<QLabel*>(QStringLiteral("Panel%1").arg(i + 1));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->width(), widths[i]);
    }

    EXPECT_FALSE(w.windowIcon().isNull());
}

// A 1366 x 768 screen less a 40-pixel task bar, in the logical pixels Qt
// lays out in at 100, 125 and 200 % scaling: where the window fits nothing
// changes; where it does not, it fits and every control can be scrolled to.
TEST(MainWindow, EveryControlCanBeReachedOnASmallScreen) {
    const struct {
        double scale;
        bool fits;
    } cases[] = {{1.0, true}, {1.25, false}, {2.0, false}};
    for (const auto& c : cases) {
        const QRect available(0, 0, static_cast<int>(1366 / c.scale),
                              static_cast<int>((768 - 40) / c.scale));
        MainWindow w;
        const QSize full = w.size();
        w.fitInto(available);
        w.show();
        QCoreApplication::processEvents();
        if (c.fits) {
            EXPECT_EQ(w.size(), full) << c.scale;
            EXPECT_EQ(w.centralWidget()->objectName(), "client") << c.scale;
            continue;
        }
        EXPECT_LE(w.width(), available.width()) << c.scale;
        EXPECT_LE(w.height(), available.height()) << c.scale;
        auto* scroll = qobject_cast<QScrollArea*>(w.centralWidget());
        ASSERT_NE(scroll, nullptr) << c.scale;
        // Only the height is short at 125 %: one scroll bar, not two.
        if (c.scale == 1.25) {
            EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
            EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
        }
        // The menu stays on the window; each control, and the status bar
        // with its panels, can be brought into view.
        EXPECT_GE(w.menuBar()->geometry().top(), 0) << c.scale;
        std::vector<std::string> names{"StatusBar1", "Panel1", "Panel3"};
        for (const layout::Control& control : layout::controls()) names.push_back(control.name);
        for (const std::string& name : names) {
            QWidget* widget = w.findChild<QWidget*>(QString::fromStdString(name));
            ASSERT_NE(widget, nullptr) << name;
            if (widget == nullptr || !widget->isVisibleTo(&w)) continue;
            // Whole where it fits the view, else its top-left corner.
            const QSize view = scroll->viewport()->size();
            const bool fitsView =
                widget->width() <= view.width() && widget->height() <= view.height();
            const QPoint corner = widget->mapTo(scroll->widget(), QPoint(0, 0));
            if (fitsView)
                scroll->ensureVisible(corner.x() + widget->width() / 2,
                                      corner.y() + widget->height() / 2, widget->width() / 2 + 1,
                                      widget->height() / 2 + 1);
            else
                scroll->ensureVisible(corner.x(), corner.y(), 1, 1);
            QCoreApplication::processEvents();
            const QRect place(widget->mapTo(scroll->viewport(), QPoint(0, 0)), widget->size());
            EXPECT_TRUE(scroll->viewport()->rect().contains(
                fitsView ? place : QRect(place.topLeft(), QSize(1, 1))))
                << name << " at " << c.scale;
        }
        // A refresh keeps the size that fits.
        w.holdWindowSize();
        EXPECT_LE(w.height(), available.height()) << c.scale;
    }
}

TEST(MainWindow, FixedSizeNoMaximizeTabOrderAndFocus) {
    MainWindow w;
    w.show();
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.centralWidget()->size(), QSize(887, 641));
    // Whatever made the window smaller, the next refresh gives it its size
    // back; on a hidden twin with loosened constraints the smaller size takes.
    MainWindow twin;
    const QSize fixed = twin.size();
    twin.setMinimumSize(0, 0);
    twin.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    twin.resize(400, 300);
    ASSERT_EQ(twin.size(), QSize(400, 300));
    twin.holdWindowSize();
    EXPECT_EQ(twin.size(), fixed);
    twin.resize(400, 300);
    twin.setWindowState(Qt::WindowMinimized);
    twin.holdWindowSize();  // minimized: left alone
    EXPECT_EQ(twin.size(), QSize(400, 300));

    EXPECT_EQ(w.focusWidget(), w.findChild<QWidget*>("Command1"));
    const char* order[] = {"Command1", "Command2", "Command3",     "Command4",
                           "Command5", "Combo1",   "Text1",        "Text2",
                           "Text3",    "Text4",    "RichTextBox1", "Command6"};
    // Walking the focus chain from the first control meets the named ones in this order.
    QStringList wanted, met;
    for (const char* name : order) wanted << QString::fromLatin1(name);
    QWidget* at = w.findChild<QWidget*>("Command1");
    for (int steps = 0; steps < 500 && met.size() < wanted.size();
         ++steps, at = at->nextInFocusChain())
        if (wanted.contains(at->objectName()) && !met.contains(at->objectName()))
            met << at->objectName();
    EXPECT_EQ(met, wanted);
}

}  // namespace
}  // namespace travenor

namespace travenor {
namespace {

// Typing a number and Enter in the port box keeps the number and adds no item.
TEST(MainWindow, EnterInThePortBoxAddsNoListItem) {
    MainWindow w;
    auto* box = w.findChild<QComboBox*>(QStringLiteral("Combo1"));
    for (const char* typed : {"7", "12", "7"}) {
        box->lineEdit()->setText(QString::fromLatin1(typed));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box->lineEdit(), &press);
        QApplication::sendEvent(box->lineEdit(), &release);
        EXPECT_EQ(box->count(), 0) << typed;
        EXPECT_EQ(w.text("Combo1"), typed);
    }
}

}  // namespace
}  // namespace travenor
