#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "platform/QtFileSystem.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "support/FakeViews.h"
#include "support/RecordOfTexts.h"

namespace travenor {
namespace {

Record sample(int n) {
    return test::recordOf(
        {std::to_string(n) + "A", "1.000A", "1.000A", "1.000A", "+0.1%", "600/5A", 0});
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool exists(const std::string& path) {
    struct stat found {};
    return ::lstat(path.c_str(), &found) == 0;
}

// Runs a table build with a deadline: a build that blocks fails the test
// instead of hanging it.
void buildWithin(RecordTable& table, const char* what) {
    auto build = std::async(std::launch::async, [&] { table.showTable(); });
    if (build.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << what << ": the table build blocked";
        std::fflush(nullptr);
        std::_Exit(1);
    }
}

struct ScratchFile : ::testing::Test {
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString();
    std::string scratch = folder + "/lishi.txt";
    RecordStore store;
    test::FakeViews views;
    QtFileSystem files;

    void SetUp() override {
        for (int n = 1; n <= 4000; ++n) store.markEmpty(n);
        for (int n = 1; n <= 40; ++n) store.store(n, sample(n));
    }
    std::string expected() const { return RecordTable::tableText(store, 1, 4000); }
};

// Whatever is at the scratch file's name, the user sees this program's table,
// nothing blocks, and nothing that is not the program's own is touched.
TEST_F(ScratchFile, WhateverIsAtItsNameTheTableIsRightAndNothingElseIsTouched) {
    const std::string usersFile = folder + "/users-file.txt";
    struct Case {
        const char* what;
        std::function<void()> plant;
        std::function<void()> check;  // what is left on disk
    };
    const Case cases[] = {
        {"nothing", [] {}, [&] { EXPECT_FALSE(exists(scratch)); }},
        {"a leftover of our own", [&] { writeFile(scratch, "left over\r\n"); },
         [&] { EXPECT_FALSE(exists(scratch)); }},
        {"a read-only leftover of our own",
         [&] {
             writeFile(scratch, "left over\r\n");
             ::chmod(scratch.c_str(), 0444);
         },
         [&] { EXPECT_FALSE(exists(scratch)); }},
        {"a link to a file of the user",
         [&] {
             writeFile(usersFile, "the user's own words\r\n");
             ASSERT_EQ(::symlink(usersFile.c_str(), scratch.c_str()), 0);
         },
         [&] {
             EXPECT_EQ(contentOf(usersFile), "the user's own words\r\n");
             ::unlink(scratch.c_str());
         }},
        {"a link to /dev/zero", [&] { ASSERT_EQ(::symlink("/dev/zero", scratch.c_str()), 0); },
         [&] { ::unlink(scratch.c_str()); }},
        {"a dangling link", [&] { ASSERT_EQ(::symlink("/nonexistent/x", scratch.c_str()), 0); },
         [&] {
             EXPECT_FALSE(exists("/nonexistent/x"));
             ::unlink(scratch.c_str());
         }},
        {"a pipe", [&] { ASSERT_EQ(::mkfifo(scratch.c_str(), 0600), 0); },
         [&] { ::unlink(scratch.c_str()); }},
        {"a folder", [&] { ASSERT_EQ(::mkdir(scratch.c_str(), 0700), 0); },
         [&] { ::rmdir(scratch.c_str()); }},
        {"a hard link to a file of the user",
         [&] {
             writeFile(usersFile, "the user's own words\r\n");
             ASSERT_EQ(::link(usersFile.c_str(), scratch.c_str()), 0);
         },
         [&] {
             EXPECT_EQ(contentOf(usersFile), "the user's own words\r\n");
             ::unlink(scratch.c_str());
         }},
    };
    for (const Case& c : cases) {
        c.plant();
        RecordTable table(store, views, files, folder);
        views.table.clear();
        buildWithin(table, c.what);
        EXPECT_EQ(views.table, expected()) << c.what;
        EXPECT_EQ(views.print, expected()) << c.what;
        c.check();
        ::unlink(usersFile.c_str());
    }
}

// Another user's file at the name is not ours to remove or write.
TEST_F(ScratchFile, AnotherUsersFileIsLeftAsItWas) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user here";
    writeFile(scratch, "someone else's\r\n");
    ASSERT_EQ(::chown(scratch.c_str(), 65534, 65534), 0);
    RecordTable table(store, views, files, folder);
    buildWithin(table, "another user's file");
    EXPECT_EQ(views.table, expected());
    EXPECT_EQ(contentOf(scratch), "someone else's\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(scratch.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 65534u);
}

// Two programs started from one folder build their tables at the same time:
// each shows its own.
TEST_F(ScratchFile, TwoProgramsInOneFolderEachShowTheirOwnTable) {
    RecordStore otherStore;
    for (int n = 1; n <= 4000; ++n) otherStore.markEmpty(n);
    for (int n = 1; n <= 60; ++n) otherStore.store(n, sample(1000 + n));
    test::FakeViews otherViews;
    QtFileSystem otherFiles;
    RecordTable mine(store, views, files, folder);
    RecordTable theirs(otherStore, otherViews, otherFiles, folder);
    int wrongMine = 0;
    int wrongTheirs = 0;
    std::thread other([&] {
        for (int i = 0; i < 300; ++i) {
            theirs.showTable();
            if (otherViews.table != RecordTable::tableText(otherStore, 1, 4000)) ++wrongTheirs;
        }
    });
    for (int i = 0; i < 300; ++i) {
        mine.showTable();
        if (views.table != expected()) ++wrongMine;
    }
    other.join();
    EXPECT_EQ(wrongMine, 0);
    EXPECT_EQ(wrongTheirs, 0);
    EXPECT_FALSE(exists(scratch));
}

// A folder whose name is not valid text: the scratch file goes there, in the
// name's own bytes, and nowhere else.
TEST_F(ScratchFile, AFolderNameThatIsNotTextIsUsedAsItIs) {
    const std::string odd = folder + "/records-\xff\xfe";
    ASSERT_EQ(::mkdir(odd.c_str(), 0700), 0);
    const bool rootHadOne = exists("/lishi.txt");
    writeFile(odd + "/lishi.txt", "left over\r\n");  // ours: it goes when the scratch file is made
    RecordTable table(store, views, files, odd);
    buildWithin(table, "odd folder");
    EXPECT_EQ(views.table, expected());
    EXPECT_FALSE(exists(odd + "/lishi.txt"));
    EXPECT_TRUE(rootHadOne || !exists("/lishi.txt"));

    // No folder at all: the table is built in memory, not at the root.
    RecordTable nowhere(store, views, files, "");
    views.table.clear();
    buildWithin(nowhere, "no folder");
    EXPECT_EQ(views.table, expected());
    EXPECT_TRUE(rootHadOne || !exists("/lishi.txt"));
    ::rmdir(odd.c_str());  // Qt's own clean-up cannot spell the name
}

}  // namespace
}  // namespace travenor
