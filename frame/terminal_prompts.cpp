#include "frame/terminal_prompts.h"

#include "frame/text/ascii.h"

#include <algorithm>
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

// One line of the message: line breaks inside it would break the one-line promise.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

} // namespace

TerminalPrompts::TerminalPrompts(std::istream& answers, std::ostream& messages)
    : answers_(answers), messages_(messages) {}

bool TerminalPrompts::askYesNo(const std::string& question) {
    for (;;) {
        messages_ << question << " [Y/n] " << std::flush;
        std::string answer;
        if (!std::getline(answers_, answer)) {
            messages_ << '\n' << std::flush;
            return false;
        }
        answer = lowerAscii(trimmed(answer));
        if (answer.empty() || answer == "y" || answer == "yes")
            return true;
        if (answer == "n" || answer == "no")
            return false;
    }
}

void TerminalPrompts::showError(const std::string& message) {
    messages_ << "stepwell: " << oneLine(message) << '\n' << std::flush;
}

} // namespace stepwell
