#include "lookup/EditorLookup.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace folianto {
namespace {

// A found ISBN is a choice only when it names another book than the field's.
TEST(EditorLookup, OffersTheIsbnOnlyWhenItNamesAnotherBook)
{
    struct Case {
        const char* field;
        const char* found;
        bool offered;
    };
    const Case cases[] = {
        {"3-16-148410-X", "978-3-16-148410-0", false},
        {" 9783161484100 ", "978-3-16-148410-0", false},
        {"978-0-306-40615-7", "978-3-16-148410-0", true},
        {"vergriffen", "978-3-16-148410-0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        test::TestApp t;
        TitleEditorModel model{t.app};
        model.Values.ISBN = c.field;
        Reference found;
        found.Typ = model.Values.LiteraturTyp;
        found.Isbn = c.found;
        const std::vector<FieldOffer> offers = FillFromLookup(model, found);
        const bool offered = std::any_of(offers.begin(), offers.end(),
                                         [](const FieldOffer& o) { return o.Control == EditControl::ISBN_Edit; });
        EXPECT_EQ(offered, c.offered);
        EXPECT_EQ(model.Values.ISBN, c.field);
    }
}

} // namespace
} // namespace folianto
