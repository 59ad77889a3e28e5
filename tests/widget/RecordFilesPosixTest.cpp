// Record files against what only a POSIX system has: devices, pipes, links
// of other users, permissions, a full disk.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/QtFileSystem.h"
#include "support/OtherUser.h"
#include "support/RecordFilesFixture.h"
#include "support/TargetKinds.h"

namespace travenor {
namespace {

using test::bytesOf;
using test::RecordFilesTest;
using test::writeBytes;

// Open reads a regular file of a table's size and nothing else, without
// blocking; Save writes a regular file or a new one and nothing else. A
// refusal says why, and nothing anywhere changes.
TEST_F(RecordFilesTest, OpenAndSaveTouchOnlyRegularFiles) {
    test::TargetFolder place;
    for (const test::Target& target : place.targets) {
        const std::string before = place.snapshot();
        window().setText("RichTextBox1", "shown before\r\n");
        messages->shown.clear();
        open(QString::fromStdString(target.path));
        if (target.readRefusal == nullptr) {
            EXPECT_EQ(t("RichTextBox1"), test::OLD_BYTES) << target.kind;
            EXPECT_TRUE(messages->shown.empty()) << target.kind;
        } else {
            EXPECT_EQ(t("RichTextBox1"), "shown before\r\n") << target.kind;
            ASSERT_EQ(messages->shown.size(), 1u) << target.kind;
            const std::string& said = messages->shown[0].first;
            EXPECT_EQ(said.rfind("The file could not be opened:\r\n" + target.path + "\r\n", 0), 0u)
                << said;
            EXPECT_NE(said.find(target.readRefusal), std::string::npos) << said;
        }
        EXPECT_EQ(place.snapshot(), before) << target.kind;

        window().setText("RichTextBox1", "saved\r\n");
        messages->shown.clear();
        save(QString::fromStdString(target.path));
        if (target.writeRefusal == nullptr) {
            EXPECT_EQ(bytesOf(QString::fromStdString(target.writtenAt)), "saved\r\n\r\n")
                << target.kind;
            EXPECT_TRUE(messages->shown.empty()) << target.kind;
            continue;
        }
        ASSERT_EQ(messages->shown.size(), 1u) << target.kind;
        const std::string& said = messages->shown[0].first;
        EXPECT_EQ(said.rfind("The file could not be saved:\r\n" + target.path + "\r\n", 0), 0u)
            << said;
        EXPECT_NE(said.find(target.writeRefusal), std::string::npos) << said;
        EXPECT_EQ(place.snapshot(), before) << target.kind;
    }
}

// A Save that cannot be written leaves the old file byte for byte and tells
// the user why.
TEST_F(RecordFilesTest, ASaveThatFailsKeepsTheOldFileAndSaysSo) {
    const std::string old = "the records of last week\r\n";
    writeBytes(pathOf("kept.txt"), old);

    // A full disk: the file system takes no more than a few bytes.
    {
        const test::FileSizeLimit full(16);
        save(pathOf("kept.txt"));
    }
    EXPECT_EQ(bytesOf(pathOf("kept.txt")), old);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].second, "Save");
    EXPECT_EQ(
        messages->shown[0].first.rfind(
            "The file could not be saved:\r\n" + pathOf("kept.txt").toStdString() + "\r\n", 0),
        0u)
        << messages->shown[0].first;
    EXPECT_NE(messages->shown[0].first.find("\r\nFile too large\r\nThe records are not saved."),
              std::string::npos)
        << messages->shown[0].first;

    // A folder that does not exist.
    save(pathOf("no-such-folder/x.txt"));
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_NE(messages->shown[1].first.find("could not be saved"), std::string::npos);

    // A folder this user may not write to.
    ASSERT_TRUE(
        QFile::setPermissions(place.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QtFileSystem files;
    const FileOutcome refused = test::withoutPrivileges(
        [&] { return files.saveText(pathOf("kept.txt").toStdString(), "new\r\n"); });
    QFile::setPermissions(place.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("ermission"), std::string::npos) << refused.reason;
    EXPECT_EQ(bytesOf(pathOf("kept.txt")), old);
}

TEST_F(RecordFilesTest, AFileThisUserMayNotReadSaysWhy) {
    writeBytes(pathOf("private.txt"), "secret\r\n");
    QFile::setPermissions(pathOf("private.txt"), QFileDevice::Permissions());
    QtFileSystem files;
    LoadedText text;
    const FileOutcome refused = test::withoutPrivileges(
        [&] { return files.loadText(pathOf("private.txt").toStdString(), text); });
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("ermission"), std::string::npos) << refused.reason;
}

}  // namespace
}  // namespace travenor
