#include "application/BuchData.h"
#include "core/AppError.h"
#include "application/FileCommands.h"
#include "application/FileHistoryCommands.h"
#include "application/OpenFromDesktop.h"
#include "support/DbBytes.h"
#include "support/Fakes.h"

using namespace folianto;
using namespace folianto::test;

namespace {

struct Env : TestApp {
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    // A database file with `count` titles in data version 1.minor.
    std::string makeFile(const char* name, int count, int minor = 4)
    {
        TestApp writer;
        for (int i = 0; i < count; ++i) {
            writer.app.store.NewBuch();
            writer.app.store.at(i + 1)->Kuerzel.Text = "K" + std::to_string(i + 1);
        }
        writer.app.DataVerMain = 1;
        writer.app.DataVerMinor = minor;
        std::string err;
        writer.ui.answers = {Answer::Yes};
        Save_Buch_Data(writer.app, path(name), err);
        EXPECT_EQ(std::pair(writer.ui.progress.range, writer.ui.progress.position), std::pair(count, count));
        return path(name);
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& m : ui.messages)
            out.push_back(m.text);
        return out;
    }
};

const std::string kNoFile = Cp1252("Keine Datei ausgewählt!");

// Caption, filter, extension and the four flags of a file dialog.
auto Dialog(const FileDialogSpec& d)
{
    return std::tuple(d.title, d.filter, d.defaultExt, d.mustExist, d.pathMustExist, d.overwritePrompt, d.createPrompt);
}

} // namespace

TEST(FileCommands, OpenDialogAndCancel)
{
    for (bool showAll : {false, true}) {
        Env env;
        env.app.settings.ShowAllMsg = showAll;
        env.ui.filePaths = {std::nullopt};
        EXPECT_FALSE(FileOpen(env.app));
        ASSERT_EQ(std::pair(env.ui.dialogs.size(), env.ui.saveDialogs), std::pair(std::size_t{1}, 0));
        EXPECT_EQ(Dialog(env.ui.dialogs[0]),
                  std::tuple("Folianto-Datei laden", "Folianto Dateien (*.FOL)|*.FOL", "FOL", true, true, false, true));
        EXPECT_EQ(env.texts(), showAll ? std::vector<std::string>{kNoFile} : std::vector<std::string>{});
        if (showAll) {
            EXPECT_EQ(env.ui.messages[0].kind, MsgKind::Warning);
        }
    }
}

TEST(FileCommands, OpenLoadsAndReports)
{
    Env env;
    const std::string good = env.makeFile("gut.FOL", 3);
    const std::string other = env.makeFile("gut.dat", 2);
    const std::string suffix = Cp1252(" enthält nicht den Standardsuffix \"FOL\"! Laden abbrechen?");

    // Wrong extension, user cancels: nothing loaded.
    env.ui.filePaths = {other};
    env.ui.answers = {Answer::Yes};
    EXPECT_FALSE(FileOpen(env.app));
    EXPECT_EQ(std::tuple(env.texts(), env.ui.messages[0].buttons, env.app.store.AnzBuch),
              std::tuple(std::vector<std::string>{other + suffix}, Buttons::YesNo, 0));

    // Wrong extension, user goes on.
    env.ui.messages.clear();
    env.ui.filePaths = {other};
    env.ui.answers = {Answer::No};
    EXPECT_TRUE(FileOpen(env.app));
    EXPECT_EQ(env.app.store.AnzBuch, 2);

    // Plain open replaces the titles.
    env.app.columns.ColumnsMoved = false;
    env.app.grid.SetCell(1, 0, "x");
    env.ui.filePaths = {good};
    EXPECT_TRUE(FileOpen(env.app));
    // The file names no count; the event loop turns every 256 titles.
    EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.ui.progress.range, env.ui.progress.position, env.ui.progress.eventRounds),
              std::tuple(3, MaxBuch, 3, 0));
    EXPECT_EQ(env.app.DataFileName, good);
    EXPECT_EQ(env.app.grid.Cell(1, 0), "Titel"); // headers rewritten: the layout was normalised
    EXPECT_TRUE(env.app.store.Gesichert());

    // A missing file.
    env.ui.messages.clear();
    env.ui.filePaths = {env.path("fehlt.FOL")};
    EXPECT_FALSE(FileOpen(env.app));
    EXPECT_EQ(env.texts(),
              std::vector<std::string>{"Fehler beim Laden: Datei " + env.path("fehlt.FOL") + " nicht gefunden!"});
    // The same when the desktop hands the file over; the file in use stays.
    env.ui.messages.clear();
    EXPECT_FALSE(OpenHandedOverFile(env.app, env.path("fehlt.FOL")));
    ASSERT_EQ(env.texts(),
              std::vector<std::string>{"Fehler beim Laden: Datei " + env.path("fehlt.FOL") + " nicht gefunden!"});
    EXPECT_EQ(env.ui.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(env.app.DataFileName, good);

    // Declining the data filter of an older file reports error 0; the titles
    // and the file in use stay.
    env.ui.messages.clear();
    env.ui.filePaths = {env.makeFile("alt.FOL", 2, 3)};
    env.ui.answers = {Answer::No};
    EXPECT_FALSE(FileOpen(env.app));
    ASSERT_EQ(env.ui.messages.size(), 2u);
    EXPECT_EQ(env.ui.messages[1].text,
              Cp1252("Fehler beim Laden: -- Für diesen Fehler ist kein Fehlerstring vorhanden! --"));
    EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.DataFileName), std::tuple(3, good));
}

// Open, a history entry and a file handed over by the desktop ask the
// question of the program's end before unsaved titles go.
TEST(FileCommands, ReplacingUnsavedTitlesAsksFirst)
{
    const std::string question = Cp1252("Folianto: Sicherheitssystem\r\n\r\nDie Buchdaten wurden geändert, "
                                        "aber noch nicht gesichert.\r\nDie Buchdaten jetzt sichern?");
    using Open = std::function<bool(Env&, const std::string&)>;
    const std::pair<const char*, Open> commands[] = {
        {"open",
         [](Env& env, const std::string& path) {
             env.ui.filePaths = {path};
             return FileOpen(env.app);
         }},
        {"history", [](Env& env, const std::string& path) { return DoAutoItemClick(env.app, "&1 " + path); }},
        {"handed over", [](Env& env, const std::string& path) { return OpenHandedOverFile(env.app, path); }},
    };
    // Yes saves first, No drops the new title, Abort keeps everything.
    const struct { Answer answer; bool opened; int32_t saved; } cases[] = {
        {Answer::Yes, true, 3}, {Answer::No, true, 2}, {Answer::Abort, false, 2}};
    for (const auto& [name, open] : commands) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(static_cast<int>(c.answer)));
            Env env;
            const std::string current = env.makeFile("a.FOL", 2);
            const std::string other = env.makeFile("b.FOL", 5);
            std::string err;
            ASSERT_TRUE(Load_Buch_Data(env.app, current, err));
            env.app.store.NewBuch(); // typed in, not saved
            env.app.store.MarkChanged();
            env.ui.answers = {c.answer};
            EXPECT_EQ(open(env, other), c.opened);
            ASSERT_FALSE(env.ui.messages.empty());
            EXPECT_EQ(std::tuple(env.ui.messages[0].kind, env.ui.messages[0].text, env.ui.messages[0].buttons),
                      std::tuple(MsgKind::Confirmation, question, Buttons::YesNoAbort));
            EXPECT_EQ(env.ui.messages.size(), 1u);
            EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.DataFileName, env.app.store.Gesichert()),
                      c.opened ? std::tuple(5, other, true) : std::tuple(3, current, false));
            TestApp reader;
            ASSERT_TRUE(Load_Buch_Data(reader.app, current, err));
            EXPECT_EQ(reader.app.store.AnzBuch, c.saved);
        }
    }
    // Saved titles go without a question.
    Env env;
    env.ui.filePaths = {env.makeFile("b.FOL", 5)};
    EXPECT_TRUE(FileOpen(env.app));
    EXPECT_TRUE(env.ui.messages.empty());
}

// A merge appends and leaves the collection unnamed and changed; a declined
// one keeps the current file as the save target.
TEST(FileCommands, Merge)
{
    Env env;
    const std::string first = env.makeFile("a.FOL", 2);
    const std::string older = env.makeFile("alt.FOL", 3, 3);
    const std::string full = env.makeFile("voll.FOL", 3);
    env.ui.filePaths = {first};
    ASSERT_TRUE(FileOpen(env.app));

    // Data filter declined: nothing appended.
    env.ui.filePaths = {older};
    env.ui.answers = {Answer::No};
    EXPECT_FALSE(FileMerge(env.app));
    EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.DataFileName, env.app.DataVerMinor, env.app.store.Gesichert()),
              std::tuple(2, first, 4, true));
    env.ui.filePaths = {older};
    EXPECT_TRUE(FileMerge(env.app));
    EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.DataFileName, env.app.store.Gesichert()),
              std::tuple(5, "", false));
    std::vector<std::string> keys;
    for (int32_t i = 1; i <= 5; ++i)
        keys.push_back(env.app.store.at(i)->Kuerzel.Text);
    EXPECT_EQ(keys, (std::vector<std::string>{"K1", "K2", "K1_002", "K2_002", "K3"})); // short keys stay unique

    // The next save asks the version question.
    env.ui.messages.clear();
    env.ui.filePaths = {env.path("neu.FOL")};
    env.ui.answers = {Answer::No};
    EXPECT_TRUE(FileSaveAs(env.app));
    ASSERT_FALSE(env.ui.messages.empty());
    EXPECT_EQ(env.ui.messages[0].buttons, Buttons::YesNoAbort);
    EXPECT_EQ(env.app.DataVerMinor, 4);

    // Store full part-way: the titles appended so far make an unnamed, changed collection.
    while (env.app.store.AnzBuch < MaxBuch - 1)
        env.app.store.NewBuch();
    env.ui.filePaths = {full};
    EXPECT_FALSE(FileMerge(env.app));
    EXPECT_EQ(std::tuple(env.app.store.AnzBuch, env.app.DataFileName, env.app.store.Gesichert()),
              std::tuple(MaxBuch, "", false));
}

TEST(FileCommands, SaveAndSaveAs)
{
    Env env;
    env.app.settings.ShowAllMsg = true;
    env.app.store.NewBuch();
    env.app.store.MarkChanged();

    // Save as: dialog, wrong extension, success.
    env.ui.filePaths = {env.path("x.txt"), env.path("x.FOL")};
    EXPECT_FALSE(FileSaveAs(env.app));
    ASSERT_EQ(std::pair(env.ui.dialogs.size(), env.ui.saveDialogs), std::pair(std::size_t{1}, 1));
    EXPECT_EQ(Dialog(env.ui.dialogs[0]), std::tuple("", "Folianto Dateien (*.FOL)|*.FOL", "FOL", false, true, true, true));
    EXPECT_EQ(env.texts(), std::vector<std::string>{env.path("x.txt") + Cp1252(
                               " enthält nicht den Standardsuffix \"FOL\"! Speichern wird abgebrochen!")});
    EXPECT_EQ(env.app.DataFileName, "");

    env.ui.messages.clear();
    EXPECT_TRUE(FileSaveAs(env.app));
    EXPECT_EQ(std::tuple(env.texts(), env.ui.messages[0].kind, env.app.DataFileName, env.app.store.Gesichert()),
              std::tuple(std::vector<std::string>{env.path("x.FOL") + " wurde gesichert!"}, MsgKind::Information,
                         env.path("x.FOL"), true));

    // Save under the known name.
    env.ui.messages.clear();
    EXPECT_TRUE(FileSave(env.app));
    EXPECT_EQ(env.texts(), std::vector<std::string>{env.path("x.FOL") + " wurde gesichert!"});
    EXPECT_TRUE(QFile::exists(QString::fromStdString(env.path("x.BAK_FOL"))));

    // A declined save is not reported as saved, even though nothing was unsaved.
    env.ui.messages.clear();
    env.app.DataVerMinor = 3;
    env.ui.answers = {Answer::Abort};
    EXPECT_FALSE(FileSave(env.app));
    EXPECT_EQ(env.ui.messages.size(), 1u);

    // A declined or failed save as keeps the name the data had.
    env.ui.messages.clear();
    env.ui.filePaths = {env.path("y.FOL")};
    env.ui.answers = {Answer::Abort};
    EXPECT_FALSE(FileSaveAs(env.app));
    EXPECT_EQ(env.app.DataFileName, env.path("x.FOL"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(env.path("y.FOL"))));
    env.app.DataVerMinor = 4;
    env.ui.filePaths = {env.path("fehlt/y.FOL")};
    EXPECT_THROW(FileSaveAs(env.app), AppError);
    EXPECT_EQ(env.app.DataFileName, env.path("x.FOL"));

    // Cancelled dialog.
    env.ui.messages.clear();
    env.ui.filePaths = {std::nullopt};
    EXPECT_FALSE(FileSaveAs(env.app));
    EXPECT_EQ(env.texts(), std::vector<std::string>{kNoFile});
}
