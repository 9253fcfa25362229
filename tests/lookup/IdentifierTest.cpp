#include "core/Codec.h"
#include "lookup/Identifier.h"
#include "lookup/LookupSources.h"

#include <gtest/gtest.h>

#include <tuple>

namespace folianto {
namespace {

struct IdCase {
    const char* text;
    LookupId::Kind kind;
    const char* isbn13;
    const char* isbn10;
    const char* doi;
};

TEST(LookupIdentifier, ReadsIsbnsAndDois)
{
    using K = LookupId::Kind;
    const IdCase cases[] = {
        {"3-16-148410-X", K::Isbn, "9783161484100", "316148410X", ""},
        {"316148410x", K::Isbn, "9783161484100", "316148410X", ""},
        {"978-3-16-148410-0", K::Isbn, "9783161484100", "316148410X", ""},
        {" ISBN 978 3 16 148410 0 ", K::Isbn, "9783161484100", "316148410X", ""},
        {"ISBN-10: 0-306-40615-2", K::Isbn, "9780306406157", "0306406152", ""},
        {"9791034304400", K::Isbn, "9791034304400", "", ""},
        {"10.1000/xyz123", K::Doi, "", "", "10.1000/xyz123"},
        {"doi:10.1000/xyz123", K::Doi, "", "", "10.1000/xyz123"},
        {"DOI: 10.1000/xyz123", K::Doi, "", "", "10.1000/xyz123"},
        {"https://doi.org/10.1000/a(b)c", K::Doi, "", "", "10.1000/a(b)c"},
        {"http://dx.doi.org/10.1000/xyz123", K::Doi, "", "", "10.1000/xyz123"},
        {"10.1/x", K::Doi, "", "", "10.1/x"},
        // Wrong check digits, wrong lengths, neither form.
        {"3-16-148410-1", K::None, "", "", ""},
        {"978-3-16-148410-1", K::None, "", "", ""},
        {"X316148410", K::None, "", "", ""},
        {"12345678901", K::None, "", "", ""},
        {"9773161484101", K::None, "", "", ""}, // its check digit fits
        {"10.1000", K::None, "", "", ""},
        {"10.1000/", K::None, "", "", ""},
        {"Roman", K::None, "", "", ""},
        {"", K::None, "", "", ""},
    };
    for (const IdCase& c : cases) {
        SCOPED_TRACE(c.text);
        const LookupId id = ParseLookupId(c.text);
        EXPECT_EQ(std::tuple(id.kind, id.Isbn13, id.Isbn10, id.Doi, id.Error.empty()),
                  std::tuple(c.kind, c.isbn13, c.isbn10, c.doi, c.kind != K::None));
    }
    EXPECT_EQ(ParseLookupId("3-16-148410-1").Error, Cp1252("Falsche Prüfziffer, keine gültige ISBN: 3-16-148410-1"));
    // Both forms of one book, and a DOI in any spelling, are one key.
    EXPECT_EQ(ParseLookupId("3-16-148410-X").Key(), ParseLookupId("9783161484100").Key());
    EXPECT_EQ(ParseLookupId("doi:10.1000/AZ").Key(), ParseLookupId("https://doi.org/10.1000/az").Key());
}

TEST(LookupIdentifier, NormalisesIsbnFields)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3-16-148410-X (kart.)", "9783161484100"},
        {"ISBN 978-3-16-148410-0; 3-16-148410-X", "9783161484100"},
        {"0306406152", "9780306406157"},
        {"3-16-148410-x", "9783161484100"},
        {"3-16-148410-1", ""},
        {"vergriffen", ""},
    };
    for (const auto& [field, isbn13] : cases)
        EXPECT_EQ(NormalisedIsbn13(field), isbn13) << field;
}

TEST(LookupSourcesTest, DefaultsWhenTheSectionIsMissing)
{
    const LookupSources s = ReadLookupSources(std::nullopt);
    ASSERT_EQ(s.ForIsbn.size(), 4u);
    ASSERT_TRUE(s.ForDoi);
    EXPECT_EQ(std::tuple(s.ForIsbn[0].Name, s.ForIsbn[3].Format, s.ForDoi->Format, s.Problems.size()),
              std::tuple("dnb", SourceFormat::OpenLibrary, SourceFormat::CslJson, 0u));
    const LookupId isbn = ParseLookupId("3-16-148410-X");
    EXPECT_EQ(SourceUrl(s.ForIsbn[0], isbn), "https://services.dnb.de/sru/dnb?version=1.1&operation=searchRetrieve"
                                             "&query=num%3D9783161484100&recordSchema=MARC21-xml");
    EXPECT_EQ(SourceUrl(*s.ForDoi, ParseLookupId("doi:10.1000/a b?c")), "");
    EXPECT_EQ(SourceUrl(*s.ForDoi, ParseLookupId("10.1000/a<b>?c")), "https://doi.org/10.1000/a%3Cb%3E%3Fc");
}

TEST(LookupSourcesTest, ReadsTheSectionInItsOrder)
{
    const std::vector<std::pair<std::string, std::string>> section = {
        {"eins", "marcxml|http://a/{isbn}"}, {"zwei", "openlibrary|http://b/{isbn10}"},
        {"DOI", "csljson|http://c/{doi}"},   {"kaputt", "pdf|http://d/"},
        {"ohneurl", "marcxml"},              {"leer", "marcxml| "},
        {"Reihenfolge", "zwei, EINS, fehlt"},
    };
    const LookupSources s = ReadLookupSources(section);
    ASSERT_EQ(s.ForIsbn.size(), 2u);
    EXPECT_EQ(std::tuple(s.ForIsbn[0].Name, s.ForIsbn[1].Name), std::tuple("zwei", "eins"));
    ASSERT_TRUE(s.ForDoi);
    EXPECT_EQ(s.Problems.size(), 4u); // kaputt, ohneurl, leer, fehlt
    // An ISBN starting 979 has no ISBN-10: the source is skipped.
    EXPECT_EQ(SourceUrl(s.ForIsbn[0], ParseLookupId("9791034304400")), "");
    EXPECT_EQ(SourceUrl(s.ForIsbn[0], ParseLookupId("9780306406157")), "http://b/0306406152");
    EXPECT_EQ(SourceUrl(s.ForIsbn[1], ParseLookupId("9791034304400")), "http://a/9791034304400");
    // Without "Reihenfolge" every source is asked in file order; an empty
    // section asks none (and no built-in source).
    const LookupSources unordered = ReadLookupSources(std::vector<std::pair<std::string, std::string>>(section.begin(), section.begin() + 3));
    ASSERT_EQ(unordered.ForIsbn.size(), 2u);
    EXPECT_EQ(unordered.ForIsbn[0].Name, "eins");
    const LookupSources empty = ReadLookupSources(std::vector<std::pair<std::string, std::string>>{});
    EXPECT_TRUE(empty.ForIsbn.empty());
    EXPECT_FALSE(empty.ForDoi);
}

} // namespace
} // namespace folianto
