#include "SimLink.h"

namespace sim {

std::vector<std::string> LineAssembler::Feed(std::string_view bytes) {
    std::vector<std::string> lines;
    for (char c : bytes) {
        if (c == '\r') {
            lines.push_back(std::move(pending_));
            pending_.clear();
        } else if (c != '\n' && pending_.size() < kMaxLine) {
            pending_.push_back(c);
        }
    }
    return lines;
}

std::string CommandKey(std::string_view command) {
    if (command.empty()) return "EMPTY";
    return std::string(command.substr(0, 2));
}

FaultyReceiver::FaultyReceiver(Receiver& receiver, FaultOptions options)
    : receiver_(receiver), opt_(std::move(options)), rng_(opt_.seed) {}

namespace {
bool StartsWithKey(const std::string& line) {
    return line.size() >= 2 && line[0] >= 'A' && line[0] <= 'Z' && line[1] >= 'A' && line[1] <= 'Z';
}
}  // namespace

std::vector<std::string> FaultyReceiver::Answer(std::string_view command) {
    const std::string key = CommandKey(command);
    std::vector<std::string> answers;
    if (opt_.error.count(key))
        answers = {receiver_.options().error};
    else
        answers = receiver_.Handle(command);
    if (opt_.noAnswer.count(key)) return {};

    std::vector<std::string> out;
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (auto& line : answers) {
        if (opt_.garbageRate > 0 && chance(rng_) < opt_.garbageRate) out.push_back(Noise());
        ++answersSoFar_;
        if (opt_.dropEvery > 0 && answersSoFar_ % opt_.dropEvery == 0) continue;
        if (!opt_.prefix.empty() && StartsWithKey(line)) line.insert(0, opt_.prefix);
        out.push_back(std::move(line));
    }
    return out;
}

// Noise looks like line trouble, never like an answer: no capital letters (no key), no "?"
// (no refusal) and never a lone blank (no acknowledgement).
std::string FaultyReceiver::Noise() {
    static constexpr std::string_view kChars =
        "abcdefghijklmnopqrstuvwxyz0123456789#$%&*+-./:;<=>@[]^_{|}~";
    std::uniform_int_distribution<int> length(3, 24);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(kChars.size()) - 1);
    std::string s(length(rng_), ' ');
    for (auto& c : s) c = kChars[pick(rng_)];
    return s;
}

}  // namespace sim
