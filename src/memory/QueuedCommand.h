// A command line with its option string, as an operation hands it to the command engine.
#pragma once

#include <string>
#include <vector>

struct TQueuedCommand {
    std::string Command;
    std::string Option;
    bool operator==(const TQueuedCommand&) const = default;
};

using TCommandList = std::vector<TQueuedCommand>;
