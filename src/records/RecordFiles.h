#pragma once

#include <functional>
#include <optional>
#include <string>

namespace travenor {

class FileDialogs;
class FileSystem;
class MessageBox;
class RecordTable;
class TableView;

// Open and Save of record files: the table box's text to a plain text file
// and back. Open shows a file's text, and the records of a record table go
// into the store. A file Open showed and Save writes back unchanged keeps its
// bytes, those the box cannot show included.
class RecordFiles {
  public:
    static constexpr const char* OPEN_FILTER =
        "All Files (*.*)|*.*|Text Files(*.txt)|*.txt|DOC Files (*.doc)|*.doc";
    static constexpr const char* SAVE_FILTER = "Text Files(*.txt)|*.txt|doc Files (*.doc)|*.doc";
    static constexpr const char* PRESET_PREFIX = "TALVIKS";
    // The most Open shows. A full table has about 4000 lines of under 100
    // characters; the box takes seconds to lay out a line of a megabyte, and
    // a minute for millions of short lines.
    static constexpr std::size_t LONGEST_LINE = 16384;
    static constexpr std::size_t MOST_LINES = 100000;

    // presetFileName gives the path both dialogs start with.
    RecordFiles(RecordTable& table, TableView& view, FileDialogs& dialogs, FileSystem& files,
                MessageBox& messages, std::function<std::string()> presetFileName);

    void openTable();
    void saveTable();

  private:
    RecordTable& table;
    TableView& view;
    FileDialogs& dialogs;
    FileSystem& files;
    MessageBox& messages;
    std::function<std::string()> presetFileName;

    // The file last opened, and the box's text right after it was shown.
    struct Opened {
        std::string bytes;
        std::string shown;
    };
    std::optional<Opened> opened;
};

// The path the dialogs propose: the folder, "/", "TALVIKS" and the short date,
// with any path separator of the date turned into "-" so it stays one name.
std::string presetFilePath(const std::string& folder, const std::string& shortDate);

}  // namespace travenor
