// travenor-sim: a simulated ratio test set on a pseudo-terminal.
#include <csignal>
#include <cstdio>
#include <exception>

#include "sim/PtyServer.h"
#include "sim/SimOptions.h"

namespace {
std::atomic<bool> stopRequested{false};
void requestStop(int) {
    stopRequested = true;
}
}  // namespace

int main(int argc, char* argv[]) {
    using namespace travenor::sim;
    std::string error;
    const auto options = parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "travenor-sim: %s\nTry 'travenor-sim --help'.\n", error.c_str());
        return 2;
    }
    if (options->help) {
        std::fputs(simUsage().c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("travenor-sim %s\n", TRAVENOR_VERSION);
        return 0;
    }

    std::FILE* log = nullptr;
    if (options->logPath == "-") {
        log = stderr;
    } else if (!options->logPath.empty()) {
        log = std::fopen(options->logPath.c_str(), "w");
        if (log == nullptr) {
            std::fprintf(stderr, "travenor-sim: cannot write log %s\n", options->logPath.c_str());
            return 2;
        }
    }

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        InstrumentModel model(options->config);
        PtyServer server(model, options->linkPath, log);
        std::printf("%s\n", server.devicePath().c_str());
        if (!options->linkPath.empty()) std::printf("%s\n", options->linkPath.c_str());
        std::fflush(stdout);
        server.run(stopRequested);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "travenor-sim: %s\n", e.what());
        return 1;
    }
    if (log != nullptr && log != stderr) std::fclose(log);
    return 0;
}
