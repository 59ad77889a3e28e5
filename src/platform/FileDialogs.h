#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace travenor {

// One entry of a file dialog's filter: the name the user reads and the
// pattern it stands for.
struct FileFilter {
    std::string shown;
    std::string pattern;

    bool operator==(const FileFilter&) const = default;
};

// Splits a filter string of shown names and patterns, all separated by
// vertical bars ("Text Files (*.txt)|*.txt|..."), into its entries. A shown
// name without a pattern after it is dropped.
std::vector<FileFilter> filterEntries(std::string_view filter);

// The modal open and save dialogs. Each starts with the given full path and
// filter string and gives the full path the user chose, or nothing when the
// user cancelled.
// The Open and Save dialogs. Both start at fileName (a folder and a name)
// with the filter's first entry chosen, are modal over the window, and return
// the chosen path, or nothing when the user cancelled.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> showOpen(const std::string& fileName,
                                                const std::string& filter) = 0;
    // A bare name gets the extension of the chosen filter entry.
    virtual std::optional<std::string> showSave(const std::string& fileName,
                                                const std::string& filter) = 0;
};

}  // namespace travenor
