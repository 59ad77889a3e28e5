#pragma once

#include <cstdint>
#include <string>

namespace travenor {

class Controls;
class FileSystem;
class RecordStore;

// The record table: title, header and one line per non-empty record, shown in
// the table box (RichTextBox1) and the print buffer (RichTextBox2).
class RecordTable {
  public:
    static constexpr std::int16_t DEFAULT_FIRST = 1;
    static constexpr std::int16_t DEFAULT_LAST = 3500;
    static const std::string TITLE_LINE;
    static const std::string HEADER_LINE;
    static constexpr const char* SCRATCH_NAME = "lishi.txt";

    // scratchFolder is the program's folder; the table passes through a
    // scratch file there while it is built.
    RecordTable(RecordStore& store, Controls& controls, FileSystem& files,
                std::string scratchFolder);

    // 0 for either bound means its default and a display build (both boxes);
    // two given bounds make a print build (print buffer only).
    void buildRecordTable(std::int16_t first, std::int16_t last);
    // Marks slots 0 to 3500 empty and shows the empty table.
    void clearRecords();

    // The table text for records first to last, every line ended by CR LF.
    static std::string tableText(const RecordStore& store, int first, int last);

    std::string scratchPath() const;

  private:
    RecordStore& store;
    Controls& controls;
    FileSystem& files;
    std::string scratchFolder;
};

}  // namespace travenor
