#include "records/RecordFiles.h"

#include <algorithm>
#include <utility>

#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "records/RecordTable.h"
#include "records/RecordViews.h"
#include "records/TableReader.h"

namespace travenor {

std::string presetFilePath(const std::string& folder, const std::string& shortDate) {
    std::string date = shortDate;
    std::replace_if(
        date.begin(), date.end(), [](char c) { return c == '/' || c == '\\'; }, '-');
    return folder + "/" + RecordFiles::PRESET_PREFIX + date;
}

namespace {

// Whether the box can show the text without freezing the window.
FileOutcome showable(const std::string& bytes) {
    std::size_t lines = 0;
    for (std::size_t begin = 0; begin < bytes.size(); ++lines) {
        std::size_t end = bytes.find('\n', begin);
        if (end == std::string::npos) end = bytes.size();
        const bool crlf = end > begin && bytes[end - 1] == '\r';
        if (end - begin - (crlf ? 1 : 0) > RecordFiles::LONGEST_LINE)
            return {false, "It is not a record table: a line of it holds more than " +
                               std::to_string(RecordFiles::LONGEST_LINE) + " characters."};
        if (lines >= RecordFiles::MOST_LINES)
            return {false, "It is not a record table: it holds more than " +
                               std::to_string(RecordFiles::MOST_LINES) + " lines."};
        begin = end + 1;
    }
    return {};
}

}  // namespace

RecordFiles::RecordFiles(RecordTable& table, TableView& view, FileDialogs& dialogs,
                         FileSystem& files, MessageBox& messages,
                         std::function<std::string()> presetFileName)
    : table(table),
      view(view),
      dialogs(dialogs),
      files(files),
      messages(messages),
      presetFileName(std::move(presetFileName)) {}

void RecordFiles::openTable() {
    const auto path = dialogs.showOpen(presetFileName(), OPEN_FILTER);
    if (!path) return;
    LoadedText file;
    FileOutcome read = files.loadText(*path, file);
    if (read.ok) read = showable(file.bytes);
    if (!read.ok) {
        qCInfo(logFiles).noquote() << "open of" << QString::fromStdString(*path)
                                   << "refused:" << QString::fromStdString(read.reason);
        messages.show("The file could not be opened:\r\n" + *path + "\r\n" + read.reason, "Open");
        return;
    }
    const ReadTable records = readRecordTable(file.bytes);
    qCInfo(logFiles).noquote() << "opened" << QString::fromStdString(*path) << "with"
                               << records.records.size() << "records";
    table.showOpenedText(file.text, records.isTable ? &records.records : nullptr);
    opened = Opened{std::move(file.bytes), view.tableText()};
    if (!records.unread.empty())
        messages.show("The file is shown, but " + std::to_string(records.unread.size()) +
                          (records.unread.size() == 1
                               ? " line of it holds no record; printing leaves it out:\r\n"
                               : " lines of it hold no record; printing leaves them out:\r\n") +
                          unreadSummary(records.unread),
                      "Open");
}

void RecordFiles::saveTable() {
    const auto path = dialogs.showSave(presetFileName(), SAVE_FILTER);
    if (!path) return;
    // The old file is replaced only by a whole new one; when that cannot be
    // done the user must know the records were not kept.
    const std::string shown = view.tableText();
    const FileOutcome saved = opened && opened->shown == shown
                                  ? files.saveBytes(*path, opened->bytes + "\r\n")
                                  : files.saveText(*path, shown + "\r\n");
    if (saved.ok) {
        qCInfo(logFiles).noquote() << "records saved to" << QString::fromStdString(*path);
        return;
    }
    qCInfo(logFiles).noquote() << "save to" << QString::fromStdString(*path)
                               << "refused:" << QString::fromStdString(saved.reason);
    messages.show("The file could not be saved:\r\n" + *path + "\r\n" + saved.reason +
                      "\r\nThe records are not saved.",
                  "Save");
}

}  // namespace travenor
