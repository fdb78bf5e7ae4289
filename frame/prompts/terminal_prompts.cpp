// SPDX-License-Identifier: MIT
#include "frame/prompts/terminal_prompts.h"

#include "frame/text/ascii.h"
#include "frame/text/shown_text.h"

#include <istream>
#include <ostream>

namespace stepwell {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

TerminalPrompts::TerminalPrompts(std::istream& answers, std::ostream& messages)
    : answers_(answers), messages_(messages) {}

bool TerminalPrompts::askYesNo(const std::string& question) {
    for (;;) {
        messages_ << escapeControlBytes(question) << " [Y/n] " << std::flush;
        std::string answer;
        const bool answered = static_cast<bool>(std::getline(answers_, answer));
        // Input that ends here, even after an answer without its line break, leaves the
        // cursor on the question's line: the next message starts a line of its own.
        if (answers_.eof())
            messages_ << '\n' << std::flush;
        if (!answered)
            return false;
        answer = lowerAscii(trimmed(answer));
        if (answer.empty() || answer == "y" || answer == "yes")
            return true;
        if (answer == "n" || answer == "no")
            return false;
    }
}

void TerminalPrompts::showError(const std::string& message) {
    // One line, whatever the names in it hold.
    messages_ << "stepwell: " << escapeControlBytes(message) << '\n' << std::flush;
}

} // namespace stepwell
