#include "PortMap.h"

#include <libudev.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace fs = std::filesystem;

namespace {

constexpr int kOtherBase = 901;

struct Family {
    std::string_view prefix;
    int base;
};
// Longer prefixes first where one is the start of another (ttySAC before ttyS).
constexpr std::array<Family, 9> kFamilies{{
    {"ttyXRUSB", 501}, {"ttySAC", 801}, {"ttyUSB", 101}, {"ttyACM", 201}, {"ttyAMA", 301},
    {"rfcomm", 401},   {"ttymxc", 601}, {"ttyO", 701},   {"ttyS", 1},
}};

// Decimal digits without sign or leading zeros ("0" itself allowed when allowZero).
std::optional<int> ParseIndex(std::string_view digits, bool allowZero)
{
    if (digits.empty() || digits.size() > 6) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
    const int v = std::stoi(std::string(digits));
    if (v == 0 && !allowZero) return std::nullopt;
    return v;
}

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::string SysAttr(udev_device* dev, const char* name)
{
    const char* v = udev_device_get_sysattr_value(dev, name);
    return v ? std::string(v) : std::string();
}

// Device strings come from the device itself: control characters become blanks so that
// an entry stays one line.
std::string Trim(std::string s)
{
    for (char& c : s)
        if (std::iscntrl(static_cast<unsigned char>(c))) c = ' ';
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
    s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
    return s;
}

std::string Property(udev_device* dev, const char* name)
{
    const char* v = udev_device_get_property_value(dev, name);
    return v ? std::string(v) : std::string();
}

// "manufacturer product" of the USB device a tty hangs off, or empty. The device's own
// strings come first; many converters have none, and then the names of the USB ID
// database (where udev has recorded them) stand in.
std::string UsbDescription(udev_device* tty)
{
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
    if (!usb) return {};
    std::string manufacturer = Trim(SysAttr(usb, "manufacturer"));
    std::string product = Trim(SysAttr(usb, "product"));
    if (manufacturer.empty()) manufacturer = Trim(Property(tty, "ID_VENDOR_FROM_DATABASE"));
    if (product.empty()) product = Trim(Property(tty, "ID_MODEL_FROM_DATABASE"));
    if (manufacturer.empty()) return product;
    if (product.empty()) return manufacturer;
    return manufacturer + " " + product;
}

// A tty that is a real serial port: it hangs off a device, and a UART-style port has a
// UART behind it (type 0 is a probed but absent 8250 port).
bool IsSerialPort(udev_device* dev)
{
    if (!udev_device_get_parent(dev) || !udev_device_get_devnode(dev)) return false;
    const char* type = udev_device_get_sysattr_value(dev, "type");
    return !type || std::string_view(type) != "0";
}

struct KernelPort {
    std::string name;  // sysname, e.g. ttyUSB0
    std::string device;
    std::string description;
};

std::vector<KernelPort> KernelPorts()
{
    UdevPtr<udev> u(udev_new());
    if (!u) throw std::runtime_error("serial device list not readable (udev)");
    UdevPtr<udev_enumerate> en(udev_enumerate_new(u.get()));
    if (!en || udev_enumerate_add_match_subsystem(en.get(), "tty") < 0
        || udev_enumerate_scan_devices(en.get()) < 0)
        throw std::runtime_error("serial device list not readable (udev)");
    std::vector<KernelPort> ports;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en.get()))
    {
        UdevPtr<udev_device> dev(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
        if (!dev || !IsSerialPort(dev.get())) continue;
        ports.push_back({udev_device_get_sysname(dev.get()), udev_device_get_devnode(dev.get()),
                         UsbDescription(dev.get())});
    }
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return ports;
}

std::map<int, PortEntry> VirtualPorts()
{
    std::map<int, PortEntry> out;
    const fs::path dir = VirtualPortDir();
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const auto number = VirtualPortNumber(it->path().filename().string());
        if (!number) continue;
        std::error_code ec2;
        // A link left behind by a program that did not clean up points nowhere: skip it.
        const fs::path target = fs::canonical(it->path(), ec2);
        if (ec2) continue;
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) continue;
        out[*number] = PortEntry{*number, target.string(), {}};
    }
    return out;
}

}  // namespace

std::optional<int> KernelPortNumber(const std::string& deviceName)
{
    const std::string_view name(deviceName);
    for (const auto& f : kFamilies) {
        if (name.substr(0, f.prefix.size()) != f.prefix) continue;
        const auto k = ParseIndex(name.substr(f.prefix.size()), true);
        if (k && *k < 100) return f.base + *k;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<int> VirtualPortNumber(const std::string& fileName)
{
    if (fileName.size() < 4 || fileName.compare(0, 3, "COM") != 0) return std::nullopt;
    return ParseIndex(std::string_view(fileName).substr(3), false);
}

std::string VirtualPortDir()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::string(runtime) + "/kestrel-ports";
    return "/tmp/kestrel-ports-" + std::to_string(::getuid());
}

std::vector<PortEntry> ListPorts()
{
    std::map<int, PortEntry> byNumber;
    std::vector<KernelPort> others;
    for (auto& p : KernelPorts()) {
        if (const auto n = KernelPortNumber(p.name))
            byNumber[*n] = PortEntry{*n, std::move(p.device), std::move(p.description)};
        else
            others.push_back(std::move(p));
    }
    int next = kOtherBase;
    for (auto& p : others) {
        while (byNumber.count(next)) ++next;
        byNumber[next] = PortEntry{next, std::move(p.device), std::move(p.description)};
    }
    for (auto& [n, entry] : VirtualPorts()) byNumber[n] = std::move(entry);  // virtual wins
    std::vector<PortEntry> list;
    list.reserve(byNumber.size());
    for (auto& [n, entry] : byNumber) list.push_back(std::move(entry));
    return list;
}

std::optional<std::string> ResolvePort(int number)
{
    const auto virtuals = VirtualPorts();
    if (const auto it = virtuals.find(number); it != virtuals.end()) return it->second.device;
    for (const auto& p : ListPorts())
        if (p.number == number) return p.device;
    return std::nullopt;
}
