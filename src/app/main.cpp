// Folianto: the desktop program. It takes no command-line arguments.

#include "platform/PosixPlatform.h"
#include "application/App.h"
#include "ui/QtUserInteraction.h"
#include "ui/shell/Startup.h"

#include <cstdio>

int main(int, char** argv)
{
    const std::string noDisplay = folianto::MissingDisplayReason();
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", noDisplay.c_str());
        return 1;
    }
    int qtArgc = 1; // the program's own arguments are not used
    folianto::FoliantoApplication application(qtArgc, argv);
    folianto::QtUserInteraction ui;
    folianto::PosixPlatform platform;
    folianto::App app(ui, platform);
    return folianto::RunFolianto(app);
}
