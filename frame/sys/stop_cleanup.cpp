#include "frame/sys/stop_cleanup.h"

#include "frame/text/paths.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace stepwell {
namespace {

// A signal handler may only use what is async-signal-safe, so each file is kept as a
// descriptor of its folder and a short name in fixed storage, removed with unlinkat.
struct Slot {
    enum : int { Free, Filling, Armed, Emptying };
    std::atomic<int> state{Free};
    int folder = -1;
    char name[64] = {};
};

std::array<Slot, 8> slots;
constexpr std::array stopSignals = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeTemporariesAndStop(int signal) {
    for (Slot& slot : slots)
        if (slot.state.load() == Slot::Armed)
            ::unlinkat(slot.folder, slot.name, 0);
    // SA_RESETHAND has put back the default action, which this ends the process with.
    ::raise(signal);
}

void installHandlersOnce() {
    static const bool installed = [] {
        for (const int signal : stopSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = removeTemporariesAndStop;
            action.sa_flags = SA_RESETHAND;
            sigemptyset(&action.sa_mask);
            ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

} // namespace

int rememberTemporary(const std::string& path) {
    installHandlersOnce();
    const std::string name = namePart(path);
    if (name.size() >= sizeof(Slot::name))
        return -1;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        Slot& slot = slots[i];
        int expected = Slot::Free;
        if (!slot.state.compare_exchange_strong(expected, Slot::Filling))
            continue;
        const std::string folder = folderPart(path);
        slot.folder =
            ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (slot.folder < 0) {
            slot.state.store(Slot::Free);
            return -1;
        }
        std::memcpy(slot.name, name.c_str(), name.size() + 1);
        slot.state.store(Slot::Armed);
        return static_cast<int>(i);
    }
    return -1;
}

void forgetTemporary(int ticket) {
    if (ticket < 0 || static_cast<std::size_t>(ticket) >= slots.size())
        return;
    Slot& slot = slots[static_cast<std::size_t>(ticket)];
    slot.state.store(Slot::Emptying);
    ::close(slot.folder);
    slot.folder = -1;
    slot.state.store(Slot::Free);
}

} // namespace stepwell
