// Serial device discovery from /dev, sysfs, lock files and /proc.
#include "port_discovery.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "audio_port.h"
#include "serial_line.h"

namespace dovrel {
namespace {

namespace fs = std::filesystem;

// Device name families in the order the list shows them.
constexpr const char* kFamilies[] = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm"};

// Number after `family` in `name`, -1 when the name is not family + digits.
long NumberIn(const std::string& name, const std::string& family) {
    if (name.size() <= family.size() || name.size() > family.size() + 6 ||
        name.rfind(family, 0) != 0)
        return -1;
    long n = 0;
    for (std::size_t i = family.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(path, ec);
    return ec ? path : p.string();
}

// Ports the 8250 driver lists with "uart:unknown" (no chip behind them).
// Readable by root only; when unreadable, nothing is left out.
std::set<long> UnknownUarts(const PortDiscoveryRoots& roots) {
    std::set<long> unknown;
    std::ifstream in(roots.proc + "/tty/driver/serial");
    std::string line;
    while (std::getline(in, line)) {
        long n = 0;
        char colon = 0;
        std::istringstream fields(line);
        if ((fields >> n >> colon) && colon == ':' &&
            line.find("uart:unknown") != std::string::npos)
            unknown.insert(n);
    }
    return unknown;
}

bool PresentUart(const std::string& name, long number, const PortDiscoveryRoots& roots,
                 const std::set<long>& unknown) {
    std::error_code ec;
    const fs::path classDir = fs::path(roots.sys) / "class/tty";
    if (fs::exists(classDir, ec) && !fs::exists(classDir / name / "device", ec)) return false;
    return unknown.count(number) == 0;
}

std::vector<std::string> ExistingDevices(const PortDiscoveryRoots& roots) {
    std::vector<std::pair<long, std::string>> found[std::size(kFamilies)];
    const std::set<long> unknown = UnknownUarts(roots);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(roots.dev, ec)) {
        if (entry.is_directory(ec)) continue;
        const std::string name = entry.path().filename().string();
        for (std::size_t f = 0; f < std::size(kFamilies); ++f) {
            const long n = NumberIn(name, kFamilies[f]);
            if (n < 0 || (f == 0 && !PresentUart(name, n, roots, unknown))) continue;
            found[f].emplace_back(n, entry.path().string());
        }
    }
    std::vector<std::string> paths;
    for (auto& family : found) {
        std::sort(family.begin(), family.end());
        for (auto& [n, path] : family) paths.push_back(path);
    }
    std::vector<std::string> links;
    for (const auto& entry : fs::directory_iterator(fs::path(roots.dev) / "serial/by-id", ec))
        links.push_back(entry.path().string());
    std::sort(links.begin(), links.end());
    paths.insert(paths.end(), links.begin(), links.end());
    return paths;
}

std::set<std::string> ConsoleDevices(const PortDiscoveryRoots& roots) {
    std::set<std::string> consoles;
    std::ifstream in(roots.proc + "/consoles");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        if (fields >> name) consoles.insert(Canonical(roots.dev + "/" + name));
    }
    return consoles;
}

bool LockedByOther(const std::string& canonical, const PortDiscoveryRoots& roots) {
    // Named as the line names its own lock: the path below the device
    // folder, "/" written as "_".
    const std::string dev = Canonical(roots.dev) + "/";
    const std::string below = canonical.rfind(dev, 0) == 0
                                  ? canonical.substr(dev.size())
                                  : fs::path(canonical).filename().string();
    const std::string name = LockFileNameOf("/dev/" + below);
    for (const std::string& dir : roots.lockDirs) {
        std::ifstream in(dir + "/" + name);
        long pid = 0;
        if (!(in >> pid) || pid <= 0 || pid == static_cast<long>(getpid())) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) return true;
    }
    return false;
}

// Devices that another process holds open, from the descriptors in /proc
// that this user may read.
std::set<std::string> OpenByOthers(const PortDiscoveryRoots& roots) {
    std::set<std::string> open;
    const std::string self = std::to_string(getpid());
    std::error_code ec;
    for (const auto& proc : fs::directory_iterator(roots.proc, ec)) {
        const std::string pid = proc.path().filename().string();
        if (pid == self || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code fdEc;
        for (const auto& fd : fs::directory_iterator(proc.path() / "fd", fdEc)) {
            std::error_code linkEc;
            const fs::path target = fs::read_symlink(fd.path(), linkEc);
            if (!linkEc && target.string().rfind("/", 0) == 0) open.insert(target.string());
        }
    }
    return open;
}

}  // namespace

std::vector<PortEntry> DiscoverPorts(const std::string& ourDevice,
                                     const PortDiscoveryRoots& roots) {
    const std::string ours = ourDevice.empty() ? std::string() : Canonical(ourDevice);
    const std::set<std::string> consoles = ConsoleDevices(roots);
    const std::set<std::string> others = OpenByOthers(roots);
    std::vector<PortEntry> entries;
    bool oursListed = false;
    for (const std::string& path : ExistingDevices(roots)) {
        PortEntry entry;
        entry.path = path;
        const std::string canonical = Canonical(path);
        if (!ours.empty() && canonical == ours) {
            entry.use = PortUse::Ours;
            oursListed = true;
        } else if (consoles.count(canonical) || others.count(canonical) ||
                   LockedByOther(canonical, roots)) {
            entry.use = PortUse::InUse;
        }
        entries.push_back(entry);
    }
    if (!ours.empty() && !oursListed) entries.push_back({ourDevice, PortUse::Ours, {}});
    for (PortEntry& entry : entries) {
        const char* mark = entry.use == PortUse::InUse  ? "*"
                           : entry.use == PortUse::Ours ? "="
                                                        : "";
        entry.label = mark + entry.path;
    }
    return entries;
}

PortList LoadPropertySettings(const LineSettings& current, const std::string& ourDevice,
                              const PortDiscoveryRoots& roots) {
    PortList list;
    list.entries = DiscoverPorts(ourDevice, roots);
    const std::string want = LineDevicePath(current);
    for (std::size_t i = 0; i < list.entries.size() && !want.empty(); ++i) {
        if (list.entries[i].path == want) {
            list.selected = static_cast<int>(i);
            break;
        }
    }
    return list;
}

void AppendAudioInputs(PortList& list, const std::vector<std::string>& inputs,
                       const LineSettings& current, const std::string& ourDevice) {
    std::vector<std::string> names = {AudioPortName(kDefaultAudioInput)};
    for (const std::string& input : inputs) {
        if (input != kDefaultAudioInput) names.push_back(AudioPortName(input));
    }
    for (const std::string& name : names) {
        const bool ours = name == ourDevice;
        if (list.selected < 0 && name == current.PortName)
            list.selected = static_cast<int>(list.entries.size());
        list.entries.push_back(
            {name, ours ? PortUse::Ours : PortUse::Free, (ours ? "=" : "") + name});
    }
}

LineSettings ChoosePort(LineSettings current, const PortEntry& entry, bool dtr, bool rts) {
    const int port = PortNumberOfDevice(entry.path);
    current.Port = static_cast<std::int16_t>(port);
    current.PortName = port > 0 ? std::string() : entry.path;
    current.DTR = dtr;
    current.RTS = rts;
    return current;
}

}  // namespace dovrel
