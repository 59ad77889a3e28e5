#include "platform/FileDialogs.h"

#include <cctype>

namespace travenor {

std::vector<FileFilter> filterEntries(std::string_view filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
        parts.emplace_back(filter.substr(start, end - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FileFilter> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

std::string withSaveExtension(const std::string& path, const std::string& suffix) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string end = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (end == ".txt" || end == ".doc" || suffix.empty() || name.empty()) return path;
    return path + "." + suffix;
}

}  // namespace travenor
