// The receiver side of the command protocol: one command line in, answer lines out.
// No I/O here; the program around it moves the lines over the pseudo-terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SimMemory.h"

namespace sim {

struct ReceiverOptions {
    bool auField = true;      // main and summary answers carry their optional "AU" field
    std::string ack = " ";    // acknowledgement of a write or a selection
    std::string error = "?";  // refusal: unknown command or value out of range
};

class Receiver {
public:
    explicit Receiver(Memory memory, ReceiverOptions options = {});

    // Answers one command line (without its line end). Every command gets exactly one line.
    std::vector<std::string> Handle(std::string_view line);

    const Memory& memory() const { return mem_; }
    Memory& memory() { return mem_; }
    const ReceiverOptions& options() const { return opt_; }

private:
    enum class Focus { None, Channel, SearchBank };
    using Answer = std::vector<std::string>;

    Answer Ack() const { return {opt_.ack}; }
    Answer Refuse() const { return {opt_.error}; }

    Answer Region(std::string_view arg) const;
    Answer ReadChannel(std::string_view arg) const;
    Answer ReadBankHeader(std::string_view arg) const;
    Answer Recall(std::string_view arg);
    Answer WriteChannel(std::string_view line);
    Answer DeleteChannel(std::string_view arg);
    Answer ReceiveState(std::string_view arg) const;
    Answer WriteMode(std::string_view arg);
    Answer Offset(std::string_view line);
    Answer ReadSearchBank(std::string_view arg) const;
    Answer WriteSearchBank(std::string_view line);
    Answer SelectSearchBank(std::string_view arg);
    Answer DeleteSearchBank(std::string_view arg);
    Answer LinkList(std::string_view arg);
    Answer GroupCommand(std::string_view line, bool search);
    Answer Parameter(std::string_view key, std::string_view arg);

    std::string ModeText(const Mode& m) const;
    std::string AuField(std::uint8_t autoBand) const;

    Params* FocusParams();
    const Mode* FocusMode() const;

    Memory mem_;
    ReceiverOptions opt_;
    Focus focus_ = Focus::None;
    int focusBank_ = 0;
    int focusChannel_ = 0;
    bool writeMode_ = false;  // "IX1" .. "IX0"; kept for the log, writes do not depend on it
};

// The link list text: two digits per linked bank in ascending order, or "99".
std::string LinkText(std::uint64_t link);

}  // namespace sim
