#include "frame/sys/process_start.h"

#include <csignal>

namespace stepwell {

void prepareProcess() {
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace stepwell
