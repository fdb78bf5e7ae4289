// SPDX-License-Identifier: MIT
#include "frame/sys/loaded_module.h"

#include "frame/text/paths.h"

#include <dlfcn.h>
#include <map>

namespace stepwell {

void* moduleSymbol(const std::string& path, const char* symbol, std::string& why) {
    static std::map<std::string, void*> loaded;
    void*& module = loaded[path];
    if (!module) {
        module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* error = ::dlerror();
            why = error ? error : path + ": cannot be loaded";
            return nullptr;
        }
    }
    void* found = ::dlsym(module, symbol);
    if (!found)
        why = namePart(path) + " has no " + symbol;
    return found;
}

} // namespace stepwell
