// SPDX-License-Identifier: MIT
#include "frame/startup/settings_store.h"

#include "engine/lines_of.h"
#include "frame/startup/settings.h"
#include "frame/sys/atomic_file.h"
#include "frame/sys/files.h"
#include "frame/sys/followed_links.h"
#include "frame/sys/input_file.h"
#include "frame/sys/line_writer.h"
#include "frame/sys/system_error.h"
#include "frame/text/paths.h"

#include <cerrno>
#include <optional>
#include <vector>

namespace stepwell {
namespace {

// What the settings file holds now: up to its first two lines, and its status.
struct StoredSettings {
    std::vector<std::string> lines;
    std::optional<struct stat> status; // empty when there is no file yet
};

// The file to rewrite: the settings file, or the file its symbolic link points to, so that
// a linked settings file keeps its link.
std::string settingsTarget(const std::string& path) {
    return followForWriting(path, path);
}

StoredSettings readStored(const std::string& path) {
    StoredSettings stored;
    if (!isPresent(path, "cannot read"))
        return stored;
    // A file that cannot be read must not be overwritten: its other line would be lost.
    InputFile file(path);
    stored.status = file.status();
    LineReader reader = linesOf(file);
    std::string_view line;
    while (stored.lines.size() < 2 && reader.next(line))
        stored.lines.emplace_back(line);
    return stored;
}

void writeSettings(const std::string& path, const StoredSettings& old,
                   const std::vector<std::string>& lines) {
    // The user's configuration folder may not hold one of Stepwell's yet.
    if (!old.status) {
        try {
            makeFolders(folderPart(path));
        } catch (const Error& error) {
            throw Error(path + ": " + error.what());
        }
    }
    AtomicFile file(path, path);
    if (old.status) {
        file.keepAttributesOf(*old.status);
        file.keepExtendedAttributesOf(path);
    }
    LineWriter writer(file.fd(), path);
    for (const auto& line : lines) {
        writer.write(line);
        writer.write("\r\n");
    }
    writer.flush();
    file.commit();
}

} // namespace

void storeDefaultFolder(const std::string& settingsFile, const std::string& folder) {
    const std::string path = settingsTarget(settingsFile);
    // A line break would split the folder over two lines and push out the replace setting.
    if (folder.find_first_of("\r\n") != std::string::npos)
        throw Error(path + ": cannot store a folder whose name holds a line break");
    const StoredSettings stored = readStored(path);
    std::vector<std::string> lines{folder};
    if (stored.lines.size() >= 2)
        lines.push_back(stored.lines[1]);
    else if (stored.lines.empty())
        lines.emplace_back("0"); // a new file gets both lines
    writeSettings(path, stored, lines);
}

void storeDefaultReplaceSetting(const std::string& settingsFile, ReplaceSetting replaceSetting) {
    const std::string path = settingsTarget(settingsFile);
    const int value = static_cast<int>(replaceSetting);
    if (value < 0 || value > 2)
        throw Error(path + ": " + std::to_string(value) + " is not a replace setting");
    const StoredSettings stored = readStored(path);
    const std::string folder = stored.lines.empty() ? std::string() : stored.lines[0];
    writeSettings(path, stored, {folder, std::to_string(value)});
}

} // namespace stepwell
