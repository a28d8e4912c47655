// Command-line options of kestrel-receiver-sim.
#pragma once

#include <string>
#include <vector>

#include "SimLink.h"

namespace sim {

struct SimOptions {
    enum class Image { Demo, Empty, Full };
    int com = 0;  // 0: the first free number from 100
    std::string link;
    bool crlf = false;
    int region = 0;
    Image image = Image::Demo;
    std::string load;
    std::string dump;
    std::string log;
    int delayMs = 0;
    int disconnectAfter = 0;
    ReceiverOptions receiver;
    FaultOptions faults;
};

// Parses argv (without the program name). Returns false with a message on bad input;
// `help` is set when --help was asked for.
bool ParseOptions(const std::vector<std::string>& args, SimOptions& options, bool& help,
                  std::string& error);

std::string HelpText();

}  // namespace sim
