// The simulator's device: a pseudo-terminal in raw mode, registered as a virtual port.
#pragma once

#include <string>

namespace sim {

// $XDG_RUNTIME_DIR/kestrel-ports, else /tmp/kestrel-ports-<uid>.
std::string PortDirectory();

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens the pair; the master end is non-blocking, the device end raw. We keep the device
    // end open ourselves so that the master never sees a hang-up while the program has the
    // port closed.
    bool Open(std::string& error);
    void Close();

    // Bytes written to the master that the device side has not read yet.
    int UnreadBytes() const;

    int master() const { return master_; }
    const std::string& devicePath() const { return path_; }
    bool isOpen() const { return master_ >= 0; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// A symbolic link that is removed again when this object goes.
class PortLink {
public:
    PortLink() = default;
    ~PortLink() { Remove(); }
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // COM<number> in the port directory; number 0 takes the first free one from 100.
    // A link whose device no longer exists counts as free.
    bool RegisterCom(int number, const std::string& device, std::string& error);
    // A plain link at `path`.
    bool Create(const std::string& path, const std::string& device, std::string& error);
    void Remove();

    int number() const { return number_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int number_ = 0;
};

}  // namespace sim
