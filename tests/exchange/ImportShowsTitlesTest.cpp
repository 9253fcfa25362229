// Every import shows the titles it brought, also after the user tried the
// category filter and reset it (the switch stays on then).

#include "application/BuchData.h"
#include "exchange/BibTexImport.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/RisImport.h"
#include "exchange/TextImport.h"
#include "exchange/WorkbookExchange.h"
#include "selection/SelectionTestUtil.h"
#include "application/FileCommands.h"
#include "shell/MainCommands.h"
#include "application/StatusBar.h"
#include "spreadsheet/Workbook.h"
#include "selection/SearchLists.h"

namespace folianto {
namespace {

using test::TestApp;

struct Importer {
    const char* what;
    // Brings the titles "Neu eins" (category "Novelle") and "Neu zwei" (none).
    std::function<void(TestApp&, const std::string& dir)> run;
};

std::string File(const std::string& dir, const char* name, const std::string& bytes)
{
    const std::string path = dir + "/" + name;
    test::WriteBytes(PathFromCp1252(path), bytes);
    return path;
}

const Importer kImporters[] = {
    {"text",
     [](TestApp& t, const std::string& dir) {
         ImportTextFile(t.app, File(dir, "neu.txt", "K$T$A$Kategorie\r\nN1$Neu eins$X$Novelle\r\nN2$Neu zwei$Y\r\n"));
     }},
    {"workbook",
     [](TestApp& t, const std::string& dir) {
         Workbook out;
         out.SetFileName(dir + "/neu.xls");
         const char* rows[2][4] = {{"N1", "Neu eins", "X", "Novelle"}, {"N2", "Neu zwei", "Y", ""}};
         for (uint16_t r = 0; r < 2; ++r)
             for (uint16_t c = 0; c < 4; ++c)
                 out.GetSheet(0).WriteText(c, r, rows[r][c]);
         out.Write();
         t.app.settings.ImpExp = {'$', 1, 1, 2, 4, 0};
         Workbook in;
         ImportWorkbookFile(t.app, in, dir + "/neu.xls", LocaleNumberFormatter("de_DE"));
     }},
    {"BibTeX",
     [](TestApp& t, const std::string& dir) {
         ImportBibTexFile(t.app, File(dir, "neu.bib",
                                      "@book{n1, title = {Neu eins}, author = {X}}\n"
                                      "@book{n2, title = {Neu zwei}, author = {Y}}\n"));
     }},
    {"RIS",
     [](TestApp& t, const std::string& dir) {
         ImportRisFile(t.app, File(dir, "neu.ris",
                                   "TY  - BOOK\r\nTI  - Neu eins\r\nAU  - X\r\nER  - \r\n"
                                   "TY  - BOOK\r\nTI  - Neu zwei\r\nAU  - Y\r\nER  - \r\n"));
     }},
    {"merge",
     [](TestApp& t, const std::string& dir) {
         TestApp writer;
         for (const char* titel : {"Neu eins", "Neu zwei"})
             test::AddTitle(writer.app, titel);
         writer.app.store.at(1)->Kategorie.Text = "Novelle";
         writer.app.DataVerMain = 1;
         writer.app.DataVerMinor = 4;
         writer.ui.answers = {Answer::Yes};
         std::string err;
         ASSERT_TRUE(Save_Buch_Data(writer.app, dir + "/neu.FOL", err)) << err;
         t.ui.filePaths.push_back(dir + "/neu.FOL");
         FileMerge(t.app);
     }},
};

TEST(ImportShowsTitles, AfterTheCategoryFilterWasTriedAndReset)
{
    for (const Importer& importer : kImporters) {
        SCOPED_TRACE(importer.what);
        QTemporaryDir dir;
        TestApp t;
        t.app.settings.KuerzelZwang = false;
        for (auto [titel, kategorie] : {std::pair{"Alt Roman", "Roman"}, std::pair{"Alt Krimi", "Krimi"}})
            test::AddTitle(t.app, titel).Kategorie.Text = kategorie;
        Fill_AllLists(t.app);

        // The user unticks "Krimi": the status bar says why a title is missing.
        for (SearchEntry& e : t.app.lists.KategorieSearchList.entries)
            e.Active = e.Text != "Krimi";
        t.app.selection.FilternVon[0] = t.app.selection.FilternVon[1] = true;
        SetAusgabeData(t.app);
        EXPECT_EQ(ShowHint(t.app).Text[1], " 1 Titel gezeigt von 2 Titeln (Filter aktiv)");
        ResetFilterAndSearch(t.app); // every entry ticked again, the switch stays on
        ASSERT_TRUE(t.app.selection.FilternVon[1]);

        importer.run(t, PathToCp1252(dir.path()));
        ASSERT_EQ(t.app.store.AnzBuch, 4);
        std::vector<std::string> shown = test::ShownTitles(t.app);
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, (std::vector<std::string>{"Alt Krimi", "Alt Roman", "Neu eins", "Neu zwei"}));
        EXPECT_EQ(ShowHint(t.app).Text[1], " 4 Titel gezeigt von 4 Titeln");
    }
}

} // namespace
} // namespace folianto
