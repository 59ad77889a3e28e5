#pragma once

#include "shell/Core.h"
#include "support/FakeFileSystem.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"
#include "support/ScriptedDialogs.h"

namespace travenor::test {

// The program's core as the window and the command line have it, on a fake
// port, fake views and files in memory; every message is recorded, every
// print kept, and the status bar's clock stands still.
struct CoreOnFakes {
    FakePort port;
    FakeViews views;
    FakeFileSystem files;
    RecordedMessages messages;
    RecordingPrinter printer;
    int pendingEventRuns = 0;
    Core core{CoreParts{port, views, views, views, views, views, views, files, messages, printer,
                        "", [this] { ++pendingEventRuns; },
                        [] { return std::string("12:34:56"); }}};
    RecordStore& store = core.store;
    SerialLink& link = core.link;
    RecordTable& table = core.table;
    Download& download = core.download;
    LinkSupervisor& supervisor = core.supervisor;
    StatusRefresh& status = core.status;
};

}  // namespace travenor::test
