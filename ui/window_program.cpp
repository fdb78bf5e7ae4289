// SPDX-License-Identifier: MIT
#include "ui/window_program.h"

#include "frame/prompts/terminal_prompts.h"
#include "frame/startup/startup.h"
#include "frame/startup/window_module.h"
#include "ui/dialog_prompts.h"
#include "ui/display.h"
#include "ui/main_window.h"

#include <iostream>

namespace stepwell {
namespace {

// Dialogs, with the application they need for as long as they live.
class ApplicationDialogs : public Prompts {
public:
    explicit ApplicationDialogs(std::unique_ptr<QApplication> application)
        : application_(std::move(application)) {}

    bool askYesNo(const std::string& question) override { return dialogs_.askYesNo(question); }
    void showError(const std::string& message) override { dialogs_.showError(message); }

private:
    std::unique_ptr<QApplication> application_;
    DialogPrompts dialogs_;
};

} // namespace

int runWindow(int& argc, char** argv) {
    const auto application = startApplication(argc, argv);
    if (!platformReached())
        return reportNoWindow("cannot connect to the display");
    const StartupState state = startUp();
    applyDefaultFolder(state);
    MainWindow window(state);
    window.show();
    return QApplication::exec();
}

std::unique_ptr<Prompts> startDialogs(int& argc, char** argv) {
    auto application = startApplication(argc, argv);
    if (!platformReached())
        return std::make_unique<TerminalPrompts>(std::cin, std::cerr);
    return std::make_unique<ApplicationDialogs>(std::move(application));
}

} // namespace stepwell
