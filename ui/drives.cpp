// SPDX-License-Identifier: MIT
#include "ui/drives.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace stepwell {
namespace {

// /proc/self/mounts writes space, tab, newline and backslash in names as \ooo.
std::string unescapeMountField(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isNetworkType(std::string_view type) {
    constexpr std::array<std::string_view, 6> types{"nfs",  "nfs4", "cifs",
                                                    "smb3", "9p",   "fuse.sshfs"};
    return std::find(types.begin(), types.end(), type) != types.end();
}

// Volumes a user browses: block devices and network shares, but not the system's own
// mounts under /proc, /sys, /dev, /run (removable media under /run/media excepted), /boot
// and /snap.
bool isUserVolume(const Drive& drive) {
    if (!startsWith(drive.device, "/dev/") && !isNetworkType(drive.type))
        return false;
    if (startsWith(drive.device, "/dev/loop") && isInside(drive.mountPath, "/snap"))
        return false;
    if (isInside(drive.mountPath, "/run/media"))
        return true;
    constexpr std::array<std::string_view, 6> system{"/proc", "/sys",  "/dev",
                                                     "/run",  "/boot", "/snap"};
    return std::none_of(system.begin(), system.end(),
                        [&](std::string_view folder) { return isInside(drive.mountPath, folder); });
}

} // namespace

bool isInside(std::string_view folder, std::string_view root) {
    if (!startsWith(folder, root))
        return false;
    return folder.size() == root.size() || root.ends_with('/') || folder[root.size()] == '/';
}

std::vector<Drive> drivesInMountTable(std::string_view table) {
    std::vector<Drive> drives{{"/", "", ""}};
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPath, type;
        if (!(fields >> device >> mountPath >> type))
            continue;
        Drive drive{unescapeMountField(mountPath), unescapeMountField(device), type};
        const bool isRoot = drive.mountPath == "/";
        if (!isRoot && !isUserVolume(drive))
            continue;
        std::erase_if(drives, [&](const Drive& d) { return d.mountPath == drive.mountPath; });
        drives.push_back(std::move(drive));
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        return a.mountPath == "/" ? b.mountPath != "/"
                                  : b.mountPath != "/" && a.mountPath < b.mountPath;
    });
    return drives;
}

std::vector<Drive> mountedDrives() {
    std::ifstream file("/proc/self/mounts");
    std::ostringstream table;
    table << file.rdbuf();
    std::vector<Drive> drives = drivesInMountTable(table.str());
    std::erase_if(drives, [](const Drive& drive) {
        std::error_code error;
        return drive.mountPath != "/" && !std::filesystem::is_directory(drive.mountPath, error);
    });
    return drives;
}

std::size_t driveOf(const std::vector<Drive>& drives, std::string_view path) {
    std::size_t best = 0, bestLength = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const std::string& root = drives[i].mountPath;
        if (isInside(path, root) && root.size() >= bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

} // namespace stepwell
