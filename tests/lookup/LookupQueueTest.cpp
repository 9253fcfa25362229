// The queue of the look-up window, driven without a display.

#include "lookup/LookupQueue.h"
#include "lookup/LookupTestServer.h"
#include "support/Fakes.h"

#include <set>

namespace folianto {
namespace {

using State = LookupQueue::State;
using test::LookupTestServer;

class LookupQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureCoreApplication();
        // 20 known titles, 5 failing ISBNs; every other ISBN is unknown.
        using A = LookupTestServer::Answer;
        for (int i = 0; i < 20; ++i)
            server.on("%3D" + test::MakeIsbn13(i), A::Of(test::SruRecord(test::MakeIsbn13(i), "Titel " + std::to_string(i))));
        for (int i = 40; i < 45; ++i)
            server.on("%3D" + test::MakeIsbn13(i), A::Status(500));
        // Answers that name another ISBN: one of the catalogue, one found already.
        for (const auto& [asked, named] : {std::pair{45, 30}, {46, 0}})
            server.on("%3D" + test::MakeIsbn13(asked), A::Of(test::SruRecord(test::MakeIsbn13(named), "Nochmal")));
        server.on("/sru", A::Of("<searchRetrieveResponse><numberOfRecords>0</numberOfRecords></searchRetrieveResponse>"));
        // Five titles of the catalogue, their ISBNs written with hyphens.
        for (int i = 30; i < 35; ++i) {
            ASSERT_TRUE(t.app.store.NewBuch());
            t.app.store.ActBuch = t.app.store.AnzBuch;
            const std::string isbn = test::MakeIsbn13(i);
            t.app.store.current()->ISBN.Text = isbn.substr(0, 3) + "-" + isbn.substr(3);
            t.app.store.current()->Kuerzel.Text = "K" + std::to_string(i);
        }
        t.app.settings.Nachschlagen = std::vector<std::pair<std::string, std::string>>{
            {"sru", "marcxml|" + server.url("/sru?query=num%3D{isbn}")}};
    }

    // 50 lines: 20 found, 10 unknown, 5 in the catalogue, 5 with a wrong
    // check digit, 5 failing, 5 repeating a found one as its ISBN-10.
    std::string FiftyLines() const
    {
        std::string text;
        for (int i = 0; i < 20; ++i)
            text += test::MakeIsbn13(i) + "\n";
        for (int i = 20; i < 30; ++i)
            text += test::MakeIsbn13(i) + "\r\n";
        for (int i = 30; i < 35; ++i)
            text += test::MakeIsbn13(i) + "\n";
        for (int i = 35; i < 40; ++i) {
            std::string wrong = test::MakeIsbn13(i);
            wrong.back() = wrong.back() == '9' ? '0' : static_cast<char>(wrong.back() + 1);
            text += wrong + "\n";
        }
        for (int i = 40; i < 45; ++i)
            text += test::MakeIsbn13(i) + "\n";
        for (int i = 0; i < 5; ++i)
            text += ParseLookupId(test::MakeIsbn13(i)).Isbn10 + "\n";
        return text;
    }

    test::TestApp t;
    LookupTestServer server;
};

TEST_F(LookupQueueTest, FiftyIdentifiersBecomeOneStep)
{
    LookupQueue queue(t.app, ReadLookupSources(t.app.settings.Nachschlagen));
    queue.client().setMinIntervalMs(20);
    EXPECT_EQ(queue.add(FiftyLines() + test::MakeIsbn13(45) + "\n" + test::MakeIsbn13(46)), 47);
    EXPECT_TRUE(queue.busy());
    ASSERT_TRUE(test::WaitFor([&] { return !queue.busy(); }, 60000));
    EXPECT_EQ(std::tuple(queue.countIn(State::Found), queue.countIn(State::NotFound), queue.countIn(State::InCatalogue),
                         queue.countIn(State::Failed), queue.countIn(State::InList)),
              std::tuple(20, 10, 6, 10, 1));
    EXPECT_EQ(queue.StateText(0), "gefunden: Titel 0");
    EXPECT_EQ(queue.StateText(40), "Fehler: sru: HTTP 500");
    EXPECT_EQ(queue.StateText(45), "bereits im Katalog");
    EXPECT_EQ(queue.StateText(46), "bereits in der Liste");
    // No request for what was refused or is in the catalogue; the rate kept.
    const std::vector<LookupTestServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 37u);
    const auto& sent = queue.client().requestLog();
    for (std::size_t i = 1; i < sent.size(); ++i)
        EXPECT_GE(sent[i].second - sent[i - 1].second, 20);
    // Arrivals jitter on a busy machine; their span does not.
    EXPECT_GE(requests.back().ms - requests.front().ms, 33 * 20);

    // A title entered since the answers came is not taken again.
    ASSERT_TRUE(t.app.store.NewBuch());
    t.app.store.at(t.app.store.AnzBuch)->ISBN.Text = test::MakeIsbn13(19);
    EXPECT_EQ(queue.TakeOver(), 19);
    EXPECT_EQ(queue.StateText(19), "bereits im Katalog");
    EXPECT_EQ(t.app.store.AnzBuch, 25);
    std::set<std::string> keys, isbns;
    for (int32_t i = 7; i <= 25; ++i) {
        keys.insert(t.app.store.at(i)->Kuerzel.Text);
        isbns.insert(t.app.store.at(i)->ISBN.Text);
    }
    EXPECT_EQ(std::tuple(keys.size(), isbns.size(), t.app.store.at(7)->Kuerzel.Text), std::tuple(19u, 19u, "Aut001"));
    EXPECT_FALSE(t.app.store.Gesichert());
    EXPECT_EQ(queue.TakeOver(), 0);
    EXPECT_EQ(t.app.store.AnzBuch, 25);
    // The not-found and failed identifiers can be copied out.
    const std::string notFound = queue.NotFoundText();
    EXPECT_NE(notFound.find(test::MakeIsbn13(20) + "\r\n"), std::string::npos);
    EXPECT_NE(notFound.find(test::MakeIsbn13(44) + "\r\n"), std::string::npos);
    EXPECT_EQ(notFound.find(test::MakeIsbn13(0)), std::string::npos);

    ASSERT_TRUE(t.app.titleHistory.Undo());
    EXPECT_EQ(t.app.store.AnzBuch, 6);
    EXPECT_FALSE(t.app.titleHistory.CanUndo());
}

TEST_F(LookupQueueTest, CancelInTheMiddleLeavesTheCatalogue)
{
    LookupQueue queue(t.app, ReadLookupSources(t.app.settings.Nachschlagen));
    queue.client().setMinIntervalMs(20);
    queue.add(FiftyLines());
    // One identifier at a time is being looked up, also after a second paste.
    EXPECT_EQ(queue.add(test::MakeIsbn13(21)), 0);
    EXPECT_EQ(queue.countIn(State::Searching), 1);
    ASSERT_TRUE(test::WaitFor([&] { return queue.countIn(State::Found) >= 1; }));
    EXPECT_EQ(queue.countIn(State::Searching), 1);
    ASSERT_TRUE(test::WaitFor([&] { return queue.countIn(State::Found) >= 5; }));
    queue.cancel();
    const std::size_t asked = server.requests().size();
    EXPECT_FALSE(queue.busy());
    EXPECT_GT(queue.countIn(State::Cancelled), 20);
    EXPECT_EQ(queue.countIn(State::Waiting) + queue.countIn(State::Searching), 0);
    test::WaitFor([] { return false; }, 200);
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_EQ(t.app.store.AnzBuch, 5);
    EXPECT_FALSE(t.app.titleHistory.CanUndo());
    // Every found title entered meanwhile: none taken, the catalogue not marked changed.
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(t.app.store.NewBuch());
        t.app.store.at(t.app.store.AnzBuch)->ISBN.Text = test::MakeIsbn13(i);
    }
    t.app.store.MarkSaved();
    EXPECT_EQ(queue.TakeOver(), 0);
    EXPECT_TRUE(t.app.store.Gesichert());
    // A full catalogue takes no looked-up title.
    while (t.app.store.NewBuch()) {
    }
    EXPECT_FALSE(AppendLookedUpTitle(t.app, Reference{}));
}

} // namespace
} // namespace folianto
