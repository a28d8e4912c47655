// Which device a port number COM<n> stands for: kernel serial devices (libudev) with
// stable numbers by device family, plus virtual ports (symbolic links COM<n> in the
// kestrel-ports directory). A virtual port wins over a kernel port of the same number.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct PortEntry {
    int number = 0;          // n of COM<n>
    std::string device;      // device node, for example /dev/ttyUSB0 or /dev/pts/5
    std::string description; // product / manufacturer where known, else empty
};

// The virtual port directory: $XDG_RUNTIME_DIR/kestrel-ports, else /tmp/kestrel-ports-<uid>.
std::string VirtualPortDir();

// All ports in a stable order (by number). Throws std::runtime_error when the device
// database cannot be read at all.
std::vector<PortEntry> ListPorts();

// The device for COM<n>, or nothing when no such port is known.
std::optional<std::string> ResolvePort(int number);
