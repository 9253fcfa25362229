#include "exchange/CslJson.h"
#include "exchange/ExchangeTestUtil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace folianto {
namespace {

using test::TestApp;
using test::U;
using test::ReadFixture;

// The one item of the JSON, compact and with sorted keys.
std::string OnlyItem(const std::string& json)
{
    const QJsonArray items = QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
    EXPECT_EQ(items.size(), 1);
    return QJsonDocument(items.at(0).toObject()).toJson(QJsonDocument::Compact).toStdString();
}

TEST(CslJsonTypes, EveryTypeBothWays)
{
    struct Case {
        int32_t typ;
        const char* medium;
        const char* csl;
        int32_t back; // what an import of the CSL type alone makes of it
    };
    const Case cases[] = {
        {0, "", "book", 0},
        {1, "", "thesis", 1},
        {2, "", "book", 2}, // editors and no authors
        {3, "", "chapter", 3},
        {4, "", "article-journal", 4},
        {5, "", "article-newspaper", 5},
        {6, "DVD", "motion_picture", 6},
        {6, "Audio-CD", "song", 6},
        {6, "Schallplatte", "song", 6},
        {7, "", "report", 7},
        {8, "", "document", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csl);
        EXPECT_EQ(CslType(c.typ, c.medium), c.csl);
        EXPECT_EQ(TypOfCslType(c.csl, c.typ != 2, c.typ == 2 || c.typ == 3), c.back);
    }
    // What other programs write.
    const std::pair<const char*, int32_t> foreign[] = {
        {"paper-conference", 3}, {"entry-encyclopedia", 3}, {"article", 4}, {"article-magazine", 5},
        {"webpage", 6},          {"broadcast", 6},          {"manuscript", 7}, {"standard", 7},
        {"personal_communication", 8}, {"", 8},
    };
    for (const auto& [type, typ] : foreign)
        EXPECT_EQ(TypOfCslType(type, true, false), typ) << type;
    EXPECT_EQ(TypOfCslType("book", true, true), 0); // a monograph with an editor stays one
}

TEST(CslJsonLanguage, NamesAndCodes)
{
    for (const auto& [sprache, code] : {std::pair{"deutsch", "de"}, std::pair{" Deutsch ", "de"},
                                        std::pair{"Französisch", "fr"}, std::pair{"Klingonisch", "Klingonisch"},
                                        std::pair{"", ""}})
        EXPECT_EQ(CslLanguage(Cp1252(sprache)), code) << sprache;
    for (const auto& [code, sprache] : {std::pair{"de-DE", "deutsch"}, std::pair{"EN_us", "englisch"},
                                        std::pair{"LA", "lateinisch"}, std::pair{"ZH", "chinesisch"},
                                        std::pair{"tlh", "tlh"}})
        EXPECT_EQ(SpracheOfCslLanguage(code), sprache) << code;
}

TEST(CslJsonExport, ItemsAsCitationProcessorsReadThem)
{
    Reference r;
    r.Typ = 3;
    r.Key = "k";
    r.Authors = {Cp1252("Müller, Hans"), "Institut der Dinge", "Platon", "Sokrates,"};
    r.Editors = {"Meier, Anna"};
    r.Title = "Die Kunst";
    r.Subtitle = Cp1252("Eine Einführung");
    r.Container = "Das Handbuch";
    r.Year = "1998/99";
    r.Pages = "S. 12-45";
    r.Language = "";
    EXPECT_EQ(OnlyItem(WriteCslJson({r})),
              "{\"author\":[{\"family\":\"Müller\",\"given\":\"Hans\"},{\"literal\":\"Institut der Dinge\"},"
              "{\"family\":\"Platon\"},{\"literal\":\"Sokrates,\"}],\"container-title\":\"Das Handbuch\","
              "\"custom\":{\"folianto-type\":\"Sammelwerkbeitrag\",\"subtitle\":\"Eine Einführung\"},"
              "\"editor\":[{\"family\":\"Meier\",\"given\":\"Anna\"}],\"id\":\"k\","
              "\"issued\":{\"date-parts\":[[1998],[1999]]},\"page\":\"S. 12-45\","
              "\"title\":\"Die Kunst: Eine Einführung\",\"type\":\"chapter\"}");
    // For citeproc: no remark, the subtitle in the title, the label "S." left
    // to the style, German where no language is named.
    r.Note = "privat";
    EXPECT_EQ(OnlyItem(WriteCslJsonForCiteproc({r})),
              "{\"author\":[{\"family\":\"Müller\",\"given\":\"Hans\"},{\"literal\":\"Institut der Dinge\"},"
              "{\"family\":\"Platon\"},{\"literal\":\"Sokrates,\"}],\"container-title\":\"Das Handbuch\","
              "\"editor\":[{\"family\":\"Meier\",\"given\":\"Anna\"}],\"id\":\"r1\","
              "\"issued\":{\"date-parts\":[[1998],[1999]]},\"language\":\"de\","
              "\"page\":\"12-45\",\"title\":\"Die Kunst: Eine Einführung\",\"type\":\"chapter\"}");

    // Ids for citeproc number the short keys in order, equal keys as given, all of one width.
    std::vector<Reference> refs(10, r);
    refs[0].Key = refs[1].Key = "z";
    std::vector<std::string> ids;
    for (const QJsonValue& item : QJsonDocument::fromJson(QByteArray::fromStdString(WriteCslJsonForCiteproc(refs))).array())
        ids.push_back(item.toObject().value(QLatin1String("id")).toString().toStdString());
    EXPECT_EQ(ids, (std::vector<std::string>{"r09", "r10", "r01", "r02", "r03", "r04", "r05", "r06", "r07", "r08"}));
    r.Keywords = {"Kunst", "Theorie, Praxis"}; // a comma in one: joined with semicolons
    EXPECT_NE(OnlyItem(WriteCslJson({r})).find("\"keyword\":\"Kunst; Theorie, Praxis\""), std::string::npos);
}

// What the file's entries become in titles (the entries themselves are in
// the golden file of every exchange fixture).
TEST(CslJsonImport, WhatAReferenceManagerWrites)
{
    const ParsedReferences p = ParseCslJson(ReadFixture("csl", "reference-manager.json"));
    ASSERT_EQ(p.References.size(), 5u);
    // The volume is the article's "Jahrgang", its issue the Heft before a
    // number; a publisher with the place in front leaves the place in its own field.
    Reference withPlace = p.References[0];
    withPlace.Publisher = Cp1252("Köln: Kiepenheuer & Witsch");
    withPlace.Issue = "2";
    withPlace.Number = "4";
    TBuch stored;
    StoreReference(withPlace, stored);
    EXPECT_EQ(std::tuple(stored.Auflage, stored.Band.Text, U(stored.Ort.Text), stored.Verlag.Text, stored.Jahr.Text,
                         stored.HeftNr.Text, stored.Bemerkung.Text.substr(stored.Bemerkung.Text.rfind('\n') + 1)),
              std::tuple(12, "", "Köln", "Kiepenheuer & Witsch", "12.05.2004", "2", "Nummer: 4"));
    withPlace.Address = "Berlin"; // another place: the publisher stays whole
    StoreReference(withPlace, stored = TBuch{});
    EXPECT_EQ(std::tuple(stored.Ort.Text, U(stored.Verlag.Text)), std::tuple("Berlin", "Köln: Kiepenheuer & Witsch"));
    // A chapter has no field for the series: the remark.
    StoreReference(p.References[1], stored = TBuch{});
    EXPECT_EQ(stored.Bemerkung.Text, "Reihe: Schriften zur Kultur");

    TestApp app;
    const ReferenceImportResult result = ImportReferences(app.app, "ref.json", p);
    EXPECT_EQ(std::tuple(result.Imported, result.Dropped), std::tuple(5, 2));
    ASSERT_EQ(app.ui.messages.size(), 1u);
    EXPECT_NE(U(app.ui.messages[0].text).find("2 Einträge nicht übernommen"), std::string::npos);
}

TEST(CslJsonImport, DamagedFilesSayWhere)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t taken;
        int line;
    };
    const Case cases[] = {
        {"cut off", "[\n{\"id\": \"a\", \"title\": \"T\"},\n{\"id\": ", 0, 3},
        {"not JSON", "@book{x, title={T}}", 0, 1},
        {"empty", "", 0, 1},
        {"single object", "{\"title\": \"Allein\"}", 1, 0},
        {"Windows-1252 bytes", "[{\"title\": \"M\xFC" "ller\"}]", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParsedReferences p = ParseCslJson(c.bytes);
        EXPECT_EQ(p.References.size(), c.taken);
        if (c.line > 0) {
            ASSERT_EQ(p.Problems.size(), 1u);
            EXPECT_TRUE(p.Problems[0].Dropped);
            EXPECT_EQ(p.Problems[0].Line, c.line);
            EXPECT_NE(U(p.Problems[0].Text).find("keine gültige CSL-JSON-Datei"), std::string::npos);
        } else {
            EXPECT_TRUE(p.Problems.empty());
        }
    }
    EXPECT_EQ(ParseCslJson("[{\"title\": \"M\xFC" "ller\"}]").References[0].Title, Cp1252("Müller"));
}

} // namespace
} // namespace folianto
