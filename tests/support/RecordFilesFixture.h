#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "records/RecordTable.h"
#include "support/AppFixture.h"

namespace travenor::test {

inline std::string emptyTable() {
    return RecordTable::TITLE_LINE + "\r\n" + RecordTable::HEADER_LINE + "\r\n";
}

inline std::string bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
}

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// The window with a folder for record files, and the commands that use them.
struct RecordFilesTest : AppFixture {
    QTemporaryDir place;

    QString pathOf(const char* name) { return place.filePath(QString::fromLatin1(name)); }
    void save(const QString& path) {
        dialogs->answer = path.toStdString();
        app->runCommand(Command::Save);
    }
    void open(const QString& path) {
        dialogs->answer = path.toStdString();
        app->runCommand(Command::Open);
    }
    void downloadAll() {
        connect();
        download().startDownload();
        for (int i = 0; i < 100000 && download().isDownloading(); ++i)
            if (pump() == 0) download().downloadTick();
        ASSERT_FALSE(download().isDownloading());
    }
};

}  // namespace travenor::test
