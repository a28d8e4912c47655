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

// Fixed COM number blocks of the kernel's serial device families (k = the number in the
// device name, 0 to 99):
//   ttyS<k>     COM1 + k      (COM1-COM100, as the classic PC numbering)
//   ttyUSB<k>   COM101 + k    (USB serial converters)
//   ttyACM<k>   COM201 + k    (USB modems / CDC ACM)
//   ttyAMA<k>   COM301 + k    (ARM PL011 UARTs)
//   rfcomm<k>   COM401 + k    (Bluetooth serial)
//   ttyXRUSB<k> COM501 + k    (Exar USB)
//   ttymxc<k>   COM601 + k    (i.MX UARTs)
//   ttyO<k>     COM701 + k    (OMAP UARTs)
//   ttySAC<k>   COM801 + k    (Samsung UARTs)
// Any other device (or k of 100 and more) gets the first free number from COM901 on, in
// the order of device names; only those numbers may shift when devices come and go.
// Returns nothing for a name outside the fixed blocks.
std::optional<int> KernelPortNumber(const std::string& deviceName);

// n of a virtual port link named "COM<n>" (n from 1, no leading zeros), else nothing.
std::optional<int> VirtualPortNumber(const std::string& fileName);
