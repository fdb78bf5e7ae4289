#include "ui/window_program.h"

#include "frame/startup.h"
#include "frame/terminal_prompts.h"
#include "ui/dialog_prompts.h"
#include "ui/display.h"
#include "ui/main_window.h"

#include <QApplication>
#include <iostream>

namespace stepwell {
namespace {

std::unique_ptr<QApplication> startApplication(int& argc, char** argv) {
    allowPlatformFallback();
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stepwell"));
    QApplication::setApplicationVersion(QStringLiteral(STEPWELL_VERSION));
    return application;
}

// Dialogs for a command-line run. The application is started by the first prompt, so a run
// that asks nothing never starts Qt; a display that cannot be reached sends the prompts to
// the terminal.
class LazyDialogPrompts : public Prompts {
public:
    LazyDialogPrompts(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    bool askYesNo(const std::string& question) override { return prompts().askYesNo(question); }
    void showError(const std::string& message) override { prompts().showError(message); }

private:
    Prompts& prompts() {
        if (!prompts_) {
            application_ = startApplication(argc_, argv_);
            if (platformReached())
                prompts_ = std::make_unique<DialogPrompts>();
            else
                prompts_ = std::make_unique<TerminalPrompts>(std::cin, std::cerr);
        }
        return *prompts_;
    }

    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<Prompts> prompts_;
};

int noDisplay(const char* why) {
    std::cerr << "stepwell: " << why
              << "; name files to convert them without the window\nTry 'stepwell --help'.\n";
    return 2;
}

} // namespace

int runWindow(int& argc, char** argv) {
    if (currentDisplay() == Display::None)
        return noDisplay("no display to show the window on");
    const auto application = startApplication(argc, argv);
    if (!platformReached())
        return noDisplay("cannot connect to the display");
    const StartupState state = startUp();
    applyDefaultFolder(state);
    MainWindow window(state);
    window.show();
    return QApplication::exec();
}

std::unique_ptr<Prompts> commandLinePrompts(int& argc, char** argv) {
    if (currentDisplay() == Display::Real)
        return std::make_unique<LazyDialogPrompts>(argc, argv);
    return std::make_unique<TerminalPrompts>(std::cin, std::cerr);
}

} // namespace stepwell
