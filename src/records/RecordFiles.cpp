#include "records/RecordFiles.h"

#include <algorithm>
#include <utility>

#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "records/RecordViews.h"

namespace travenor {

std::string presetFilePath(const std::string& folder, const std::string& shortDate) {
    std::string date = shortDate;
    std::replace_if(
        date.begin(), date.end(), [](char c) { return c == '/' || c == '\\'; }, '-');
    return folder + "/" + RecordFiles::PRESET_PREFIX + date;
}

RecordFiles::RecordFiles(TableView& view, FileDialogs& dialogs, FileSystem& files,
                         MessageBox& messages, std::function<std::string()> presetFileName)
    : view(view),
      dialogs(dialogs),
      files(files),
      messages(messages),
      presetFileName(std::move(presetFileName)) {}

void RecordFiles::openTable() {
    const auto path = dialogs.showOpen(presetFileName(), OPEN_FILTER);
    if (!path) return;
    LoadedText file;
    const FileOutcome read = files.loadText(*path, file);
    if (!read.ok) {
        qCInfo(logFiles).noquote() << "open of" << QString::fromStdString(*path)
                                   << "refused:" << QString::fromStdString(read.reason);
        messages.show("The file could not be opened:\r\n" + *path + "\r\n" + read.reason, "Open");
        return;
    }
    qCInfo(logFiles).noquote() << "opened" << QString::fromStdString(*path);
    view.showTableText(file.text);
    opened = Opened{std::move(file.bytes), view.tableText()};
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
