// SPDX-License-Identifier: MIT
#include "frame/places.h"

#include "frame/settings.h"
#include "frame/sys/files.h"
#include "frame/text/paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace stepwell {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (home.empty())
        if (const passwd* entry = ::getpwuid(::getuid()))
            home = entry->pw_dir;
    return home;
}

// The system's tag table of an installed copy, found from the program's own place so that
// an installation works under any prefix: PREFIX/etc, and /etc for the /usr prefix.
std::vector<std::string> systemTables(const std::string& programDir) {
    const std::string sysconf = STEPWELL_SYSCONFDIR;
    const auto table = [](const std::string& folder) {
        return joinPath(joinPath(folder, "stepwell"), tagFileName);
    };
    if (!sysconf.empty() && sysconf.front() == '/')
        return {table(sysconf)};
    const std::string prefix = resolveLinks(joinPath(programDir, STEPWELL_PREFIX_FROM_PROGRAM));
    std::vector<std::string> tables{table(joinPath(prefix, sysconf))};
    if (namePart(prefix) == "usr") {
        std::string parent = folderPart(prefix);
        tables.push_back(table(joinPath(parent.empty() ? "/" : parent, sysconf)));
    }
    return tables;
}

} // namespace

std::string userConfigHome() {
    const std::string xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/')
        return xdg;
    return joinPath(homeFolder(), ".config");
}

Places findPlaces() {
    Places places;
    places.programDir = programDirectory();
    places.portable = isOrdinaryFile(joinPath(places.programDir, tagFileName));
    places.userDir = joinPath(userConfigHome(), "stepwell");
    if (!places.portable)
        places.systemTables = systemTables(places.programDir);
    return places;
}

std::string Places::settingsFile() const {
    return joinPath(portable ? programDir : userDir, settingsFileName);
}

TagTablePlaces Places::tagTables(const std::string& named) const {
    TagTablePlaces places;
    places.named = named.empty() ? environment("STEPWELL_TAGS") : named;
    places.fallbacks.push_back(joinPath(programDir, tagFileName));
    places.fallbacks.push_back(joinPath(userDir, tagFileName));
    places.fallbacks.insert(places.fallbacks.end(), systemTables.begin(), systemTables.end());
    return places;
}

} // namespace stepwell
