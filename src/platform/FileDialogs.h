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

// The name Save writes: the chosen one when it ends in ".txt" or ".doc"
// (any case), else the chosen one with ".suffix" added: a name with dots
// of its own ("TALVIKS09.12.26") keeps them and still gets its extension.
std::string withSaveExtension(const std::string& path, const std::string& suffix);

// The Open and Save dialogs. Both start at fileName (a folder and a name)
// with the filter's first entry chosen, are modal over the window, and return
// the chosen path, or nothing when the user cancelled.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> showOpen(const std::string& fileName,
                                                const std::string& filter) = 0;
    // A name that does not end in ".txt" or ".doc" gets the extension of the
    // chosen filter entry.
    virtual std::optional<std::string> showSave(const std::string& fileName,
                                                const std::string& filter) = 0;
};

}  // namespace travenor
