#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/InstrumentModel.h"

namespace travenor::sim {

struct SimOptions {
    Config config;
    std::string linkPath;  // a symbolic link to the device, made and removed by the program
    std::string logPath;   // "-" for standard error
    bool help = false;
    bool version = false;
};

// Parses the command line of travenor-sim; on a bad option returns nothing
// and sets `error`.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

std::string simUsage();

}  // namespace travenor::sim
