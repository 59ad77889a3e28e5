#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/QtFileSystem.h"
#include "platform/SafeFile.h"
#include "support/TargetKinds.h"

namespace travenor {
namespace {

std::string bytesAt(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool contains(const std::string& text, const char* piece) {
    return text.find(piece) != std::string::npos;
}

// Reading: only regular files of a sensible size, and nothing blocks; a
// refusal says why and changes nothing.
TEST(SafeFile, ReadsOnlyRegularFilesOfATablesSize) {
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        std::string bytes = "untouched";
        const FileOutcome read = readRegularFile(target.path, bytes);
        if (target.readRefusal == nullptr) {
            EXPECT_TRUE(read.ok) << target.kind << ": " << read.reason;
            EXPECT_EQ(bytes, test::OLD_BYTES) << target.kind;
        } else {
            EXPECT_FALSE(read.ok) << target.kind;
            EXPECT_TRUE(contains(read.reason, target.readRefusal))
                << target.kind << ": " << read.reason;
            EXPECT_EQ(bytes, "untouched") << target.kind;
        }
        EXPECT_EQ(place.snapshot(), before) << target.kind;
    }
    // The limit is said as it is, in bytes when it is no round number of MB.
    const std::string over = place.path() + "/over.txt";
    std::ofstream(over) << std::string(4097, 'x');
    std::string bytes;
    EXPECT_EQ(readRegularFile(over, bytes, 4096).reason,
              "It is larger than 4096 bytes, the most this program reads.");
    EXPECT_TRUE(readRegularFile(over, bytes, 4097).ok);
}

// Writing: a regular file or nothing at the end of the path; what a refusal
// names stays as it was, and so does everything else.
TEST(SafeFile, ReplacesOnlyARegularFileOrNothingAndNeverTheLink) {
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        const FileOutcome checked = checkReplaceable(target.path);
        const FileOutcome written = replaceFile(target.path, "new bytes\r\n");
        EXPECT_EQ(checked.ok, written.ok) << target.kind;
        if (target.writeRefusal != nullptr) {
            EXPECT_FALSE(written.ok) << target.kind;
            EXPECT_TRUE(contains(written.reason, target.writeRefusal))
                << target.kind << ": " << written.reason;
            EXPECT_EQ(checked.reason, written.reason) << target.kind;
            EXPECT_EQ(place.snapshot(), before) << target.kind;
            continue;
        }
        EXPECT_TRUE(written.ok) << target.kind << ": " << written.reason;
        EXPECT_EQ(bytesAt(target.writtenAt), "new bytes\r\n") << target.kind;
        struct stat info {};
        // A link stays a link; it is its file that was replaced.
        ASSERT_EQ(::lstat(target.path.c_str(), &info), 0) << target.kind;
        EXPECT_EQ(S_ISLNK(info.st_mode), target.path != target.writtenAt) << target.kind;
    }
    // No temporary file is left anywhere.
    EXPECT_FALSE(contains(place.snapshot(), ".part")) << place.snapshot();
}

// Replacing another user's file keeps its owner, group and mode; where that
// cannot be done the file is left alone.
TEST(SafeFile, AReplacedFileKeepsItsOwnerGroupAndMode) {
    test::TargetFolder place;
    const std::string path = place.path() + "/theirs.txt";
    std::ofstream(path) << test::OLD_BYTES;
    ::chmod(path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), test::NOBODY, test::NOBODY), 0);
    }
    ASSERT_TRUE(replaceFile(path, "new\r\n").ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, test::NOBODY);
        EXPECT_EQ(info.st_gid, test::NOBODY);
    }
    EXPECT_EQ(bytesAt(path), "new\r\n");

    if (!root) return;
    // A user who may write the file and its folder, but cannot give a new
    // file root's ownership, is refused.
    const std::string rootFile = place.path() + "/shared/roots.txt";
    std::ofstream(rootFile) << test::OLD_BYTES;
    ::chmod(rootFile.c_str(), 0666);
    const FileOutcome refused =
        test::withoutPrivileges([&] { return replaceFile(rootFile, "new\r\n"); });
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(contains(refused.reason, "another user")) << refused.reason;
    EXPECT_EQ(bytesAt(rootFile), test::OLD_BYTES);
    EXPECT_FALSE(contains(place.snapshot(), ".part")) << place.snapshot();
}

// A full disk: the old file stays whole, nothing is left beside it, and the
// system's reason is given in words.
TEST(SafeFile, AFullDiskKeepsTheOldFileAndSaysWhy) {
    test::TargetFolder place;
    const std::string folder = place.path() + "/folder";
    const std::string said = test::inSmallFileSystem(folder, [&] {
        const std::string path = folder + "/kept.txt";
        std::ofstream(path) << test::OLD_BYTES;
        const FileOutcome written = replaceFile(path, std::string(64 * 1024, 'x'));
        return std::string(written.ok ? "written" : written.reason) + "|" + bytesAt(path);
    });
    const auto bar = said.find('|');
    ASSERT_NE(bar, std::string::npos) << said;
    const std::string reason = said.substr(0, bar);
    EXPECT_TRUE(reason == "No space left on device" || reason == "File too large") << reason;
    EXPECT_EQ(said.substr(bar + 1), test::OLD_BYTES);
}

// Open gives back the file's bytes and their text; Save of an opened text
// writes the bytes.
TEST(SafeFile, TheFileSystemReadsBytesAndTextTogether) {
    test::TargetFolder place;
    const std::string path = place.path() + "/latin.txt";
    std::ofstream(path, std::ios::binary) << "caf\xE9\xA0\r\n";
    QtFileSystem files;
    LoadedText loaded;
    ASSERT_TRUE(files.loadText(path, loaded).ok);
    EXPECT_EQ(loaded.bytes, "caf\xE9\xA0\r\n");
    EXPECT_EQ(loaded.text, "caf\xC3\xA9\xC2\xA0\r\n");
    ASSERT_TRUE(files.saveBytes(path + ".copy", loaded.bytes).ok);
    EXPECT_EQ(bytesAt(path + ".copy"), loaded.bytes);
    LoadedText untouched{"b", "t"};
    EXPECT_FALSE(files.loadText(place.path() + "/fifo", untouched).ok);
    EXPECT_EQ(untouched.bytes, "b");
}

}  // namespace
}  // namespace travenor
