#include "records/RecordTable.h"

#include <utility>

#include "platform/FileSystem.h"
#include "records/RecordLine.h"
#include "records/RecordStore.h"
#include "records/RecordViews.h"

namespace travenor {

const std::string RecordTable::TITLE_LINE = std::string(44, ' ') + "Travenor";
const std::string RecordTable::HEADER_LINE =
    "    NO.       Ih       Ir          Is         It      F.Er     Ratio      CH                ";

namespace {
constexpr const char* LINE_END = "\r\n";
}

RecordTable::RecordTable(RecordStore& store, TableView& view, FileSystem& files,
                         std::string scratchFolder)
    : store(store), view(view), files(files), scratchFolder(std::move(scratchFolder)) {}

std::string RecordTable::scratchPath() const {
    return scratchFolder + "/" + SCRATCH_NAME;
}

std::string RecordTable::tableText(const RecordStore& store, int first, int last) {
    std::string text;
    text.reserve(static_cast<std::size_t>(last >= first ? last - first + 3 : 2) * 80);
    text += TITLE_LINE + LINE_END;
    text += HEADER_LINE + LINE_END;
    for (int n = first; n <= last; ++n) {
        if (!RecordStore::hasSlot(n) || store.isEmpty(n)) continue;
        if (const auto line = recordLine(store, n)) text += *line + LINE_END;
    }
    return text;
}

void RecordTable::showTable() {
    printBuffer(0, 0);
}

void RecordTable::printBuffer(std::int16_t first, std::int16_t last) {
    bool display = false;
    if (first == 0) {
        first = DEFAULT_FIRST;
        display = true;
    }
    if (last == 0) {
        last = DEFAULT_LAST;
        display = true;
    }

    // The table passes through the scratch file, and what is shown is the
    // text made here: a scratch file that cannot be made safely (an installed
    // program, a folder others write to) or that came back otherwise never
    // changes what the user sees.
    const std::string text = tableText(store, first, last);
    if (!scratchFolder.empty()) files.passThroughScratch(scratchPath(), text);

    if (display) {
        otherText = false;
        view.showTableText(text);
        view.setPrintText(view.tableText());
    } else {
        view.setPrintText(text);
    }
}

void RecordTable::showOpenedText(const std::string& text,
                                 const std::vector<std::pair<int, Record>>* records) {
    otherText = records == nullptr;
    if (records != nullptr) {
        store.markAllEmpty();
        for (const auto& [number, record] : *records) store.store(number, record);
    }
    view.showTableText(text);
}

void RecordTable::clearRecords() {
    store.markAllEmpty();
    showTable();
}

}  // namespace travenor
