// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// A mounted volume that holds a real file system: what the drive list offers.
struct Drive {
    std::string mountPath; // e.g. "/", "/home", "/media/me/USB"
    std::string device;    // e.g. "/dev/sda2"
    std::string type;      // e.g. "ext4"
    friend bool operator==(const Drive&, const Drive&) = default;
};

/// The drives among the lines of a mount table in the format of /proc/self/mounts: the root
/// always, then volumes on block devices or network shares, without pseudo file systems,
/// snap images and system folders. A mount point mounted over keeps its last entry. The root
/// comes first, the rest in path order.
std::vector<Drive> drivesInMountTable(std::string_view table);

/// The drives of this machine whose mount point is a folder (bind-mounted files are left
/// out). Never empty: the root is there even when the mount table cannot be read.
std::vector<Drive> mountedDrives();

/// The index of the drive that holds `path`: the one with the longest mount path that is a
/// leading part of it; 0 (normally the root) when none is.
std::size_t driveOf(const std::vector<Drive>& drives, std::string_view path);

/// Whether `folder` is `root` or lies inside it, comparing whole path components.
bool isInside(std::string_view folder, std::string_view root);

} // namespace stepwell
