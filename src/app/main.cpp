// Folianto: the desktop program. `Folianto [FILE]` opens FILE instead of the
// last database file; Qt's own options are not taken from the command line.

#include "platform/PosixPlatform.h"
#include "application/App.h"
#include "application/OpenFromDesktop.h"
#include "ui/QtUserInteraction.h"
#include "ui/shell/Startup.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    const std::string noDisplay = folianto::MissingDisplayReason();
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "%s\n", noDisplay.c_str());
        return 1;
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    int qtArgc = 1;
    folianto::FoliantoApplication application(qtArgc, argv);
    folianto::QtUserInteraction ui;
    folianto::PosixPlatform platform;
    folianto::App app(ui, platform);
    return folianto::RunFolianto(app, {}, folianto::StartFileFromArguments(arguments));
}
