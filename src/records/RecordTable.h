#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "link/Record.h"

namespace travenor {

class FileSystem;
class RecordStore;
class TableView;

// The record table: title, header and one line per non-empty record, shown in
// the table box and kept in the print buffer.
class RecordTable {
  public:
    static constexpr std::int16_t DEFAULT_FIRST = 1;
    // Every record the store holds: a download fills slots up to 4000.
    static constexpr std::int16_t DEFAULT_LAST = 4000;
    static const std::string TITLE_LINE;
    static const std::string HEADER_LINE;
    static constexpr const char* SCRATCH_NAME = "lishi.txt";

    // scratchFolder is the program's folder; the table passes through a
    // scratch file there while it is built.
    RecordTable(RecordStore& store, TableView& view, FileSystem& files, std::string scratchFolder);

    // Records 1 to 4000 into the table box and the print buffer.
    void showTable();
    // Records first to last into the print buffer. A bound of 0 stands for
    // its default (1, 4000) and then the table box shows the same text.
    void printBuffer(std::int16_t first, std::int16_t last);
    // Marks every slot empty and shows the empty table.
    void clearRecords();

    // An opened file's text in the table box. A record table's records
    // replace the store's, so that Print and Save work on what is shown; the
    // store of a file that is no record table is left as it was, and Print
    // says there is nothing to print until the box shows a table again.
    void showOpenedText(const std::string& text,
                        const std::vector<std::pair<int, Record>>* records);
    // Whether the box shows an opened file that is no record table.
    bool showsTextWithoutRecords() const { return otherText; }

    // The table text for records first to last, every line ended by CR LF.
    static std::string tableText(const RecordStore& store, int first, int last);

    std::string scratchPath() const;

  private:
    RecordStore& store;
    TableView& view;
    FileSystem& files;
    std::string scratchFolder;
    bool otherText = false;
};

}  // namespace travenor
