#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/OtherUser.h"

namespace travenor::test {

// Every kind of thing a path the user names can lead to, made in a fresh
// folder: what reading it and writing it must give, and where a write lands.
struct Target {
    std::string kind;
    std::string path;
    const char* readRefusal;   // a piece of the reason; nullptr when it reads
    const char* writeRefusal;  // nullptr when it is written
    std::string writtenAt;     // where a write lands
};

inline constexpr const char* OLD_BYTES = "the records of last week\r\n";
inline constexpr uid_t NOBODY = 65534;

class TargetFolder {
  public:
    TargetFolder() {
        const std::string f = folder.path().toStdString();
        const auto at = [&](const char* name) { return f + "/" + name; };
        ::chmod(f.c_str(), 0755);  // other users reach the shared folder inside
        std::ofstream(at("regular.txt")) << OLD_BYTES;
        std::ofstream(at("linked.txt")) << OLD_BYTES;
        ::mkdir(at("folder").c_str(), 0755);
        ::mkfifo(at("fifo").c_str(), 0644);
        ::symlink(at("linked.txt").c_str(), at("link-to-regular").c_str());
        // As root a fault here would replace the machine's own devices: the
        // devices are then copies of their nodes, made in this folder.
        const bool root = ::geteuid() == 0;
        const auto device = [&](const char* name, unsigned minor) {
            const std::string copy = at(name);
            if (root && ::mknod(copy.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0) return copy;
            return "/dev/" + std::string(name);
        };
        const std::string null = device("null", 3), zero = device("zero", 5),
                          full = device("full", 7);
        ::symlink(null.c_str(), at("link-to-null").c_str());
        ::symlink(zero.c_str(), at("link-to-zero").c_str());
        ::symlink("fifo", at("link-to-fifo").c_str());
        ::symlink("made-by-link.txt", at("dangling-link").c_str());
        // A sparse file far over any record table, and quick to make.
        const int big = ::open(at("big.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        [[maybe_unused]] const int grown = ::ftruncate(big, 300LL * 1024 * 1024);
        ::close(big);

        targets = {
            {"a regular file", at("regular.txt"), nullptr, nullptr, at("regular.txt")},
            {"nothing", at("missing.txt"), "No such file", nullptr, at("missing.txt")},
            {"a folder", at("folder"), "folder", "folder", ""},
            {"a FIFO", at("fifo"), "pipe", "pipe", ""},
            {"/dev/null", null, "device", "device", ""},
            {"/dev/zero", zero, "device", "device", ""},
            {"/dev/full", full, "device", "device", ""},
            {"an own link to a file", at("link-to-regular"), nullptr, nullptr, at("linked.txt")},
            {"an own link to /dev/null", at("link-to-null"), "device", "device", ""},
            {"an own link to /dev/zero", at("link-to-zero"), "device", "device", ""},
            {"an own link to a FIFO", at("link-to-fifo"), "pipe", "pipe", ""},
            {"an own link to nothing", at("dangling-link"), "No such file", nullptr,
             at("made-by-link.txt")},
            {"a 300 MB file", at("big.txt"), "larger than 16 MB", nullptr, at("big.txt")},
        };
        // Where the tests run as root: another user's link in a shared
        // (sticky) folder, leading to a file only root may read.
        if (root) {
            ::mkdir(at("shared").c_str(), 01777);
            ::chmod(at("shared").c_str(), 01777);
            std::ofstream(at("root-only.txt")) << OLD_BYTES;
            ::chmod(at("root-only.txt").c_str(), 0600);
            ::symlink(at("root-only.txt").c_str(), at("shared/planted").c_str());
            if (::lchown(at("shared/planted").c_str(), NOBODY, NOBODY) == 0)
                targets.push_back({"another user's link in a shared folder", at("shared/planted"),
                                   nullptr, "another user", ""});
        }
    }

    std::string path() const { return folder.path().toStdString(); }

    // Everything in the folder and the machine's devices: kind, identity,
    // owner, mode, size and, for small files, the bytes. Equal snapshots:
    // nothing changed.
    std::string snapshot() const {
        std::ostringstream out;
        for (const char* device : {"/dev/null", "/dev/zero", "/dev/full"}) describe(out, device);
        walk(out, path());
        return out.str();
    }

  private:
    static void describe(std::ostringstream& out, const std::string& path) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return;
        out << path << " " << (info.st_mode & S_IFMT) << " " << info.st_ino << " " << info.st_uid
            << ":" << info.st_gid << " " << std::oct << (info.st_mode & 07777) << std::dec << " "
            << info.st_size;
        if (S_ISREG(info.st_mode) && info.st_size < 4096) {
            std::ifstream file(path, std::ios::binary);
            out << " [" << std::string(std::istreambuf_iterator<char>(file), {}) << "]";
        }
        out << "\n";
    }
    static void walk(std::ostringstream& out, const std::string& folder) {
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return;
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            if (name == "." || name == "..") continue;
            const std::string path = folder + "/" + name;
            describe(out, path);
            struct stat info {};
            if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) walk(out, path);
        }
    }

    QTemporaryDir folder;

  public:
    std::vector<Target> targets;
};

// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails with "File too large", as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : previous(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &before);
        rlimit tiny = before;
        tiny.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit before{};
    void (*previous)(int);
};

// Runs `work` in a child process whose file system at `folder` holds only a
// few kilobytes: a small tmpfs in a private mount namespace where the tests
// may make one (as root), else a file size limit. Hands back what the child
// said.
inline std::string inSmallFileSystem(const std::string& folder,
                                     const std::function<std::string()>& work) {
    return inChildProcess(
        [&] {
            const bool mounted =
                ::unshare(CLONE_NEWNS) == 0 &&
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                ::mount("none", folder.c_str(), "tmpfs", 0, "size=16k") == 0;
            std::signal(SIGXFSZ, SIG_IGN);
            if (!mounted) {
                const rlimit tiny{16 * 1024, 16 * 1024};
                ::setrlimit(RLIMIT_FSIZE, &tiny);
            }
            return true;
        },
        work);
}

}  // namespace travenor::test
