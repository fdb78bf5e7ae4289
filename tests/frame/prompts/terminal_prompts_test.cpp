// SPDX-License-Identifier: MIT
#include "frame/prompts/terminal_prompts.h"

#include <gtest/gtest.h>
#include <sstream>

namespace stepwell {
namespace {

// The answers a run of questions gets from `input`, and what the user saw.
std::pair<std::vector<bool>, std::string> ask(const std::string& input, int questions) {
    std::istringstream in(input);
    std::ostringstream shown;
    TerminalPrompts prompts(in, shown);
    std::vector<bool> answers;
    for (int i = 0; i < questions; ++i)
        answers.push_back(prompts.askYesNo("Q?"));
    return {answers, shown.str()};
}

TEST(TerminalPrompts, YesIsTheDefaultAndCaseDoesNotMatter) {
    EXPECT_EQ(ask("\ny\nYES\r\n n \nNo\n", 5).first,
              (std::vector<bool>{true, true, true, false, false}));
}

TEST(TerminalPrompts, OtherAnswersAskAgainAndTheEndOfInputDeclines) {
    const auto [answers, shown] = ask("maybe\nyep\nn\n", 2);
    EXPECT_EQ(answers, (std::vector<bool>{false, false}));
    EXPECT_EQ(shown, "Q? [Y/n] Q? [Y/n] Q? [Y/n] Q? [Y/n] \n");
}

TEST(TerminalPrompts, InputEndingAfterAnAnswerStillEndsTheLine) {
    EXPECT_EQ(ask("n", 1), std::pair(std::vector<bool>{false}, std::string("Q? [Y/n] \n")));
    EXPECT_EQ(ask("y", 1), std::pair(std::vector<bool>{true}, std::string("Q? [Y/n] \n")));
    EXPECT_EQ(ask("y\n", 1), std::pair(std::vector<bool>{true}, std::string("Q? [Y/n] ")));
}

TEST(TerminalPrompts, NamesCannotSplitTheLineOrDriveTheTerminal) {
    std::istringstream in("n\n");
    std::ostringstream shown;
    TerminalPrompts prompts(in, shown);
    prompts.showError("a\n\x1b[2J\t\x7f.html: cannot open");
    prompts.askYesNo("b\r\x01.htmlを置換しますか?");
    EXPECT_EQ(shown.str(), "stepwell: a\\n\\x1b[2J\\t\\x7f.html: cannot open\n"
                           "b\\r\\x01.htmlを置換しますか? [Y/n] ");
}

} // namespace
} // namespace stepwell
