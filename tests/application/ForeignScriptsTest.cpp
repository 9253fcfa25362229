// Folder names, file names and titles in scripts Windows-1252 has no bytes
// for, through every file command and exchange format.

#include "application/BuchData.h"
#include "application/SettingsFile.h"
#include "core/Text.h"
#include "editor/PictureLinks.h"
#include "exchange/BibTexExport.h"
#include "exchange/BibTexImport.h"
#include "exchange/ExchangeTestUtil.h"
#include "exchange/RisExport.h"
#include "exchange/RisImport.h"
#include "exchange/TextExport.h"
#include "exchange/TextImport.h"
#include "exchange/WorkbookExchange.h"
#include "selection/Selection.h"
#include "application/FileCommands.h"
#include "application/FileHistoryCommands.h"
#include "spreadsheet/Workbook.h"

#include <QFileInfo>

namespace folianto {
namespace {

using test::TestApp;

struct Script {
    const char* folder;
    const char* file;
    const char* title;
    const char* authors; // a ';' list
};

const Script kScripts[] = {
    {"Łódź", "bib.FOL", "Łódź i Kraków", "Miłosz, Czesław; Szymborska, Wisława"},
    {"Документы", "Miłosz.FOL", "Мастер и Маргарита", "Булгаков, Михаил"},
    {"Dvořák", "Noty.FOL", "Dvořák und Čapek", "Čapek, Karel; Dvořák, Antonín"},
    {"Yılmaz", "Ayşe.FOL", "Kırmızı Saçlı Kadın", "Yılmaz, Ayşe; Pamuk, Orhan"},
    {"文献", "目录.FOL", "红楼梦 & &#1;", "曹雪芹; 高鹗"},
};

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class ForeignScripts : public ::testing::TestWithParam<Script> {
protected:
    void SetUp() override
    {
        folder = dir.filePath(U(GetParam().folder));
        ASSERT_TRUE(QDir().mkpath(folder));
        title = ToCp1252(U(GetParam().title));
        authors = ToCp1252(U(GetParam().authors));
    }
    // A path in the folder as the logic holds it.
    std::string Path(const QString& name) const { return PathToCp1252(folder + QLatin1Char('/') + name); }
    std::string Path(const char* name) const { return Path(U(name)); }
    bool Exists(const std::string& path) const { return QFileInfo::exists(PathFromCp1252(path)); }

    void AddTitle(App& app) const
    {
        TBuch& b = test::AddTitle(app);
        b.Kuerzel.Text = "K1";
        b.Titel.Text = title;
        b.Autor.Text = authors;
        b.Schlagworte.Text = authors;
        b.Quelle.Text = Path(GetParam().file);
        app.store.UpdateBuchLengths(app.store.AnzBuch);
    }
    void ExpectTitle(const App& app, int32_t i) const
    {
        ASSERT_GE(app.store.AnzBuch, i);
        const TBuch& b = *app.store.at(i);
        EXPECT_EQ(FromCp1252(b.Titel.Text), U(GetParam().title));
        EXPECT_EQ(FromCp1252(b.Autor.Text), U(GetParam().authors));
    }
    static void ExpectNoMessages(const TestApp& t)
    {
        for (const auto& m : t.ui.messages)
            ADD_FAILURE() << Cp1252ToUtf8(m.text);
    }

    QTemporaryDir dir;
    QString folder;
    std::string title;
    std::string authors;
};

TEST_P(ForeignScripts, FileCommandsSettingsAndHistory)
{
    const std::string fol = Path(GetParam().file);
    TestApp writer;
    AddTitle(writer.app);
    writer.ui.filePaths = {fol};
    ASSERT_TRUE(FileSaveAs(writer.app));
    EXPECT_TRUE(Exists(fol));
    EXPECT_EQ(writer.app.DataFileName, fol);
    writer.app.store.MarkChanged();
    ASSERT_TRUE(FileSave(writer.app));
    EXPECT_TRUE(Exists(ChangeFileExt(fol, ".BAK_FOL")));
    ExpectNoMessages(writer);

    TestApp reader;
    reader.app.settings.OpenFileAtStart = true;
    reader.ui.filePaths = {fol};
    ASSERT_TRUE(FileOpen(reader.app));
    ExpectTitle(reader.app, 1);
    EXPECT_EQ(reader.app.DataFileName, fol);
    EXPECT_TRUE(QuelleStartsDocument(reader.app.store.at(1)->Quelle.Text, true)); // a document link
    ExpectNoMessages(reader);

    // LastFile and the history in the settings file, then a history entry.
    const std::string ini = Path("Folianto.INI");
    ASSERT_FALSE(Write_IniFile(reader.app, ini));
    TestApp next;
    ASSERT_TRUE(Read_IniFile(next.app, ini));
    EXPECT_EQ(next.app.DataFileName, fol);
    ASSERT_FALSE(next.app.history.Paths.empty());
    EXPECT_EQ(next.app.history.Paths.front(), fol);
    const std::vector<std::string> menu = Adjust_FileMenu(next.app);
    ASSERT_FALSE(menu.empty());
    ASSERT_TRUE(DoAutoItemClick(next.app, menu.front()));
    ExpectTitle(next.app, 1);
    next.ui.filePaths = {fol};
    ASSERT_TRUE(FileMerge(next.app));
    ExpectTitle(next.app, 2);
    ExpectNoMessages(next);
}

TEST_P(ForeignScripts, ExchangeFormatsKeepPathAndText)
{
    TestApp source;
    AddTitle(source.app);
    test::ShowAllTitles(source.app);

    // BibTeX and RIS are UTF-8: the real characters, read back the same.
    const struct {
        const char* file;
        bool (*write)(Workspace&);
        ReferenceImportResult (*read)(Workspace&, const std::string&);
    } formats[] = {{"export.bib", ExportToBibTex, ImportBibTexFile}, {"export.ris", ExportToRis, ImportRisFile}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        const std::string path = Path(f.file);
        source.ui.filePaths = {path};
        ASSERT_TRUE(f.write(source.app));
        const std::string written = test::ReadBytes(PathFromCp1252(path));
        EXPECT_NE(written.find(U(GetParam().title).left(3).toStdString()), std::string::npos);
        TestApp back;
        EXPECT_EQ(f.read(back.app, path).Imported, 1);
        ExpectTitle(back.app, 1);
    }

    // The workbook holds UTF-16 text.
    const std::string xls = Path("export.xls");
    {
        Workbook wb;
        ASSERT_TRUE(WriteWorkbook(source.app, wb, xls, {{"K1", title, authors}}));
        Workbook back;
        back.SetFileName(xls);
        back.Read();
        const LocaleNumberFormatter fmt("de_DE");
        EXPECT_EQ(back.GetSheet(0).ReadCellText(1, 0, fmt), title);
        EXPECT_EQ(back.GetSheet(0).ReadCellText(2, 0, fmt), authors);
    }

    // The literature list and the text import are Windows-1252: references.
    const std::string txt = Path("liste.txt");
    source.app.settings.VorgegExportAuswahl = true;
    ASSERT_TRUE(WriteTextExport(source.app, txt, {1}, std::nullopt));
    EXPECT_NE(test::ReadBytes(PathFromCp1252(txt)).find(title), std::string::npos);
    const std::string import = Path("import.txt");
    // A Windows-1252 file (the umlaut is no UTF-8), as the column export writes it.
    test::WriteBytes(PathFromCp1252(import), Cp1252("Kürzel$Titel$Autor\r\nK1$") + title + "$" + authors + "\r\n");
    TestApp imported;
    imported.app.settings.KuerzelZwang = false;
    ASSERT_TRUE(ImportTextFile(imported.app, import));
    ExpectTitle(imported.app, 1);
    ExpectNoMessages(imported);
}

INSTANTIATE_TEST_SUITE_P(Scripts, ForeignScripts, ::testing::ValuesIn(kScripts));

} // namespace
} // namespace folianto
