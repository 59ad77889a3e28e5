#include "shell/PortToolTip.h"

#include <QEvent>
#include <QWidget>
#include <utility>

#include "link/SerialLink.h"

namespace travenor {

PortToolTip::PortToolTip(QWidget* portBox, QWidget* portName, std::function<std::string()> portText,
                         std::function<std::string(int)> deviceFor)
    : QObject(portBox),
      portBox(portBox),
      portName(portName),
      portText(std::move(portText)),
      deviceFor(std::move(deviceFor)) {
    portBox->installEventFilter(this);
    portName->installEventFilter(this);
    update();
}

bool PortToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) update();
    return QObject::eventFilter(watched, event);
}

void PortToolTip::update() {
    const auto number = portNumberOf(portText());
    const std::string device = number ? deviceFor(*number) : std::string();
    const QString tip = device.empty()
                            ? QStringLiteral("No device for this port number")
                            : QStringLiteral("Device: %1").arg(QString::fromStdString(device));
    portBox->setToolTip(tip);
    portName->setToolTip(tip);
}

}  // namespace travenor
