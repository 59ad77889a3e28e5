#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>

#include "link/CommandFrame.h"
#include "link/DecodedReply.h"
#include "link/LinkSupervisor.h"
#include "link/SerialLink.h"
#include "platform/QtSerialPort.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "sim/InstrumentModel.h"
#include "support/FakeViews.h"
#include "support/ScriptedDialogs.h"
#include "support/SimProcess.h"
#include "support/TargetKinds.h"
#include "support/Wait.h"

namespace travenor {
namespace {

using test::SimProcess;
using test::waitFor;

std::unique_ptr<QtSerialPort> portTo(const std::string& device, int number = 5) {
    return std::make_unique<QtSerialPort>(
        std::make_unique<FixedPortDirectory>(std::map<int, std::string>{{number, device}}));
}

TEST(Simulator, AnswersAProbeFromTheProgramsLinkCodeAtLineRate) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started);
    auto port = portTo(sim.path());
    test::FakeViews views;
    views.port = "5";
    SerialLink link(*port, views);
    link.openPort();
    ASSERT_TRUE(link.portOpen());
    std::optional<ReplyFrame> reply;
    port->setReceiveHandler([&] { reply = link.receiveStep(); });

    QElapsedTimer clock;
    clock.start();
    link.sendCommand(PROBE_COMMAND_BASE + 5);
    ASSERT_TRUE(waitFor([&] { return reply.has_value(); }, 2000));
    const auto elapsed = clock.nsecsElapsed() / 1e6;
    EXPECT_LT(elapsed, 100.0);
    EXPECT_GE(elapsed, 6.0);  // the line's own time is honoured
    EXPECT_EQ(reply->kindValue(), 4);
    EXPECT_EQ(reply->bytes[1], 5);
    std::printf("probe answered in %.2f ms\n", elapsed);
}

TEST(Simulator, BadOptionsExitNonZeroWithAMessage) {
    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"--records", "x"},
                                    QStringList{"--record-file", "/nonexistent/file"}}) {
        QProcess p;
        p.start(QStringLiteral(TRAVENOR_SIM_PATH), args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_NE(p.exitCode(), 0) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("travenor-sim:"));
    }
    QProcess help;
    help.start(QStringLiteral(TRAVENOR_SIM_PATH), {"--help"});
    ASSERT_TRUE(help.waitForFinished(5000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--drop-fraction"));
}

struct SimRun {
    bool finished = false;
    int exitCode = -1;
    std::string err;
};

// travenor-sim with `args`, given 5 s to exit of itself.
SimRun simExits(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TRAVENOR_SIM_PATH), args);
    SimRun run;
    run.finished = p.waitForFinished(5000);
    if (!run.finished) {
        p.kill();
        p.waitForFinished();
    }
    run.exitCode = p.exitCode();
    run.err = p.readAllStandardError().toStdString();
    return run;
}

// The simulator reads only a regular record file of a sensible size, and
// makes its link only where nothing is, or its own old link was.
TEST(Simulator, TouchesOnlyItsOwnLinkAndReadsOnlyARecordFile) {
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        const QString path = QString::fromStdString(target.path);
        if (target.readRefusal != nullptr) {
            const SimRun read = simExits({"--record-file", path});
            EXPECT_TRUE(read.finished) << target.kind;
            EXPECT_EQ(read.exitCode, 1) << target.kind;
            EXPECT_EQ(
                read.err.rfind("travenor-sim: cannot read record file " + target.path + ": ", 0),
                0u)
                << read.err;
            EXPECT_NE(read.err.find(target.readRefusal), std::string::npos) << read.err;
        }
        if (target.kind != "nothing") {
            const SimRun linked = simExits({"--link", path});
            EXPECT_TRUE(linked.finished) << target.kind;
            EXPECT_EQ(linked.exitCode, 1) << target.kind;
            EXPECT_NE(linked.err.find("give --link a path that is free"), std::string::npos)
                << linked.err;
        }
        EXPECT_EQ(place.snapshot(), before) << target.kind;
    }

    // An old link of ours to a pseudo-terminal is replaced, and at exit only
    // the link made is removed, not what took its place.
    const QString link = QString::fromStdString(place.path() + "/ttySIM");
    ASSERT_EQ(::symlink("/dev/pts/999", link.toLocal8Bit().constData()), 0);
    QProcess sim;
    sim.start(QStringLiteral(TRAVENOR_SIM_PATH), {"--link", link});
    ASSERT_TRUE(waitFor([&] { return QFileInfo(link).exists(); }, 5000));
    EXPECT_TRUE(QFileInfo(link).symLinkTarget().startsWith("/dev/pts/"));
    QFile::remove(link);
    {
        QFile replaced(link);
        ASSERT_TRUE(replaced.open(QIODevice::WriteOnly));
        replaced.write("somebody's file");
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    QFile kept(link);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "somebody's file");
}

TEST(Simulator, RemovesItsLinkOnInterrupt) {
    std::string link;
    {
        SimProcess sim({});
        ASSERT_TRUE(sim.started);
        link = sim.path();
        ::kill(static_cast<pid_t>(sim.proc().processId()), SIGINT);
        ASSERT_TRUE(sim.proc().waitForFinished(5000));
        EXPECT_EQ(sim.proc().exitCode(), 0);
    }
    EXPECT_FALSE(QFileInfo(QString::fromStdString(link)).isSymLink());
}

// The whole program with real timers over a pseudo-terminal.
struct ProgramTest : ::testing::Test {
    std::unique_ptr<Application> app;
    QTemporaryDir folder;
    std::shared_ptr<test::ScriptedDialogs> dialogs = std::make_shared<test::ScriptedDialogs>();
    std::shared_ptr<test::RecordedMessages> messages = std::make_shared<test::RecordedMessages>();

    void startProgram(const std::string& device) {
        ApplicationOptions options;
        options.programFolder = folder.path().toStdString();
        options.fileDialogs = dialogs;
        options.messages = messages;
        app = std::make_unique<Application>(portTo(device), std::move(options));
        app->start();
    }
    std::string t(const char* name) { return app->window().text(name); }
    bool linked() { return t("Text3") == "Connected" && t("Combo1") == "5"; }

    // Records 1 to count hold what the simulator generates from `seed`.
    void expectStoredAsGenerated(int count, std::uint32_t seed) {
        const auto records = sim::InstrumentModel::generateRecords(count, seed);
        for (int n = 1; n <= count; ++n) {
            ASSERT_EQ(*app->store().read(n),
                      DecodedReply::from(records[static_cast<std::size_t>(n - 1)]).record())
                << n;
        }
    }
};

TEST_F(ProgramTest, FindsTheInstrumentShowsLiveValuesAndDownloads500Records) {
    SimProcess sim({"--records", "500", "--seed", "11"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 5000));
    ASSERT_TRUE(waitFor([&] { return t("Label14") == "Set:600/5A"; }, 3000));
    EXPECT_NE(t("Label2"), "- - - -");

    QElapsedTimer clock;
    clock.start();
    app->runCommand(Command::Read);
    ASSERT_TRUE(waitFor([&] { return !app->download().isDownloading(); }, 30000));
    std::printf("500 records in %.2f s\n", clock.elapsed() / 1000.0);

    expectStoredAsGenerated(500, 11);
    EXPECT_NE(t("RichTextBox1").find("NO.0500"), std::string::npos);
    EXPECT_FALSE(app->window().isVisible("ProgressBar1"));
}

TEST_F(ProgramTest, ADownloadWhoseCountReplyIsLostReadsEveryRecord) {
    SimProcess sim({"--records", "300", "--seed", "8", "--drop-count-replies", "1"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 5000));
    app->runCommand(Command::Read);
    ASSERT_TRUE(waitFor([&] { return !app->download().isDownloading(); }, 30000));
    expectStoredAsGenerated(300, 8);
    EXPECT_TRUE(app->store().isEmpty(301));
    EXPECT_TRUE(messages->shown.empty());
}

// Read, Save, Clear, Open: the records come back as they were saved, plus the
// file's last empty line.
TEST_F(ProgramTest, DownloadedRecordsSurviveSaveClearAndOpen) {
    SimProcess sim({"--records", "200", "--seed", "5", "--turnaround", "0"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 5000));
    app->runCommand(Command::Read);
    ASSERT_TRUE(waitFor([&] { return !app->download().isDownloading(); }, 30000));
    expectStoredAsGenerated(200, 5);
    const std::string table = t("RichTextBox1");
    ASSERT_NE(table.find("NO.0200"), std::string::npos);

    dialogs->answer = folder.filePath(QStringLiteral("records.txt")).toStdString();
    app->runCommand(Command::Save);
    app->runCommand(Command::Clear);
    ASSERT_EQ(t("RichTextBox1").find("NO.0001"), std::string::npos);
    app->runCommand(Command::Open);
    EXPECT_EQ(t("RichTextBox1"), table + "\r\n");
}

TEST_F(ProgramTest, LosesTheLinkWhenTheInstrumentFallsSilentAndFindsItAgain) {
    SimProcess sim({"--silent-after", "1.5", "--silent-for", "3"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 5000));
    ASSERT_TRUE(waitFor([&] { return t("Text3") == "Unconnect"; }, 6000));
    EXPECT_EQ(t("Label8"), "- - - -");
    ASSERT_TRUE(waitFor([&] { return linked(); }, 8000));
}

TEST_F(ProgramTest, HangUpClosesThePortWithoutSpinningAndTheLinkComesBack) {
    SimProcess sim({"--hang-up-after", "1.5", "--hang-up-for", "2"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 5000));
    ASSERT_TRUE(waitFor([&] { return t("Text3") == "Unconnect"; }, 6000));
    const double before = test::processCpuSeconds();
    test::runFor(1000);
    const double used = test::processCpuSeconds() - before;
    EXPECT_LT(used, 0.3) << "CPU seconds in one second with the line gone";
    std::printf("CPU while the line is gone: %.1f%% of one core\n", used * 100);
    ASSERT_TRUE(waitFor([&] { return linked(); }, 8000));
}

// The cable pulled in the middle of a download: the download stops, what was
// stored stays, and the instrument is found again when it is back.
TEST_F(ProgramTest, HangUpDuringADownloadKeepsWhatWasStored) {
    SimProcess sim({"--records", "3000", "--hang-up-after", "3", "--hang-up-for", "1.5"});
    ASSERT_TRUE(sim.started);
    startProgram(sim.path());
    ASSERT_TRUE(waitFor([&] { return linked(); }, 3000));
    app->runCommand(Command::Read);
    // The port closes with the line; the re-sends go nowhere and end the
    // download, then the watchdog declares the link lost.
    ASSERT_TRUE(waitFor([&] { return !app->download().isDownloading(); }, 10000));
    ASSERT_TRUE(waitFor([&] { return t("Text3") == "Unconnect"; }, 5000));
    const int reached = app->download().recordIndex();
    EXPECT_GT(reached, 10);
    EXPECT_LT(reached, 3000);
    expectStoredAsGenerated(reached - 1, 1);
    ASSERT_TRUE(waitFor([&] { return linked(); }, 8000));
    EXPECT_FALSE(app->store().isEmpty(1));
}

}  // namespace
}  // namespace travenor
