// SPDX-License-Identifier: MIT
#include "frame/startup/places.h"

#include "frame/startup/settings.h"
#include "frame/sys/files.h"
#include "frame/text/paths.h"

#include <cstdlib>

namespace stepwell {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The system's tag table of an installed copy, found from the program's own place so that
// an installation works under any prefix: /etc for the /usr prefix, PREFIX/etc otherwise.
// A table under another prefix counts only when this user may trust it, since a copy of
// the program may lie in a folder that other users can write (/tmp/tools/bin/stepwell
// would read /tmp/etc/stepwell/StepwellTag.txt).
std::vector<TablePlace> systemTables(const std::string& programDir) {
    const std::string sysconf = STEPWELL_SYSCONFDIR;
    const auto table = [](const std::string& folder) {
        return joinPath(joinPath(folder, "stepwell"), tagFileName);
    };
    if (!sysconf.empty() && sysconf.front() == '/')
        return {{table(sysconf)}};
    const std::string prefix = resolveLinks(joinPath(programDir, STEPWELL_PREFIX_FROM_PROGRAM));
    if (prefix == "/usr")
        return {{table(joinPath("/", sysconf))}};
    // A tree for the /usr prefix unpacked elsewhere (a staged install, an unpacked package)
    // keeps its tables beside its usr folder, as the installed package does in /etc.
    if (namePart(prefix) == "usr")
        return {{table(joinPath(folderPart(prefix), sysconf)), true}};
    return {{table(joinPath(prefix, sysconf)), true}};
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
    places.fallbacks.push_back({joinPath(programDir, tagFileName)});
    places.fallbacks.push_back({joinPath(userDir, tagFileName)});
    places.fallbacks.insert(places.fallbacks.end(), systemTables.begin(), systemTables.end());
    return places;
}

} // namespace stepwell
