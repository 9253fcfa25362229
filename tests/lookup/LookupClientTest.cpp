// The client against a local server that answers as the sources do:
// correctly, with errors, too much, or not at all.

#include "exchange/ExchangeTestUtil.h"
#include "lookup/LookupClient.h"
#include "lookup/LookupTestServer.h"

namespace folianto {
namespace {

using test::LookupTestServer;
using State = LookupOutcome::State;

class LookupClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureCoreApplication();
        using A = LookupTestServer::Answer;
        const auto fixture = [](const char* name) { return test::ReadFixture("lookup", name); };
        server.on("/one/", A::Of(fixture("sru-one-edition.xml")));
        server.on("/zero/", A::Of(fixture("sru-zero-records.xml")));
        server.on("/diag/", A::Of(fixture("sru-diagnostic.xml")));
        A html = A::Of(fixture("error-page.html"), "text/html");
        server.on("/html/", html);
        html.status = 400;
        server.on("/e400/", html);
        server.on("/ol/", A::Of(fixture("openlibrary-one.json"), "application/json"));
        server.on("/doi/10.1000/xyz123", A::Of(fixture("doi-csl.json"), "application/vnd.citationstyles.csl+json"));
        LookupTestServer::Answer silent;
        silent.silent = true;
        server.on("/silent/", silent);
        LookupTestServer::Answer big;
        big.announcedBytes = 50LL * 1024 * 1024;
        big.body = "<searchRetrieveResponse>";
        server.on("/big/", big);
        LookupTestServer::Answer stream;
        stream.unsizedBytes = 1LL << 40; // ends long after any limit: only a cut-off ends it in time
        server.on("/stream/", stream);
    }

    // Sources "name=FORMAT|/path/" on the server, in the given order.
    LookupSources Sources(const std::vector<std::pair<std::string, std::string>>& list)
    {
        std::vector<std::pair<std::string, std::string>> section;
        for (const auto& [name, entry] : list) {
            const std::size_t bar = entry.find('|');
            section.emplace_back(name, entry.substr(0, bar + 1) + server.url(entry.substr(bar + 1)));
        }
        return ReadLookupSources(section);
    }

    LookupOutcome Run(LookupClient& client, const std::string& id)
    {
        LookupOutcome outcome;
        bool done = false;
        client.lookUp(ParseLookupId(id), [&](const LookupOutcome& o) {
            outcome = o;
            done = true;
        });
        EXPECT_TRUE(test::WaitFor([&] { return done; }));
        return outcome;
    }

    LookupTestServer server;
};

TEST_F(LookupClientTest, AsksTheSourcesInOrderUntilOneKnowsTheTitle)
{
    const qint64 oneBytes = static_cast<qint64>(test::ReadFixture("lookup", "sru-one-edition.xml").size());
    const struct {
        std::vector<std::pair<std::string, std::string>> sources;
        const char* id;
        State state;
        const char* source;
        const char* failures;
        qint64 maxBytes = 0; // 0: the client's own limit
    } cases[] = {
        {{{"a", "marcxml|/e400/{isbn}"}, {"b", "marcxml|/one/{isbn}"}}, "3-16-148410-X", State::Found, "b",
         "a: HTTP 400"},
        // An ISBN-13 of 979 has no ISBN-10: that source is not asked.
        {{{"a", "openlibrary|/ol/{isbn10}"}, {"b", "marcxml|/one/{isbn}"}}, "9791034304400", State::Found, "b", ""},
        {{{"a", "marcxml|/zero/{isbn}"}, {"b", "openlibrary|/ol/{isbn10}"}}, "9780306406157", State::Found, "b", ""},
        {{{"a", "marcxml|/diag/{isbn}"}, {"b", "marcxml|/zero/{isbn}"}}, "3-16-148410-X", State::NotFound, "",
         "a: SRU-Diagnose: num=: Query syntax error; Unsupported operation"},
        {{{"a", "marcxml|/html/{isbn}"}}, "3-16-148410-X", State::Failed, "", "a: Antwort ist keine SRU-Antwort"},
        {{{"a", "marcxml|/silent/{isbn}"}, {"b", "marcxml|/one/{isbn}"}}, "3-16-148410-X", State::Found, "b",
         "a: keine Antwort in 1 s"},
        {{{"a", "marcxml|/big/{isbn}"}, {"b", "marcxml|/stream/{isbn}"}}, "3-16-148410-X", State::Failed, "",
         "a: Antwort zu gro\xDF; b: Antwort zu gro\xDF"},
        {{{"a", "marcxml|/one/{isbn}"}}, "3-16-148410-X", State::Found, "a", "", oneBytes},
        {{{"a", "marcxml|/one/{isbn}"}}, "3-16-148410-X", State::Failed, "", "a: Antwort zu gro\xDF", oneBytes - 1},
        {{{"a", "marcxml|/one/{isbn}"}, {"doi", "csljson|/doi/{doi}"}}, "https://doi.org/10.1000/xyz123", State::Found,
         "doi", ""},
        {{{"doi", "csljson|/doi/{doi}"}}, "doi:10.1000/unknown", State::NotFound, "", ""},
        {{{"a", "marcxml|/one/{isbn}"}}, "10.1000/xyz123", State::Failed, "",
         "keine Quelle \"doi\" in [Nachschlagen]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        LookupClient client(Sources(c.sources));
        client.setTimeoutMs(300);
        client.setMinIntervalMs(0);
        if (c.maxBytes > 0)
            client.setMaxBytes(c.maxBytes);
        const LookupOutcome o = Run(client, c.id);
        EXPECT_EQ(std::tuple(o.state, o.Source, o.FailureText(), o.Editions.empty()),
                  std::tuple(c.state, c.source, c.failures, c.state != State::Found));
        if (!o.Editions.empty()) {
            EXPECT_EQ(o.Editions.front().Isbn.empty(), ParseLookupId(c.id).kind == LookupId::Kind::Doi);
        }
    }
    for (const LookupTestServer::Request& r : server.requests()) {
        EXPECT_EQ(r.userAgent.rfind("Folianto/", 0), 0u) << r.target;
        if (r.target.find("/doi/") != std::string::npos) {
            EXPECT_EQ(r.accept, "application/vnd.citationstyles.csl+json");
        }
    }
}

// The client's own limit is far longer than any test waits.
TEST(LookupClient, NoAnswerReasonNamesTheWholeSeconds)
{
    EXPECT_EQ(NoAnswerReason(15000), "keine Antwort in 15 s");
    EXPECT_EQ(NoAnswerReason(2999), "keine Antwort in 2 s");
}

TEST_F(LookupClientTest, KeepsOneRequestPerSourcePerInterval)
{
    LookupClient client(Sources({{"a", "marcxml|/zero/{isbn}"}, {"b", "marcxml|/zero/{isbn}"}}));
    client.setMinIntervalMs(150);
    int done = 0;
    for (int i = 0; i < 4; ++i)
        client.lookUp(ParseLookupId(test::MakeIsbn13(i)), [&](const LookupOutcome&) { ++done; });
    ASSERT_TRUE(test::WaitFor([&] { return done == 4; }));
    std::map<std::string, qint64> last;
    ASSERT_EQ(client.requestLog().size(), 8u);
    for (const auto& [name, ms] : client.requestLog()) {
        if (last.count(name) != 0) {
            EXPECT_GE(ms - last[name], 150) << name;
        }
        last[name] = ms;
    }

    // A source still silent when its interval has passed is not asked again.
    server.on(test::MakeIsbn13(0), LookupTestServer::Answer::Of(test::ReadFixture("lookup", "sru-zero-records.xml")));
    LookupTestServer::Answer silent;
    silent.silent = true;
    server.on(test::MakeIsbn13(1), silent);
    LookupClient slow(Sources({{"q", "marcxml|/q/{isbn}"}}));
    slow.setMinIntervalMs(100);
    slow.setTimeoutMs(400);
    for (int i = 0; i < 2; ++i)
        slow.lookUp(ParseLookupId(test::MakeIsbn13(i)), [&](const LookupOutcome&) { ++done; });
    ASSERT_TRUE(test::WaitFor([&] { return done == 6; }));
    EXPECT_EQ(slow.requestLog().size(), 2u);
}

TEST_F(LookupClientTest, CancelStopsAtOnce)
{
    LookupClient client(Sources({{"a", "marcxml|/silent/{isbn}"}}));
    bool called = false;
    client.lookUp(ParseLookupId("3-16-148410-X"), [&](const LookupOutcome&) { called = true; });
    client.lookUp(ParseLookupId("9780306406157"), [&](const LookupOutcome&) { called = true; });
    ASSERT_TRUE(test::WaitFor([&] { return server.requests().size() == 1; }));
    client.cancel();
    EXPECT_FALSE(client.busy());
    test::WaitFor([] { return false; }, 300);
    EXPECT_FALSE(called);
    EXPECT_EQ(server.requests().size(), 1u);
}

} // namespace
} // namespace folianto
