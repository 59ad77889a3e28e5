#include "shell/WindowViews.h"

#include "shell/MainWindow.h"
#include "shell/PortToolTip.h"

namespace travenor {

namespace {

struct PhaseControls {
    const char* primary;
    const char* secondary;
    const char* ratioError;
};
constexpr PhaseControls PHASE_CONTROLS[] = {{"Label8", "Label2", "Label13"},
                                            {"Label9", "Label4", "Label19"},
                                            {"Label10", "Label5", "Label20"}};

const PhaseControls& of(Phase phase) {
    return PHASE_CONTROLS[static_cast<int>(phase)];
}

constexpr const char* PORT_BOX = "Combo1";
constexpr const char* PROGRESS = "ProgressBar1";

}  // namespace

WindowViews::WindowViews(MainWindow& window) : window(window) {}

void WindowViews::tellPortDevices(std::function<std::string(int)> deviceFor) {
    // Owned by the port box, it goes with the window.
    new PortToolTip(
        window.control(PORT_BOX), window.control("Text1"), [this] { return portText(); },
        std::move(deviceFor));
}

std::string WindowViews::portText() const {
    return window.text(PORT_BOX);
}
void WindowViews::showPort(int number) {
    window.setText(PORT_BOX, std::to_string(number));
}

void WindowViews::showPrimary(Phase phase, const std::string& text) {
    window.setText(of(phase).primary, text);
}
void WindowViews::showSecondary(Phase phase, const std::string& text) {
    window.setText(of(phase).secondary, text);
}
void WindowViews::showRatioError(Phase phase, const std::string& text) {
    window.setText(of(phase).ratioError, text);
}
void WindowViews::showSetRatio(const std::string& text) {
    window.setText("Label14", text);
}
void WindowViews::showMeasuredRatio(const std::string& text) {
    window.setText("Label17", text);
}
void WindowViews::showLowBattery(bool highVoltageUnit, bool lowVoltageUnit) {
    window.setVisible("Label16", lowVoltageUnit);
    window.setVisible("Label15", highVoltageUnit);
}

void WindowViews::holdWindowSize() {
    window.holdWindowSize();
}
void WindowViews::showStatusBar(const std::string& connection, const std::string& maker,
                                const std::string& time) {
    window.setText("Panel3", time);
    window.setText("Panel2", maker);
    window.setText("Panel1", connection);
}
std::string WindowViews::connectionText() const {
    return window.text("Text3");
}
void WindowViews::showConnection(const std::string& text) {
    window.setText("Text3", text);
}
void WindowViews::showPortName(const std::string& text) {
    window.setText("Text1", text);
}
void WindowViews::showPortState(const std::string& text) {
    window.setText("Text2", text);
}
void WindowViews::showActivity(const std::string& text) {
    window.setText("Text4", text);
}
void WindowViews::enableRecordCommands(bool enabled) {
    for (const char* button : {"Command1", "Command2", "Command3", "Command4"})
        window.setEnabled(button, enabled);
}
void WindowViews::enableProgress(bool enabled) {
    window.setEnabled(PROGRESS, enabled);
}

void WindowViews::showProgress(int percent) {
    window.setValue(PROGRESS, percent);
}
void WindowViews::setProgressShown(bool shown) {
    window.setVisible(PROGRESS, shown);
}

std::string WindowViews::tableText() const {
    return window.text("RichTextBox1");
}
void WindowViews::showTableText(const std::string& text) {
    window.setText("RichTextBox1", text);
}
std::string WindowViews::printText() const {
    return window.text("RichTextBox2");
}
void WindowViews::setPrintText(const std::string& text) {
    window.setText("RichTextBox2", text);
}

}  // namespace travenor
