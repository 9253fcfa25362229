#include "exchange/BtParseAdapter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace folianto {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::string Repeat(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Conversions that read arguments nobody passed, should the reader ever
// use text of the file as a format again.
const std::string kFormats = Repeat("%s", 200);

// Values come back byte for byte, however the reader handles '%', line
// breaks and comments internally; an entry it cannot read fails alone.
TEST(BibParse, ValuesComeBackAsWrittenAndBrokenEntriesFailAlone)
{
    struct Case {
        const char* name;
        std::string text;
        Fields fields; // of the one entry taken; none: the entry is dropped
    };
    const Case cases[] = {
        {"percent in braces", "@book{a, title = {50% mehr}}", {{"title", "50% mehr"}}},
        {"entry in parentheses", "@book(a, title = {50% mehr})", {{"title", "50% mehr"}}},
        {"percent after a leading blank", "@book{a, title = { 50% mehr}}", {{"title", " 50% mehr"}}},
        {"percent in quotes, pasted", "@book{a, title = \"%d\" # {%n}}", {{"title", "%d%n"}}},
        {"percent from a macro", "@string{p = \"100%\"}\n@book{a, title = p # { sicher}}", {{"title", "100% sicher"}}},
        {"line break and indentation", "@book{a, title = {Zeile   \r\n     %-Zeichen}}", {{"title", "Zeile\n%-Zeichen"}}},
        {"escape byte itself", "@book{a, title = {x\xFEPy\xFE}}", {{"title", "x\xFEPy\xFE"}}},
        {"comment with quote and percent between fields",
         "@book{a,\n  % Ein \"Kommentar\" mit 5%\n  title = {x},\n  year = 2000 % noch einer\n}",
         {{"title", "x"}, {"year", "2000"}}},
        {"comment runs into the closing brace", "@book{a, title = {x} % Rest}", {}},
        {"formats as the unexpected value", "@book{a, title {" + kFormats + "}}", {}},
        {"formats as the key", "@book{{" + kFormats + "}, title = {x}}", {}},
        {"formats after a value", "@book{a, title = {x} \"" + kFormats + "\"}", {}},
        {"formats in a field name position", "@book{a, " + kFormats + " = {x}}", {}},
    };
    BibParseSession session;
    EXPECT_THROW(BibParseSession(), std::logic_error); // the reader's state is one per process
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BibParseResult result = session.Parse(c.text + "\n@misc{danach, note = {ok}}\n");
        ASSERT_EQ(result.Entries.size(), c.fields.empty() ? 1u : 2u);
        if (!c.fields.empty()) {
            EXPECT_EQ(result.Entries[0].Fields, c.fields);
        }
        EXPECT_EQ(result.Entries.back().Key, "danach");
        EXPECT_EQ(result.Entries.back().Fields, (Fields{{"note", "ok"}}));
    }
    EXPECT_TRUE(session.Parse("\f\v\n@misc{a, note = {x}}\n").Problems.empty()); // page breaks are blanks
    // A type that only starts with "comment", or is its start, is an entry: its '%' starts a comment.
    for (const char* type : {"commenta", "commentz", "commentA", "commentZ", "comment0", "comment9", "comment-x",
                             "comment_x", "comment:x", "comment.x", "comment+x", "comm"}) {
        SCOPED_TRACE(type);
        const BibParseResult result = session.Parse(std::string("@") + type + "{a, title = {x} % Rest\n}\n");
        ASSERT_EQ(result.Entries.size(), 1u);
        EXPECT_EQ(result.Entries[0].Fields, (Fields{{"title", "x"}}));
    }
}

} // namespace
} // namespace folianto
