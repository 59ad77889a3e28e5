#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace travenor {

// The most a file the program reads may hold: a table of 4000 records is
// about 400 KB, so anything larger is not one of ours.
inline constexpr std::size_t READ_LIMIT_BYTES = 16u * 1024u * 1024u;

// Reads a regular file whole, at most `limit` bytes. A folder, a device, a
// pipe or a socket is refused before anything could block on it, and so is a
// file larger than the limit (or one that grows past it while read). The
// reason of a refusal is in words for the user.
FileOutcome readRegularFile(const std::string& path, std::string& bytes,
                            std::size_t limit = READ_LIMIT_BYTES);

// Whether replaceFile would write to `path`, checked before any work is done
// for it: the reason why not, as replaceFile would give it.
FileOutcome checkReplaceable(const std::string& path);

// Puts `bytes` at `path`, replacing what is there only once they are written
// whole. Only a regular file or nothing may be at the end of the path: a
// folder, a device, a pipe or a socket is refused. A symbolic link is
// followed only when it belongs to this user or to the administrator (the
// kernel's rule for links in shared folders), and what is replaced is the
// file it leads to, never the link. A replaced file keeps its mode, its owner
// and its group; where they cannot be kept the file is left as it was and the
// write refused. A failure leaves nothing behind and names the system's
// reason ("No space left on device").
FileOutcome replaceFile(const std::string& path, const std::string& bytes);

}  // namespace travenor
