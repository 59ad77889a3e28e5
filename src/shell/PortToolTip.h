#pragma once

#include <QObject>
#include <functional>
#include <string>

class QWidget;

namespace travenor {

// Tells the device a port number stands for, as the tooltip of the port box
// and the port status. The device is looked up when the tip is about to
// show, not on every port change of the scan.
class PortToolTip : public QObject {
    Q_OBJECT
  public:
    PortToolTip(QWidget* portBox, QWidget* portName, std::function<std::string()> portText,
                std::function<std::string(int)> deviceFor);

    void update();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* portBox;
    QWidget* portName;
    std::function<std::string()> portText;
    std::function<std::string(int)> deviceFor;
};

}  // namespace travenor
