#include <grp.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>

#include "link/LinkSupervisor.h"
#include "platform/QtSerialPort.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/PortNotices.h"
#include "support/LogCapture.h"
#include "support/OtherUser.h"
#include "support/ScriptedDialogs.h"

namespace travenor {
namespace {

struct Pty {
    int master = -1;
    int slave = -1;
    std::string name;
    Pty() {
        char path[256] = {};
        if (::openpty(&master, &slave, path, nullptr, nullptr) == 0) name = path;
    }
    ~Pty() {
        ::close(slave);
        ::close(master);
    }
};

std::unique_ptr<QtSerialPort> portOn(const std::string& device) {
    return std::make_unique<QtSerialPort>(
        std::make_unique<FixedPortDirectory>(std::map<int, std::string>{{1, device}}));
}

// A port another program holds: the user is told once that it is busy, the
// scan goes on trying, and the port box's tip says the same.
TEST(PortRefusal, ABusyPortIsToldOnce) {
    Pty line;
    ASSERT_FALSE(line.name.empty());
    auto holder = portOn(line.name);
    ASSERT_TRUE(holder->open(1, {}));
    auto port = portOn(line.name);
    std::vector<std::string> told;
    port->setRefusalHandler([&](int, const std::string& notice) { told.push_back(notice); });
    for (int pass = 0; pass < 5; ++pass) EXPECT_FALSE(port->open(1, {}));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("Port 1 (" + line.name + ") is busy"), std::string::npos) << told[0];
    EXPECT_EQ(port->refusalOf(1), told[0]);
    holder->close();
    EXPECT_TRUE(port->open(1, {}));  // free again: it opens
    EXPECT_EQ(told.size(), 1u);
}

// Refusals do not stack boxes: each is told in the status bar's tooltip, and
// only the port the user typed in (or a USB adapter) gets the one box.
TEST(PortRefusal, OnlyThePortTheUserChoseInterruptsWithABox) {
    Pty first, second;
    ASSERT_FALSE(first.name.empty() || second.name.empty());
    auto holdFirst = portOn(first.name);
    auto holdSecond = portOn(second.name);
    ASSERT_TRUE(holdFirst->open(1, {}) && holdSecond->open(1, {}));
    auto messages = std::make_shared<test::RecordedMessages>();
    ApplicationOptions options;
    options.messages = messages;
    Application app(std::make_unique<QtSerialPort>(std::make_unique<FixedPortDirectory>(
                        std::map<int, std::string>{{1, first.name}, {2, second.name}})),
                    options);
    app.load();  // opens port 1: refused, not chosen
    auto* panel = app.window().findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(
        panel->toolTip().contains(QString::fromStdString("Port 1 (" + first.name + ") is busy")))
        << panel->toolTip().toStdString();
    EXPECT_TRUE(messages->shown.empty());

    auto* box = app.window().findChild<QComboBox*>(QStringLiteral("Combo1"));
    emit box->lineEdit()->textEdited(QStringLiteral("2"));
    for (int tick = 0; tick < 40; ++tick) app.supervisor().discoveryTick();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].first.rfind("Port 2 (" + second.name + ") is busy", 0), 0u)
        << messages->shown[0].first;
    EXPECT_TRUE(panel->toolTip().contains(QStringLiteral("Port 2")));

    // One box a run, however many ports are refused after it.
    EXPECT_FALSE(PortNotices().boxFor("/dev/ttyS0", false));
    PortNotices notices;
    EXPECT_TRUE(notices.boxFor("/dev/ttyUSB0", false));
    EXPECT_FALSE(notices.boxFor("/dev/ttyACM0", true));
    for (const char* usb : {"/dev/ttyUSB3", "/dev/ttyACM0", "/dev/serial/by-id/usb-FTDI_X-if00"})
        EXPECT_TRUE(PortNotices::isUsbAdapter(usb)) << usb;
    for (const char* other : {"/dev/ttyS0", "/dev/pts/3", "COM3", "/tmp/ttyUSBfake/x"})
        EXPECT_FALSE(PortNotices::isUsbAdapter(other)) << other;
}

// What an account without access is told when it opens `device`.
std::string noticeWithoutAccess(const std::string& device) {
    return test::inUnprivilegedChild([&] {
        if (::geteuid() != 0) ::chmod(device.c_str(), 0);
        auto port = portOn(device);
        std::string notice = "(none)";
        port->setRefusalHandler([&](int, const std::string& n) { notice = n; });
        port->open(1, {});
        port->open(1, {});
        return notice;
    });
}

// A device this account may not open: which device, and what to do about it.
TEST(PortRefusal, APortWithoutPermissionSaysWhatToDo) {
    Pty line;
    ASSERT_FALSE(line.name.empty());
    ASSERT_EQ(::chmod(line.name.c_str(), 0600), 0);
    std::string notice = noticeWithoutAccess(line.name);
    EXPECT_NE(notice.find("Port 1 (" + line.name + ") may not be opened by this account"),
              std::string::npos)
        << notice;
    EXPECT_NE(notice.find("Ask the administrator"), std::string::npos) << notice;
    EXPECT_EQ(notice.find("usermod"), std::string::npos) << notice;

    // A device its group may use: join that group.
    const struct group* dialout = ::getgrnam("dialout");
    if (::geteuid() != 0 || dialout == nullptr) GTEST_SKIP() << "needs root and a dialout group";
    ASSERT_EQ(::chown(line.name.c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(line.name.c_str(), 0660), 0);
    notice = noticeWithoutAccess(line.name);
    EXPECT_NE(notice.find("Add the account to the group \"dialout\""), std::string::npos) << notice;
    EXPECT_NE(notice.find("sudo usermod -aG dialout $USER"), std::string::npos) << notice;
    EXPECT_NE(notice.find("log out and in again"), std::string::npos) << notice;
}

// Wherever the screen, the title bar and menu bar stay on it.
TEST(WindowPlacement, TheTopLeftCornerIsAlwaysOnTheScreen) {
    const struct {
        const char* what;
        QRect frame;
        QRect available;
        QPoint place;
    } cases[] = {
        {"fits: centred", {0, 0, 900, 700}, {0, 0, 1920, 1080}, {510, 190}},
        {"taller than the screen", {0, 0, 900, 700}, {0, 0, 1093, 614}, {97, 0}},
        {"wider and taller", {0, 0, 900, 700}, {0, 0, 800, 500}, {0, 0}},
        {"screen with a top panel", {0, 0, 900, 700}, {0, 32, 1093, 582}, {97, 32}},
        {"second screen on the right", {0, 0, 900, 700}, {1920, 0, 1280, 1024}, {2110, 162}},
        {"exactly as large", {0, 0, 800, 600}, {0, 0, 800, 600}, {0, 0}},
    };
    for (const auto& c : cases) {
        const QPoint place = placeOnScreen(c.frame, c.available);
        EXPECT_EQ(place, c.place) << c.what;
        EXPECT_TRUE(c.available.contains(place)) << c.what;
    }
}

TEST(PortLog, OpensAndRefusalsAreToldOnce) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    test::LogCapture log;
    QtSerialPort port(std::make_unique<FixedPortDirectory>(
        std::map<int, std::string>{{1, name}, {2, "/nonexistent/ttyUSB9"}}));
    const LineSettings settings{};
    for (int pass = 0; pass < 3; ++pass) {
        // Low latency is asked for on every open; a pseudo-terminal refuses
        // it and the port is open all the same.
        ASSERT_TRUE(port.open(1, settings));
        EXPECT_FALSE(port.lowLatencyGranted());
        port.open(2, settings);
    }
    port.close();
    ::close(slave);
    ::close(master);
    EXPECT_EQ(test::LogCapture::lines()
                  .filter(QStringLiteral("opened: ") + name + QStringLiteral(" (no low latency)"))
                  .size(),
              1)
        << log.all().toStdString();
    EXPECT_EQ(
        test::LogCapture::lines().filter(QStringLiteral("/nonexistent/ttyUSB9) refused:")).size(),
        1)
        << log.all().toStdString();
}

}  // namespace
}  // namespace travenor
