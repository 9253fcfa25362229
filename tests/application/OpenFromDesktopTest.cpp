#include "core/Codec.h"
#include "application/OpenFromDesktop.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto;

TEST(OpenFromDesktop, StartFileIsTheFirstArgumentAsAnAbsolutePath)
{
    QTemporaryDir dir;
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const std::string here = PathToCp1252(QDir::currentPath());
    struct Case {
        QStringList arguments;
        std::string expected;
    };
    const Case cases[] = {
        {{}, ""},
        {{QString()}, ""},
        {{QStringLiteral("/data/Bücher.FOL")}, Cp1252("/data/Bücher.FOL")},
        {{QStringLiteral("sub/../a.FOL")}, here + "/a.FOL"},
        {{QStringLiteral("file:///data/mit%20Leerzeichen.FOL")}, "/data/mit Leerzeichen.FOL"},
        {{QStringLiteral("erste.FOL"), QStringLiteral("zweite.FOL")}, here + "/erste.FOL"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(StartFileFromArguments(k.arguments), k.expected) << k.arguments.join(QLatin1Char('|')).toStdString();
    QDir::setCurrent(oldCwd);
}
