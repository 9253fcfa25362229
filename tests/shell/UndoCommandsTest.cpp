#include "application/BuchData.h"
#include "core/SampleCatalogue.h"
#include "editor/TitleEditorModel.h"
#include "exchange/RisImport.h"
#include "exchange/TextImport.h"
#include "history/HistoryTestUtil.h"
#include "selection/Replace.h"
#include "selection/Selection.h"
#include "application/FileCommands.h"
#include "shell/MainCommands.h"
#include "support/Fakes.h"

#include <random>

using namespace folianto;
using folianto::test::StoreImage;
using folianto::test::TestApp;

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::string PathIn(const char* name)
{
    return PathToCp1252(Folder().path() + QLatin1Char('/') + QLatin1String(name));
}

std::string WriteFile(const char* name, const QByteArray& bytes)
{
    QFile file(PathFromCp1252(PathIn(name)));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return PathIn(name);
}

// A saved database of three titles to merge.
std::string ThreeTitles()
{
    TestApp other;
    FillSampleCatalogue(other.app.store, 3, 77);
    std::string err;
    EXPECT_TRUE(Save_Buch_Data(other.app, PathIn("drei.FOL"), err));
    return PathIn("drei.FOL");
}

void Edit(App& app, EditModes mode, bool copy, const char* titel)
{
    TitleEditorModel editor(app);
    app.store.ActBuch = 4;
    editor.InitForm(mode, -1);
    if (mode != EditModeNew)
        editor.LoadFromStore();
    editor.Values.Kopieren = copy;
    editor.Values.Titel = titel;
    editor.WriteToStore();
}

struct Case {
    std::string label;
    std::function<void(TestApp&)> command;
};

// The commands that change titles, with their steps' labels.
const std::vector<Case>& Commands()
{
    static const std::vector<Case> cases = {
        {Cp1252("Titel löschen"), [](TestApp& t) { DeleteCurrentTitle(t.app); }},
        {"Ersetzen",
         [](TestApp& t) {
             SelectionState& sel = t.app.selection;
             sel.SuchenIn[0] = sel.SuchenIn[2] = true;
             sel.SuchText = "e";
             sel.Replace.ReplaceText = "EE";
             ReplaceInAllTitles(t.app);
         }},
        {"Neuer Titel", [](TestApp& t) { Edit(t.app, EditModeNew, false, "Neu"); }},
        {"Titel bearbeiten", [](TestApp& t) { Edit(t.app, EditModeEdit, false, "Anders"); }},
        {"Titel kopieren", [](TestApp& t) { Edit(t.app, EditModeEdit, true, "Kopie"); }},
        {"Import aus liste.TXT",
         [](TestApp& t) {
             t.app.settings.ImpExp.Kopfzeilen = 0;
             t.app.settings.ImpExp.Trennzeichen = ';';
             ImportText(t.app, PathIn("liste.TXT"), "K1;T1\r\nK2;T2\r\n");
         }},
        {"Import aus liste.RIS",
         [](TestApp& t) {
             ImportRisFile(t.app, WriteFile("liste.RIS", "TY  - BOOK\r\nTI  - Eins\r\nER  - \r\n"
                                                         "TY  - BOOK\r\nTI  - Zwei\r\nER  - \r\n"));
         }},
        {"Import aus Folianto-Datei",
         [](TestApp& t) {
             t.ui.filePaths.push_back(ThreeTitles());
             FileMerge(t.app);
         }},
    };
    return cases;
}

// A catalogue as after loading, its state the saved one.
void Prepare(TestApp& t)
{
    FillSampleCatalogue(t.app.store, 30, 5);
    t.app.store.ActBuch = 4;
    SetAusgabeData(t.app);
    t.app.titleHistory.Clear();
}

} // namespace

// Each command that changes titles is one step, named for the menu; undo
// gives the titles as before byte for byte and the saved state, redo the
// titles as after.
TEST(UndoCommands, EachCommandIsOneStepUndoneExactly)
{
    for (const Case& c : Commands()) {
        SCOPED_TRACE(c.label);
        TestApp t;
        Prepare(t);
        const std::string before = StoreImage(t.app.store);

        c.command(t);
        const std::string after = StoreImage(t.app.store);
        EXPECT_NE(before, after);
        EXPECT_FALSE(t.app.store.Gesichert());
        ASSERT_EQ(t.app.titleHistory.StepCount(), 1u);
        EXPECT_EQ(t.app.titleHistory.UndoLabel(), c.label);

        EXPECT_TRUE(UndoTitleChange(t.app));
        EXPECT_TRUE(StoreImage(t.app.store) == before);
        EXPECT_TRUE(t.app.store.Gesichert());
        EXPECT_FALSE(UndoTitleChange(t.app));
        EXPECT_TRUE(RedoTitleChange(t.app));
        EXPECT_TRUE(StoreImage(t.app.store) == after);
        EXPECT_FALSE(t.app.store.Gesichert());
    }
}

// The commands one after another in random orders: undoing all gives the
// start, redoing all the end.
TEST(UndoCommands, RandomSequencesUndoToTheStartAndRedoToTheEnd)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        std::vector<const Case*> order;
        for (const Case& c : Commands())
            order.push_back(&c);
        std::shuffle(order.begin(), order.end(), std::mt19937(seed));
        TestApp t;
        Prepare(t);
        const std::string start = StoreImage(t.app.store);
        for (const Case* c : order) {
            t.app.store.ActBuch = 4;
            c->command(t);
        }
        const std::string end = StoreImage(t.app.store);
        EXPECT_EQ(t.app.titleHistory.StepCount(), order.size());
        while (UndoTitleChange(t.app))
            ;
        EXPECT_TRUE(StoreImage(t.app.store) == start);
        while (RedoTitleChange(t.app))
            ;
        EXPECT_TRUE(StoreImage(t.app.store) == end);
    }
}
