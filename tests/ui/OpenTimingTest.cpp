// Opening a large catalogue through the File menu compared with the logic
// alone. Not a timed test: run it by hand with
//   folianto_gui_tests --gtest_also_run_disabled_tests --gtest_filter='*OpenTiming*'
#include "ui/GuiSupport.h"

#include "core/DatabaseFile.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>

namespace folianto::test {
namespace {

TEST(OpenTiming, DISABLED_FileMenuOpenOfTenThousandTitles)
{
    WindowFixture f;
    const std::string path = WriteSampleDatabase(f.dir, "big.FOL", 10000);

    QElapsedTimer timer;
    double logicMs = 1e9;
    double windowMs = 1e9;
    for (int round = 0; round < 3; ++round) {
        TestApp logic;
        std::string errParam;
        timer.start();
        ASSERT_TRUE(Load_Buch_Data(logic.app, path, errParam));
        SetAusgabeData(logic.app);
        logicMs = std::min(logicMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);

        f.t.ui.filePaths.push_back(path);
        timer.start();
        FindAction(f.window.get(), {Q("&Datei"), Q("Ö&ffnen...")})->trigger();
        f.window->repaint();
        QApplication::processEvents();
        windowMs = std::min(windowMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        ASSERT_EQ(f.t.app.grid.RowCount(), 10001);
    }
    std::printf("Load_Buch_Data + SetAusgabeData: %.1f ms; open from the File menu: %.1f ms (%.2fx)\n", logicMs,
                windowMs, windowMs / logicMs);
    EXPECT_LE(windowMs, 3 * logicMs);
}

} // namespace
} // namespace folianto::test
