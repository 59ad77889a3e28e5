#pragma once

#include <QAccessible>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "shell/Command.h"

class QScrollArea;
class QTimer;

namespace travenor {

// Form1: the controls of the main window, laid out from the layout tables and
// reached by their names there. It shows state and reports commands; it
// decides nothing. The program speaks to it through WindowViews.
// A shown text as a screen reader should say it: "119.9A" as "119.9 A",
// "- - - -" as "none", "Set:600/5A" as "600/5A".
QString spokenValue(const QString& shown);

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);

    // A control by its name in the layout tables; nullptr for no such name.
    QWidget* control(std::string_view name) const;

    // The texts, flags and values of the controls by name. Texts of the
    // boxes that hold lines come with CR LF line ends.
    std::string text(std::string_view name) const;
    void setText(std::string_view name, const std::string& text);
    bool isVisible(std::string_view name) const;
    void setVisible(std::string_view name, bool visible);
    bool isEnabled(std::string_view name) const;
    void setEnabled(std::string_view name, bool enabled);
    int value(std::string_view name) const;
    void setValue(std::string_view name, int value);

    // Puts the window back to its fixed outer size, unless it is minimized or
    // maximized.
    void holdWindowSize();
    // Keeps the whole window within the screen's usable area: where the
    // fixed size does not fit it, the controls move into a scroll area and
    // the window takes the size that fits; where it fits, nothing changes.
    void fitInto(const QRect& available);

    // The port number the user last typed into the port box, if any.
    std::optional<int> portTypedByUser() const { return typedPort; }
    // A port that would not open, told without blocking: the status bar's
    // connection panel carries it as its tooltip.
    void showPortRefusal(const std::string& notice);

    // Where accessibility events go: Qt's accessibility, which passes them on
    // to a screen reader while one listens (tests look at them here).
    std::function<void(QAccessibleEvent*)> announce = [](QAccessibleEvent* event) {
        QAccessible::updateAccessibility(event);
    };

    // The port box and the port status change with every step of the scan,
    // faster than anyone reads them. Their new text is theirs at once for the
    // program; it reaches the screen at most every PAINT_PACE_MS.
    static constexpr int PAINT_PACE_MS = 250;
    // Puts every text still waiting for the screen on it now.
    void paintWaitingTexts();

    using QMainWindow::isEnabled;
    using QMainWindow::isVisible;
    using QMainWindow::setEnabled;
    using QMainWindow::setVisible;

  signals:
    // A button or a menu item.
    void commandRequested(Command command);
    // A toolbar button, by its key ("Open", "Read", ...).
    void toolbarKeyClicked(const QString& key);

  private:
    void buildControls();
    void buildToolbar();
    void buildMenus();
    void buildStatusBar();
    void describeForScreenReaders();
    static bool paced(std::string_view name);

    QWidget* client = nullptr;
    std::map<std::string, QWidget*, std::less<>> named;
    QSize fixedSize;
    // The size at which every control shows; fixedSize is smaller only on a
    // screen too small for it.
    QSize fullSize;
    QScrollArea* scroll = nullptr;
    std::optional<int> typedPort;
    // The accessible names of the labels that show a value, without it.
    std::map<std::string, QString, std::less<>> accessibleBase;
    std::map<std::string, QString, std::less<>> waitingTexts;
    QTimer* paintPace = nullptr;
};

}  // namespace travenor
