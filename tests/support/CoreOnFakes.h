#pragma once

#include "link/SerialLink.h"
#include "records/Download.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/FakeFileSystem.h"
#include "support/FakePort.h"
#include "support/FakeViews.h"
#include "support/ScriptedDialogs.h"

namespace travenor::test {

// The link, the table and the download wired as the program wires them, on a
// fake port, fake views and files in memory; every message is recorded.
struct CoreOnFakes {
    FakePort port;
    FakeViews views;
    FakeFileSystem files;
    RecordedMessages messages;
    RecordStore store;
    SerialLink link{port, views};
    RecordTable table{store, views, files, ""};
    int pendingEventRuns = 0;
    Download download{link, store, table, views, messages, [this] { ++pendingEventRuns; }};
};

}  // namespace travenor::test
