#include "application/BuchData.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "application/OpenFromDesktop.h"
#include "support/Fakes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace folianto;
using namespace folianto::test;

namespace {

struct Desk : TestApp {
    QTemporaryDir dir;
    std::string path(const char* name) const { return PathToCp1252(dir.filePath(QString::fromLatin1(name))); }

    std::string makeFile(const char* name, int count)
    {
        TestApp writer;
        for (int i = 0; i < count; ++i)
            writer.app.store.NewBuch();
        writer.app.DataVerMain = 1;
        writer.app.DataVerMinor = 4;
        std::string err;
        EXPECT_TRUE(Save_Buch_Data(writer.app, path(name), err));
        return path(name);
    }

    int titlesIn(const std::string& file)
    {
        TestApp reader;
        std::string err;
        EXPECT_TRUE(Load_Buch_Data(reader.app, file, err));
        return reader.app.store.AnzBuch;
    }

    bool asked() const
    {
        for (const auto& m : ui.messages)
            if (m.text.rfind("Folianto: Sicherheitssystem", 0) == 0)
                return true;
        return false;
    }
};

} // namespace

TEST(OpenFromDesktop, HandedOverFileAsksAboutUnsavedDataFirst)
{
    struct Case {
        const char* name;
        bool unsaved;
        Answer answer;
        bool opened;
        int titlesOnDiskOfCurrent; // the current file after the question
    };
    for (const Case& k : {Case{"saved data: no question", false, Answer::Ok, true, 3},
                          Case{"Abbrechen keeps everything", true, Answer::Abort, false, 3},
                          Case{"Nein drops the change", true, Answer::No, true, 3},
                          Case{"Ja saves, then opens", true, Answer::Yes, true, 4}}) {
        SCOPED_TRACE(k.name);
        Desk d;
        const std::string current = d.makeFile("current.FOL", 3);
        const std::string incoming = d.makeFile("incoming.FOL", 5);
        std::string err;
        ASSERT_TRUE(Load_Buch_Data(d.app, current, err));
        d.app.DataFileName = current;
        if (k.unsaved) {
            d.app.store.NewBuch();
            d.app.store.MarkChanged();
            d.ui.answers.push_back(k.answer);
        }

        EXPECT_EQ(OpenHandedOverFile(d.app, incoming), k.opened);
        EXPECT_EQ(d.asked(), k.unsaved);
        EXPECT_EQ(d.app.DataFileName, k.opened ? incoming : current);
        EXPECT_EQ(d.app.store.AnzBuch, k.opened ? 5 : 4);
        EXPECT_EQ(d.app.store.Gesichert(), k.opened);
        EXPECT_EQ(d.titlesIn(current), k.titlesOnDiskOfCurrent);
    }
}

TEST(OpenFromDesktop, HandedOverFileThatFailsLeavesTheDataAndSaysWhy)
{
    Desk d;
    const std::string current = d.makeFile("current.FOL", 3);
    std::string err;
    ASSERT_TRUE(Load_Buch_Data(d.app, current, err));
    d.app.DataFileName = current;
    const std::string missing = d.path("weg.FOL");
    EXPECT_FALSE(OpenHandedOverFile(d.app, missing));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(d.ui.messages[0].text.rfind("Fehler beim Laden: ", 0), 0u);
    EXPECT_EQ(d.app.DataFileName, current);
}

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
