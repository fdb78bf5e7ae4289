// SPDX-License-Identifier: MIT
#include "engine/failure.h"

#include "engine/core/line_error.h"
#include "frame/prompts/prompts.h"

#include <new>

namespace stepwell {

void showCurrentFailure(const std::string& name, Prompts& prompts) {
    try {
        throw;
    } catch (const LineError& error) {
        prompts.showError(name + ", " + error.what());
    } catch (const Error& error) {
        prompts.showError(error.what());
    } catch (const std::bad_alloc&) {
        prompts.showError(name + ": not enough memory");
    }
}

} // namespace stepwell
