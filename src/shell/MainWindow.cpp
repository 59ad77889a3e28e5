#include "shell/MainWindow.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "shell/ControlFactory.h"
#include "shell/LivePresenter.h"
#include "shell/MainWindowLayout.h"
#include "shell/WindowFonts.h"

namespace travenor {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The caption with Qt's mnemonic mark before the first `letter` of it.
QString withMnemonic(const char* caption, char letter) {
    QString text = QString::fromUtf8(caption);
    const qsizetype at = text.indexOf(QLatin1Char(letter));
    if (at >= 0) text.insert(at, QLatin1Char('&'));
    return text;
}

// The boxes hold lines; their text is handed out with CR LF line ends, as the
// table was made and as files are written.
QString withCrLf(QString text) {
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

}  // namespace

QString spokenValue(const QString& shown) {
    const QString text = shown.trimmed();
    if (text.isEmpty() || text == QLatin1String(LivePresenter::NO_READING))
        return QStringLiteral("none");
    // "119.9A" is heard as "119.9 A", "+0.5%" as "+0.5 %", "Set:600/5A" as "600/5A".
    QString value = text;
    for (const char* label : {"Set:", "Rat:"})
        if (value.startsWith(QLatin1String(label))) value = value.mid(4);
    static const QRegularExpression unit(QStringLiteral("^([-+]?[0-9.]+)(mA|A|%)$"));
    const auto match = unit.match(value);
    return match.hasMatch() ? match.captured(1) + QLatin1Char(' ') + match.captured(2) : value;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(layout::CAPTION));
    setWindowIcon(QIcon(QStringLiteral(":/icons/travenor.svg")));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    setFont(windowFont());
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::pixels(layout::CLIENT_WIDTH),
                         layout::pixels(layout::CLIENT_HEIGHT));
    setCentralWidget(client);

    buildControls();
    buildToolbar();
    buildMenus();
    buildStatusBar();
    describeForScreenReaders();

    // Fixed size: no dragging, no maximize.
    fixedSize = sizeHint();
    fullSize = fixedSize;
    setFixedSize(fixedSize);

    if (QWidget* first = control(layout::tabOrder().front())) first->setFocus();
}

void MainWindow::buildControls() {
    for (const layout::Control& c : layout::controls()) {
        QWidget* parent = *c.parent ? named.at(c.parent) : client;
        QWidget* widget = makeControl(c, parent);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            if (const auto command = commandForKey(c.caption))
                connect(button, &QPushButton::clicked, this,
                        [this, command] { emit commandRequested(*command); });
        }
        named.emplace(c.name, widget);
    }
    // What the user types into the port box is the box's text from then on.
    auto* portBox = static_cast<QComboBox*>(named.at("Combo1"));
    connect(portBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        waitingTexts.erase(std::string("Combo1"));
        bool number = false;
        const int port = text.trimmed().toInt(&number);
        typedPort = number ? std::optional<int>(port) : std::nullopt;
    });
    // Their text changes the most; they paint their whole face, so nothing
    // behind them (the frame, the toolbar under the frame) is painted again.
    portBox->lineEdit()->setAttribute(Qt::WA_OpaquePaintEvent);
    named.at("Text1")->setAttribute(Qt::WA_OpaquePaintEvent);
    paintPace = new QTimer(this);
    paintPace->setSingleShot(true);
    paintPace->setInterval(PAINT_PACE_MS);
    connect(paintPace, &QTimer::timeout, this, &MainWindow::paintWaitingTexts);

    const auto order = layout::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(control(order[i - 1]), control(order[i]));
}

void MainWindow::buildToolbar() {
    auto* bar = new QToolBar(client);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(layout::TOOLBAR_ICON_SIZE, layout::TOOLBAR_ICON_SIZE));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setGeometry(0, 0, layout::pixels(layout::CLIENT_WIDTH),
                     layout::pixels(layout::TOOLBAR_HEIGHT));
    for (const layout::ToolbarButton& button : layout::toolbar()) {
        const QString key = qs(button.key);
        QAction* action = bar->addAction(QIcon(qs(button.icon)), key);
        action->setObjectName(key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { emit toolbarKeyClicked(key); });
    }
    // The frames on the right stand over the toolbar's empty end: kept below
    // them, it is not painted again whenever the port box changes.
    bar->lower();
    named.emplace("Toolbar1", bar);
}

void MainWindow::buildMenus() {
    for (const layout::Menu& menu : layout::menus()) {
        QMenu* m = menuBar()->addMenu(withMnemonic(menu.caption, menu.mnemonic));
        m->setObjectName(qs(menu.name));
        for (const layout::MenuItem& item : menu.items) {
            QAction* action = m->addAction(withMnemonic(item.caption, item.mnemonic));
            action->setObjectName(qs(item.name));
            if (const auto command = commandForKey(item.command))
                connect(action, &QAction::triggered, this,
                        [this, command] { emit commandRequested(*command); });
        }
    }
}

void MainWindow::buildStatusBar() {
    auto* bar = new QStatusBar(client);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setGeometry(0, layout::pixels(layout::STATUS_BAR_TOP),
                     layout::pixels(layout::CLIENT_WIDTH),
                     layout::pixels(layout::STATUS_BAR_HEIGHT));
    int number = 1;
    for (const layout::Panel& panel : layout::panels()) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(number));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(layout::pixels(panel.minimumWidth));
        label->setFixedWidth(layout::pixels(panel.width));
        bar->addWidget(label);
        named.emplace("Panel" + std::to_string(number), label);
        ++number;
    }
    named.emplace("StatusBar1", bar);
}

void MainWindow::describeForScreenReaders() {
    for (const layout::Accessible& a : layout::accessibility()) {
        QWidget* widget = control(a.name);
        const QString name = QString::fromUtf8(a.accessibleName);
        widget->setAccessibleDescription(QString::fromUtf8(a.description));
        auto* label = qobject_cast<QLabel*>(widget);
        // The battery warnings' captions never change: shown is their value.
        if (label != nullptr && std::string_view(a.name) != "Label15" &&
            std::string_view(a.name) != "Label16") {
            // A value the label shows is part of what is heard.
            accessibleBase.emplace(a.name, name);
            widget->setAccessibleName(name + QStringLiteral(": ") + spokenValue(label->text()));
        } else {
            widget->setAccessibleName(name);
        }
    }
    // The port box's text field is what has the focus: without a name of its
    // own a screen reader says only the number in it.
    auto* portBox = static_cast<QComboBox*>(control("Combo1"));
    portBox->lineEdit()->setAccessibleName(portBox->accessibleName());
    // The status boxes are rewritten every 70 ms: typing into them would be
    // lost at once, so they take no typing (they still take the focus, to be
    // read and copied).
    for (const char* box : {"Text1", "Text2", "Text3", "Text4"})
        static_cast<QLineEdit*>(control(box))->setReadOnly(true);
}

QWidget* MainWindow::control(std::string_view name) const {
    const auto found = named.find(name);
    return found == named.end() ? nullptr : found->second;
}

bool MainWindow::paced(std::string_view name) {
    return name == "Combo1" || name == "Text1";
}

void MainWindow::paintWaitingTexts() {
    auto waiting = std::move(waitingTexts);
    waitingTexts.clear();
    for (const auto& [name, value] : waiting) {
        QWidget* widget = control(name);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->text() != value) edit->setText(value);
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            if (box->currentText() != value) box->setEditText(value);
        }
    }
}

std::string MainWindow::text(std::string_view name) const {
    if (const auto waiting = waitingTexts.find(name); waiting != waitingTexts.end())
        return waiting->second.toStdString();
    QWidget* widget = control(name);
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
    if (auto* box = qobject_cast<QComboBox*>(widget)) return box->currentText().toStdString();
    if (auto* area = qobject_cast<QPlainTextEdit*>(widget))
        return withCrLf(area->toPlainText()).toStdString();
    return {};
}

void MainWindow::setText(std::string_view name, const std::string& text) {
    QWidget* widget = control(name);
    const QString value = QString::fromStdString(text);
    if (paced(name)) {
        const auto* edit = qobject_cast<QLineEdit*>(widget);
        const auto* box = qobject_cast<QComboBox*>(widget);
        const QString shown = edit ? edit->text() : box ? box->currentText() : QString();
        if (shown == value) {
            waitingTexts.erase(std::string(name));
            return;
        }
        waitingTexts.insert_or_assign(std::string(name), value);
        if (!paintPace->isActive()) paintPace->start();
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text() == value) return;
        label->setText(value);
        // A reading is heard with its value; the name changing is the event
        // a screen reader announces.
        if (const auto base = accessibleBase.find(name); base != accessibleBase.end()) {
            label->setAccessibleName(base->second + QStringLiteral(": ") + spokenValue(value));
            QAccessibleEvent changed(label, QAccessible::NameChanged);
            announce(&changed);
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        // Rewriting the same text would only reset the caret under the user's hands.
        if (edit->text() != value) edit->setText(value);
    } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
        if (box->currentText() != value) box->setEditText(value);
    } else if (auto* area = qobject_cast<QPlainTextEdit*>(widget)) {
        area->setPlainText(value);
    }
}

bool MainWindow::isVisible(std::string_view name) const {
    QWidget* widget = control(name);
    return widget != nullptr && !widget->isHidden();
}

void MainWindow::setVisible(std::string_view name, bool visible) {
    if (QWidget* widget = control(name)) widget->setVisible(visible);
}

bool MainWindow::isEnabled(std::string_view name) const {
    QWidget* widget = control(name);
    return widget != nullptr && widget->isEnabled();
}

void MainWindow::setEnabled(std::string_view name, bool enabled) {
    if (QWidget* widget = control(name)) widget->setEnabled(enabled);
}

int MainWindow::value(std::string_view name) const {
    auto* bar = qobject_cast<QProgressBar*>(control(name));
    return bar != nullptr ? bar->value() : 0;
}

void MainWindow::setValue(std::string_view name, int value) {
    if (auto* bar = qobject_cast<QProgressBar*>(control(name))) bar->setValue(value);
}

void MainWindow::fitInto(const QRect& available) {
    // The window manager's frame, once there is one, needs room too.
    const QSize room = available.size() - (frameGeometry().size() - geometry().size());
    const bool fits = fullSize.width() <= room.width() && fullSize.height() <= room.height();
    if (fits && scroll == nullptr) return;
    if (scroll == nullptr) {
        takeCentralWidget();
        scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("clientScroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(client);
        setCentralWidget(scroll);
    }
    // A scroll bar in one direction takes room from the other: where the
    // screen has it, the window grows by the bar so that only one is needed.
    QSize target = fullSize.boundedTo(room);
    const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (target.height() < fullSize.height() && target.width() == fullSize.width())
        target.setWidth(std::min(room.width(), fullSize.width() + bar));
    if (target.width() < fullSize.width() && target.height() == fullSize.height())
        target.setHeight(std::min(room.height(), fullSize.height() + bar));
    fixedSize = target;
    setFixedSize(fixedSize);
}

void MainWindow::showPortRefusal(const std::string& notice) {
    if (QWidget* panel = findChild<QWidget*>(QStringLiteral("Panel1")))
        panel->setToolTip(QString::fromStdString(notice));
}

void MainWindow::holdWindowSize() {
    if (isMinimized() || isMaximized() || isFullScreen()) return;
    if (size() != fixedSize) resize(fixedSize);
}

}  // namespace travenor
