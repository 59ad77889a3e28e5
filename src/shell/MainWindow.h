#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "platform/Controls.h"

class QTimer;

namespace travenor {

// Form1: the controls of the main window, laid out from the layout tables and
// reached by name. It shows state and reports commands; it decides nothing.
class MainWindow : public QMainWindow, public Controls {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);

    std::string text(std::string_view name) const override;
    void setText(std::string_view name, const std::string& text) override;
    bool isVisible(std::string_view name) const override;
    void setVisible(std::string_view name, bool visible) override;
    bool isEnabled(std::string_view name) const override;
    void setEnabled(std::string_view name, bool enabled) override;
    int value(std::string_view name) const override;
    void setValue(std::string_view name, int value) override;
    int interval(std::string_view timer) const override;
    void setInterval(std::string_view timer, int milliseconds) override;
    void holdWindowSize() override;

    // Timers only run once the program starts them; until then (and for
    // tests driving the ticks by hand) periods are only recorded.
    void setTimersLive(bool live);
    QTimer* timer(std::string_view name) const;

    // Tells the device a port number stands for, shown as a tooltip on the
    // port box and the port status.
    void setDeviceNames(std::function<std::string(int)> deviceFor);

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
    // A command by its toolbar key ("Open", "Read", ...); fromToolbar tells
    // the toolbar route from the button and menu routes.
    void commandRequested(const QString& key, bool fromToolbar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void buildToolbar();
    void buildMenus();
    void buildStatusBar();
    void buildTimers();
    void describeForScreenReaders();
    QWidget* control(std::string_view name) const;
    void updatePortToolTip();
    static bool paced(std::string_view name);

    QWidget* client = nullptr;
    std::map<std::string, QWidget*, std::less<>> named;
    std::map<std::string, QTimer*, std::less<>> timers;
    std::map<std::string, int, std::less<>> periods;
    bool timersLive = false;
    QSize fixedSize;
    std::function<std::string(int)> deviceFor;
    std::map<std::string, QString, std::less<>> waitingTexts;
    QTimer* paintPace = nullptr;
};

}  // namespace travenor
