// Between the receiver and the line: assembling command lines from received bytes, and the
// fault injection applied to the answers.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "SimReceiver.h"

namespace sim {

// Splits received bytes into command lines. CR ends a line; LF is ignored wherever it stands,
// so CR LF and CR alone both work. Overlong lines are cut to kMaxLine characters.
class LineAssembler {
public:
    static constexpr std::size_t kMaxLine = 4096;
    std::vector<std::string> Feed(std::string_view bytes);

private:
    std::string pending_;
};

// The key a fault option names a command by: its first two characters, or "EMPTY" for the
// empty command.
std::string CommandKey(std::string_view command);

struct FaultOptions {
    std::set<std::string> noAnswer;  // keys never answered (the command still takes effect)
    std::set<std::string> error;     // keys refused with the error answer, without effect
    double garbageRate = 0.0;        // chance of a noise line in front of each answer line
    int dropEvery = 0;               // drop every n-th answer line (0: never)
    std::string prefix;              // two characters in front of every keyed answer line
    std::uint32_t seed = 1;
};

// The receiver as seen through a faulty line.
class FaultyReceiver {
public:
    FaultyReceiver(Receiver& receiver, FaultOptions options);
    // The lines actually sent for one command (without line ends).
    std::vector<std::string> Answer(std::string_view command);

private:
    std::string Noise();

    Receiver& receiver_;
    FaultOptions opt_;
    std::mt19937 rng_;
    long answersSoFar_ = 0;
};

}  // namespace sim
