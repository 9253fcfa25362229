#include "exchange/CslBibliography.h"
#include "exchange/CslDialogModel.h"
#include "config/IniFile.h"
#include "exchange/ExchangeTestUtil.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace folianto {
namespace {

using test::U;

std::vector<Reference> SmallCatalogue()
{
    std::vector<Reference> refs(3);
    refs[0].Typ = 0;
    refs[0].Authors = {Cp1252("Müller, Hans")};
    refs[0].Title = "Die Kunst Des Fragments In Der Moderne";
    refs[0].Year = "1998";
    refs[0].Publisher = "Suhrkamp";
    refs[0].Address = "Frankfurt am Main";
    refs[0].Language = "deutsch";
    refs[1].Typ = 4;
    refs[1].Authors = {"Gogh, Vincent"};
    refs[1].Title = "Farbe Und Licht";
    refs[1].Container = "Merkur";
    refs[1].Volume = "12";
    refs[1].Issue = "3";
    refs[1].Pages = "S. 12-45";
    refs[1].Year = "2001";
    refs[2].Typ = 3;
    refs[2].Authors = {"Schmidt, Eva"};
    refs[2].Editors = {"Dupont, Anna"};
    refs[2].Title = Cp1252("Über Die Ästhetik");
    refs[2].Container = "Fragmente der Moderne";
    refs[2].Year = "o. J.";
    return refs;
}

TEST(CslStyles, ListedByTitleAndFoundByName)
{
    REQUIRE_PANDOC();
    const CslStyleLookup din = FindCslStyle("din-1505-2");
    ASSERT_TRUE(din.Style) << din.Error;
    EXPECT_EQ(din.Style->Locale, "de-DE");
    EXPECT_TRUE(din.Style->German);
    const CslStyleLookup byTitle = FindCslStyle("philippika"); // no locale, "(Deutsch)" in the title
    ASSERT_TRUE(byTitle.Style) << byTitle.Error;
    EXPECT_TRUE(byTitle.Style->German);
    EXPECT_NE(din.Style->Title.find("DIN 1505-2"), std::string::npos);
    EXPECT_FALSE(FindCslStyle("apa").Style.value().German);
    // A dependent style is set with its parent's file.
    const CslStyleLookup dependent = FindCslStyle("2d-materials");
    ASSERT_TRUE(dependent.Style) << dependent.Error;
    EXPECT_EQ(QFileInfo(QString::fromStdString(dependent.Style->Path)).fileName().toStdString(),
              "institute-of-physics-numeric.csl");

    const std::vector<CslStyle> all = ListCslStyles();
    EXPECT_GT(all.size(), 1000u);
    int german = 0;
    for (const CslStyle& s : all)
        german += s.German;
    EXPECT_GT(german, 50);
}

TEST(CslStyles, UnknownStylesAreRefusedWithThePackage)
{
    QTemporaryDir dir;
    const QString notAStyle = dir.filePath(QStringLiteral("x.csl")), xml = dir.filePath(QStringLiteral("x.xml"));
    for (const QString& path : {notAStyle, xml})
        test::WriteBytes(path, "<html><title>x</title></html>");
    struct Case {
        std::string name;
        const char* says;
    };
    const Case cases[] = {
        {"no-such-style", "citation-style-language-styles"},
        {"/nonexistent/own.csl", "„/nonexistent/own.csl“ gibt es nicht"},
        {"", "citation-style-language-styles"},
        {PathToCp1252(notAStyle), "kein CSL-Zitierstil"},
        // A path is a path also without the .csl ending, and a file name with it.
        {PathToCp1252(xml), "kein CSL-Zitierstil"},
        {"own.csl", "Die Stildatei „own.csl“"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CslStyleLookup found = FindCslStyle(c.name);
        EXPECT_FALSE(found.Style);
        EXPECT_NE(U(found.Error).find(c.says), std::string::npos) << U(found.Error);
    }
}

// The small catalogue in two styles: one entry per title, the capitals of the
// German titles kept, the style's locale used.
TEST(CslBibliography, PandocSetsTwoStyles)
{
    REQUIRE_PANDOC();
    const std::vector<Reference> refs = SmallCatalogue();
    const CslStyleLookup din = FindCslStyle("din-1505-2");
    ASSERT_TRUE(din.Style);
    const CiteprocResult html = RunCiteproc(refs, *din.Style, "html5", true);
    ASSERT_TRUE(html.ok()) << U(html.Error);
    std::size_t entries = 0;
    for (std::size_t p = html.Bytes.find("class=\"csl-entry\""); p != std::string::npos;
         p = html.Bytes.find("class=\"csl-entry\"", p + 1))
        ++entries;
    EXPECT_EQ(entries, 3u);
    EXPECT_NE(html.Bytes.find("Die Kunst Des Fragments In Der Moderne"), std::string::npos);
    EXPECT_NE(html.Bytes.find("Müller"), std::string::npos);
    EXPECT_NE(html.Bytes.find("Hrsg."), std::string::npos);
    EXPECT_NE(html.Bytes.find("12–45"), std::string::npos);
    EXPECT_EQ(html.Bytes.find("S. S."), std::string::npos); // the style's label only

    const CslStyleLookup apa = FindCslStyle("apa");
    ASSERT_TRUE(apa.Style);
    const CiteprocResult text = RunCiteproc(refs, *apa.Style, "plain", false);
    ASSERT_TRUE(text.ok()) << U(text.Error);
    EXPECT_NE(text.Bytes.find("Müller, H. (1998). Die Kunst Des Fragments In Der Moderne"), std::string::npos)
        << text.Bytes;
    EXPECT_NE(text.Bytes.find("(o.\u00A0J.)"), std::string::npos) << text.Bytes; // German terms: no style locale
    EXPECT_NE(text.Bytes.find("Farbe Und Licht"), std::string::npos);

    const CitationText one = FormatCitation(refs[0], *apa.Style);
    EXPECT_NE(one.Html.find("<em>Die Kunst Des Fragments In Der Moderne</em>"), std::string::npos) << one.Html;
}

// Every format written; then no pandoc, a failing pandoc, an unknown format
// (a message), and a cancel in the progress window while pandoc works or just
// as it ends (no message): never a file, and an existing one left as it was.
TEST(CslBibliography, FilesInEveryFormatAndNothingOnFailureOrCancel)
{
    REQUIRE_PANDOC();
    const CslStyle style = *FindCslStyle("din-1505-2").Style;
    QTemporaryDir dir;
    QTemporaryDir bin;
    const std::string sleeper = PathToCp1252(test::WriteEndlessPandoc(bin));
    test::FakeUserInteraction ui;
    struct Case {
        std::string program;
        const char* file;
        int cancelAfterRounds;
        bool written;
        const char* says; // in the file when written, else in the message (nullptr: none)
    };
    const std::string pandoc = PandocProgram();
    const Case cases[] = {
        {pandoc, "l.html", -1, true, "<!DOCTYPE html>"},
        {pandoc, "l.odt", -1, true, "PK"},
        {pandoc, "l.docx", -1, true, "PK"},
        {pandoc, "l.rtf", -1, true, "{\\rtf1"},
        {pandoc, "l.txt", -1, true, "MÜLLER"},
        {"/nonexistent/pandoc", "a.html", -1, false, "Debian-Paket „pandoc“ installieren"},
        {"/bin/false", "b.html", -1, false, "pandoc ist mit dem Status 1 gescheitert"},
        {pandoc, "c.pdf", -1, false, ".html, .odt, .docx, .rtf oder .txt"},
        {"/bin/false", "l.html", -1, false, "Status 1"},
        {sleeper, "d.odt", 3, false, nullptr},
        {sleeper, "l.html", 3, false, nullptr},
        {pandoc, "e.html", 0, false, nullptr},
        {pandoc, "ordner.html", -1, false, "Fehler beim Speichern der Daten in"}, // a folder of that name
    };
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ordner.html")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ui.messages.clear();
        ui.cancelAfterRounds = c.cancelAfterRounds;
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        const bool existed = QFileInfo::exists(path);
        const std::string before = existed ? test::ReadBytes(path) : std::string();
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(WriteBibliography(ui, SmallCatalogue(), style, PathToCp1252(path), c.program), c.written);
        EXPECT_LT(clock.elapsed(), 20000); // the sleeper was stopped
        if (c.written) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_NE(test::ReadBytes(path).find(c.says), std::string::npos);
            continue;
        }
        ASSERT_EQ(ui.messages.size(), c.says ? 1u : 0u);
        if (c.says) {
            EXPECT_EQ(ui.messages[0].kind, MsgKind::Error);
            EXPECT_NE(U(ui.messages[0].text).find(c.says), std::string::npos) << U(ui.messages[0].text);
        }
        EXPECT_EQ(QFileInfo::exists(path), existed);
        EXPECT_EQ(existed ? test::ReadBytes(path) : std::string(), before);
    }
    const std::string said = Cp1252("Das Literaturverzeichnis mit 3 Titeln wird im Stil „") + style.Title +
                             Cp1252("“ gesetzt ...");
    EXPECT_NE(std::find(ui.waitTexts.begin(), ui.waitTexts.end(), said), ui.waitTexts.end());
    const QByteArray txt = QByteArray::fromStdString(test::ReadBytes(dir.filePath(QStringLiteral("l.txt"))));
    EXPECT_EQ(std::pair(txt.count('\n'), txt.count("\r\n") > 0), std::pair(txt.count("\r\n"), true)); // CR LF only
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5); // no temporary left behind
}

std::vector<CslStyle> HandMadeStyles()
{
    return {
        {"apa", "American Psychological Association 7th edition", "/x/apa.csl", "", false},
        {"chicago-author-date-de", "Chicago Manual of Style 17th edition (author-date, Deutsch)", "/x/c.csl", "de-DE",
         true},
        {"din-1505-2", "DIN 1505-2 (author-date, Deutsch)", "/x/din.csl", "de-DE", true},
        {"harvard-cite-them-right", "Cite Them Right 11th edition - Harvard", "/x/h.csl", "", false},
    };
}

std::vector<std::string> ShownNames(const CslDialogModel& model)
{
    std::vector<std::string> names;
    for (const CslStyle* s : model.shown())
        names.push_back(s->Name);
    return names;
}

TEST(CslDialogModel, SearchGermanFirstAndTheRememberedChoice)
{
    test::TestApp t;
    CslChoice choice = ReadCslChoice(IniFile("[Zitierstil]\r\nStil=apa\r\nFormat=docx\r\n"));
    CslDialogModel model(t.app, choice, HandMadeStyles(), "/nonexistent/pandoc");
    EXPECT_EQ(ShownNames(model),
              (std::vector<std::string>{"chicago-author-date-de", "din-1505-2", "apa", "harvard-cite-them-right"}));
    EXPECT_EQ(std::tuple(model.currentRow(), model.formatIndex()), std::tuple(2, 2));
    // After each search the selection is a shown style: the previous one
    // where it still shows, else the first hit; preview and export use it.
    struct Case {
        const char* search;
        std::vector<std::string> names;
        const char* selected; // nullptr: none
    };
    const Case cases[] = {
        {"a", {"chicago-author-date-de", "din-1505-2", "apa", "harvard-cite-them-right"}, "apa"},
        {"din 1505", {"din-1505-2"}, "din-1505-2"},
        {"DEUTSCH", {"chicago-author-date-de", "din-1505-2"}, "din-1505-2"},
        {"harvard", {"harvard-cite-them-right"}, "harvard-cite-them-right"},
        {"nichts dergleichen", {}, nullptr},
        {"", {"chicago-author-date-de", "din-1505-2", "apa", "harvard-cite-them-right"}, "harvard-cite-them-right"},
        {"apa", {"apa"}, "apa"},
    };
    for (const Case& c : cases) {
        model.setSearch(c.search);
        EXPECT_EQ(ShownNames(model), c.names) << c.search;
        const std::optional<CslStyle> chosen = model.chosenStyle();
        EXPECT_EQ(chosen ? chosen->Name : "-", c.selected ? c.selected : "-") << c.search;
        EXPECT_EQ(model.currentRow() >= 0 ? model.shown()[static_cast<std::size_t>(model.currentRow())]->Name : "-",
                  c.selected ? c.selected : "-") << c.search;
    }
    model.setSearch("");
    model.setGermanFirst(false);
    EXPECT_EQ(ShownNames(model).front(), "apa");
    EXPECT_EQ(model.currentRow(), 0); // the chosen style stays chosen when the list reorders
    model.setCurrentRow(static_cast<int>(model.shown().size())); // past the list: none
    EXPECT_EQ(model.currentRow(), -1);
    model.setGermanFirst(true);
    model.setCurrentRow(0); // the first row is a choice too
    model.setFormatIndex(4);
    model.setFormatIndex(5); // past the formats: ignored
    EXPECT_EQ(model.formatIndex(), 4);
    model.remember();
    IniFile ini("[Zitierstil]\r\nStil=apa\r\nEigen=bleibt\r\n");
    WriteCslChoice(ini, choice);
    EXPECT_EQ(ini.Serialize(),
              "[Zitierstil]\r\nStil=chicago-author-date-de\r\nEigen=bleibt\r\nFormat=txt\r\nOrdner=\r\nZitat=Text\r\n");
    EXPECT_FALSE(ReadCslChoice(IniFile("[Zitierstil]\r\nZitat=Eintrag\r\n")).CiteInText);
}

// What the dialog refuses, and says why: no style, no title, no file, no
// titles shown, no pandoc, a style file that is none; a style file of one's
// own is taken and remembered.
TEST(CslDialogModel, RefusesWithoutStyleTitleFileOrPandoc)
{
    test::TestApp t;
    CslChoice choice;
    CslDialogModel model(t.app, choice, HandMadeStyles(), "/nonexistent/pandoc");
    model.setSearch("nichts dergleichen");
    EXPECT_EQ(U(model.previewCurrentTitle().Error), "Kein Zitierstil gewählt.");
    EXPECT_FALSE(model.exportBibliography());
    EXPECT_EQ(U(t.ui.messages.back().text), "Bitte zuerst einen Zitierstil wählen.");
    model.setSearch("");
    std::string error;
    EXPECT_FALSE(model.startPreview(error));
    EXPECT_EQ(U(error), "Kein Titel gewählt.");
    EXPECT_EQ(U(model.citationForClipboard().Error), "Kein Titel gewählt.");
    EXPECT_FALSE(model.exportBibliography()); // no file chosen
    const std::size_t messages = t.ui.messages.size();
    QTemporaryDir dir;
    const std::string path = PathToCp1252(dir.filePath(QStringLiteral("verzeichnis.html")));
    t.ui.filePaths.push_back(path);
    EXPECT_FALSE(model.exportBibliography());
    ASSERT_EQ(t.ui.messages.size(), messages + 2); // all shown titles?, none there
    EXPECT_EQ(U(t.ui.messages.back().text), "Es sind keine Titel für das Literaturverzeichnis ausgewählt.");
    test::AddTitle(t.app).Titel.Text = "T";
    test::ShowAllTitles(t.app);
    t.app.store.ActBuch = 1;
    t.ui.filePaths.push_back(path);
    EXPECT_FALSE(model.exportBibliography()); // pandoc is missing
    EXPECT_FALSE(QFileInfo::exists(PathFromCp1252(path)));
    t.app.grid.Row = 1;
    EXPECT_NE(U(model.previewCurrentTitle().Error).find("Debian-Paket „pandoc“"), std::string::npos);

    const std::size_t shown = t.ui.messages.size();
    EXPECT_FALSE(model.chooseOwnFile("/nonexistent/eigen.csl"));
    ASSERT_EQ(t.ui.messages.size(), shown + 1);
    EXPECT_EQ(model.chosenStyle()->Name, "din-1505-2");
    EXPECT_FALSE(model.askOwnFile()); // cancelled
    const QString own = dir.filePath(QStringLiteral("eigen.csl"));
    QFile f(own);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<style xmlns=\"http://purl.org/net/xbiblio/csl\" version=\"1.0\"><info><title>Eigen</title></info>"
            "</style>");
    f.close();
    t.ui.filePaths.push_back(PathToCp1252(own));
    EXPECT_TRUE(model.askOwnFile());
    EXPECT_TRUE(t.ui.dialogs.back().mustExist);
    model.setGermanFirst(false); // the own file stays chosen, no row selected
    EXPECT_EQ(std::pair(model.chosenStyle()->Title, model.currentRow()), std::pair(std::string("Eigen"), -1));
    model.remember();
    EXPECT_EQ(choice.Style, PathToCp1252(own));
    // The preview job of that style ends at once without pandoc.
    const std::unique_ptr<CitationJob> job = model.startPreview(error);
    ASSERT_TRUE(job);
    EXPECT_TRUE(job->finished());
    EXPECT_NE(U(job->result().Error).find("pandoc"), std::string::npos);
}

TEST(CslDialogModel, ExportsTheShownTitlesInTheChosenFormat)
{
    REQUIRE_PANDOC();
    test::TestApp t;
    t.app.settings.ShowAllMsg = true;
    for (const Reference& r : SmallCatalogue())
        StoreReference(r, test::AddTitle(t.app));
    test::ShowAllTitles(t.app);
    t.app.grid.Row = 1;
    QTemporaryDir dir;
    CslChoice choice;
    CslDialogModel model(t.app, choice, ListCslStyles());
    ASSERT_TRUE(model.chosenStyle()); // DIN 1505-2 without settings
    EXPECT_NE(model.previewCurrentTitle().Text.find("MÜLLER, HANS: Die Kunst Des Fragments"), std::string::npos);
    std::string error;
    const CitationText shown = model.startPreview(error)->result(); // the preview needs no plain text
    EXPECT_EQ(std::tuple(shown.Html.find("Die Kunst Des Fragments") != std::string::npos, shown.Text), std::tuple(true, ""));
    const std::string path = PathToCp1252(dir.filePath(QStringLiteral("verzeichnis.html")));
    t.ui.filePaths.push_back(path);
    ASSERT_TRUE(model.exportBibliography());
    EXPECT_EQ(std::tuple(t.ui.dialogs.back().initialPath, t.ui.dialogs.back().filter), // the chosen format first
              std::tuple("Literaturverzeichnis.odt", "OpenDocument-Text (*.odt)|*.odt|HTML-Datei (*.html)|*.html|"
                         "Word-Dokument (*.docx)|*.docx|RTF-Datei (*.rtf)|*.rtf|Textdatei (*.txt)|*.txt"));
    const std::string html = test::ReadBytes(dir.filePath(QStringLiteral("verzeichnis.html")));
    EXPECT_NE(html.find("Farbe Und Licht"), std::string::npos);
    EXPECT_EQ(std::tuple(choice.Format, choice.Folder), std::tuple("html", PathToCp1252(dir.path())));
    EXPECT_EQ(U(t.ui.messages.back().text), "Export in " + U(path) + " beendet!");
}

TEST(CslCitation, PageTextsBecomeLocators)
{
    const struct {
        const char *page, *locator;
    } cases[] = {
        {"12", "12"}, {"S. 12", "12"}, {"S.12-14", "12-14"}, {"  Seite  7 ", "7"}, {"Seiten 3-4", "3-4"},
        {"p. 5", "5"}, {"pp. 5-9", "5-9"}, {"12 f.", "12 f."}, {"Sp. 4", "Sp. 4"}, {"Seitenzahl", "Seitenzahl"},
        {"S.", ""}, {"   ", ""}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageLocator(c.page), c.locator) << c.page;
    const CslStyle style{"apa", "APA", "/x/apa.csl", "", false};
    const std::string noPage = CitationMarkdown(style, {true, ""});
    EXPECT_NE(noPage.find("\n[@r1]\n"), std::string::npos) << noPage;
    EXPECT_NE(noPage.find("suppress-bibliography: true"), std::string::npos);
    EXPECT_NE(noPage.find("lang: de-DE"), std::string::npos);
    // Markdown punctuation in a page is text, never markup or a second citation.
    EXPECT_NE(CitationMarkdown(style, {true, "S. 12*, [@r2]"}).find("[@r1, {12\\*\\, \\[\\@r2\\]}]"),
              std::string::npos);
    EXPECT_NE(CitationMarkdown(style, {false, "12"}).find("nocite"), std::string::npos);
}

// The citation in the running text as pandoc sets it: author-date with the
// page in the style's locale, a numeric style's single citation, a note
// style's footnote text; and the full entry when that is asked for.
TEST(CslCitation, InTheTextAndAsEntry)
{
    REQUIRE_PANDOC();
    const Reference book = SmallCatalogue()[0];
    const struct {
        const char* style;
        bool inText;
        const char* page;
        const char* text;
    } cases[] = {
        {"din-1505-2", true, "S. 12", "(MÜLLER, 1998, S. 12)"},
        {"din-1505-2", true, "", "(MÜLLER, 1998)"},
        {"apa", true, "12-14", "(Müller, 1998, S. 12–14)"},
        {"apa", true, "12 f.", "(Müller, 1998, S. 12 f.)"},
        {"ieee", true, "", "[1]"},
        {"ieee", true, "12", "[1, S. 12]"},
        {"chicago-fullnote-bibliography", true, "12",
         "Hans Müller, Die Kunst Des Fragments In Der Moderne (Frankfurt am Main: Suhrkamp, 1998), 12."},
        {"apa", false, "12", "Müller, H. (1998). Die Kunst Des Fragments In Der Moderne. Suhrkamp."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " " + c.page);
        const CslStyleLookup style = FindCslStyle(c.style);
        ASSERT_TRUE(style.Style);
        const CitationText cited = FormatCitation(book, *style.Style, PandocProgram(), {c.inText, Cp1252(c.page)});
        ASSERT_EQ(cited.Error, "");
        EXPECT_EQ(cited.Text, c.text);
        // The citation in the text goes into a sentence: HTML without a paragraph or block of its own.
        const bool block = cited.Html.find("<p>") != std::string::npos || cited.Html.find("<div") != std::string::npos;
        EXPECT_EQ(block, !c.inText) << cited.Html;
        EXPECT_FALSE(cited.Html.empty());
    }
}

} // namespace
} // namespace folianto
