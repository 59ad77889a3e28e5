#include "shell/ProcessSetup.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <filesystem>
#include <system_error>

namespace travenor {

void prepareProcess() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::string programFolder() {
#ifdef __linux__
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path()) return program.parent_path().native();
#endif
    const QString folder = QCoreApplication::applicationDirPath();
    return folder.isEmpty() ? std::string() : QFile::encodeName(folder).toStdString();
}

}  // namespace travenor
