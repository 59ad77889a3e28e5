#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "link/CommandFrame.h"
#include "link/LinkSupervisor.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "platform/MessageBox.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/Application.h"
#include "shell/MainWindow.h"
#include "shell/ProgramTimers.h"
#include "shell/StatusRefresh.h"
#include "sim/SimPort.h"
#include "support/ScriptedDialogs.h"

namespace travenor::test {

// The real program (window, link, download) with the simulated instrument on
// port 3, its replies delivered only when the test pumps them; no timer runs,
// the test calls the tick handlers itself.
struct AppFixture : ::testing::Test {
    QTemporaryDir folder;
    std::shared_ptr<RecordedMessages> messages = std::make_shared<RecordedMessages>();
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<RecordingPrinter> printer = std::make_shared<RecordingPrinter>();
    int exitRequests = 0;
    sim::SimPort* port = nullptr;
    std::unique_ptr<Application> app;

    static sim::Config quietInstrument(int records = 10) {
        sim::Config config;
        config.recordCount = records;
        config.lineRate = false;
        config.turnaroundMs = 0;
        return config;
    }

    void SetUp() override { start(quietInstrument()); }

    void start(const sim::Config& config) {
        app.reset();
        auto simPort = std::make_unique<sim::SimPort>(
            std::make_unique<sim::InstrumentModel>(config), 3, false);
        port = simPort.get();
        ApplicationOptions options;
        options.programFolder = folder.path().toStdString();
        options.messages = messages;
        options.processPendingEvents = [] {};
        options.fileDialogs = dialogs;
        options.printer = printer;
        options.exitProgram = [this] { ++exitRequests; };
        app = std::make_unique<Application>(std::move(simPort), std::move(options));
        app->load();
    }

    std::string t(const char* name) { return app->window().text(name); }
    MainWindow& window() { return app->window(); }
    Download& download() { return app->download(); }
    LinkSupervisor& supervisor() { return app->supervisor(); }
    int period(Tick tick) { return app->timers().period(tick); }
    void refresh() { app->status().refreshStatus(); }
    void discovery() { app->supervisor().discoveryTick(); }
    int pump() { return port->pump(); }

    // Scans until the instrument on port 3 has answered and the refresh shows it.
    void connect() {
        for (int i = 0; i < 40 && !supervisor().isLinked(); ++i) {
            discovery();
            pump();
        }
        ASSERT_TRUE(supervisor().isLinked());
        refresh();
        port->clearSent();
    }

    // The command values the program has sent since the last call.
    std::vector<std::int32_t> requests() {
        std::vector<std::int32_t> values;
        const auto& bytes = port->sent();
        for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4)
            values.push_back(bytes[i + 2] * 256 + bytes[i + 3]);
        port->clearSent();
        return values;
    }
};

}  // namespace travenor::test
