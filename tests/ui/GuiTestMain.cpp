// GoogleTest driving real widgets on the offscreen platform.

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A program started by a test without a settings file beside it keeps
    // its settings and trace log in the user's folders: never the real ones.
    QTemporaryDir userFolders;
    qputenv("XDG_CONFIG_HOME", (userFolders.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", (userFolders.path() + QStringLiteral("/state")).toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
