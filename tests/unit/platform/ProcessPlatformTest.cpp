#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/ProcessControl.h"
#include "platform/QtSerialPort.h"
#include "platform/SystemPortDirectory.h"

namespace travenor {
namespace {

// What a port number stands for, and what the user is told when its device
// refuses to open, in the words of the system the program runs on.
TEST(PlatformWords, PortsAndRefusalsAreNamedAsTheSystemNamesThem) {
    QTemporaryDir devices;
    SystemPortDirectory directory(devices.path().toStdString(),
                                  [] { return std::vector<std::string>{}; });
    EXPECT_EQ(directory.deviceFor(0), "");
    EXPECT_EQ(directory.deviceFor(17), "");
#ifdef _WIN32
    for (int number : {1, 3, 16})
        EXPECT_EQ(directory.deviceFor(number), "COM" + std::to_string(number));
    EXPECT_EQ(refusalNotice(3, "COM3"),
              "Port 3 (COM3) is in use by another program, or Windows denied this account access "
              "to it. Close the program that holds it to use the port here.");
#else
    // A device this account may use that still would not open: another
    // program holds it.
    const std::string device = devices.filePath(QStringLiteral("ttyUSB0")).toStdString();
    QFile(QString::fromStdString(device)).open(QIODevice::WriteOnly);
    EXPECT_EQ(directory.deviceFor(1), device);
    EXPECT_EQ(refusalNotice(1, device), "Port 1 (" + device +
                                            ") is busy: another program holds it. Close that "
                                            "program to use the port here.");
#endif
}

// The program's folder is the one its executable is in, known before the
// application object is made.
TEST(PlatformWords, TheProgramFolderHoldsTheRunningProgram) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    const QDir dir(QString::fromStdString(folder));
    EXPECT_TRUE(dir.exists()) << folder;
    const QStringList programs = dir.entryList({QStringLiteral("unit_tests*")}, QDir::Files);
    EXPECT_FALSE(programs.isEmpty()) << folder;
}

}  // namespace
}  // namespace travenor
