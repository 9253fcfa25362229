// A process making changes is killed at random instants; a new process
// recovers exactly the changes completed before the kill.

#include "history/HistoryTestUtil.h"
#include "history/RecoveryJournal.h"

#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace folianto;
using folianto::test::FillStartCatalogue;
using folianto::test::HistoryWalk;
using folianto::test::RandomCommands;
using folianto::test::StoreImage;

namespace {

constexpr int kActions = 400;

// The actions of one run; `done(k)` after action k is complete.
template <class Done>
void Work(uint64_t seed, TitleStore& store, TitleHistory& history, Done done)
{
    RandomCommands commands(seed);
    HistoryWalk walk{{std::string()}};
    for (int k = 1; k <= kActions; ++k) {
        walk.Step(commands, store, history);
        done(k);
    }
}

} // namespace

TEST(RecoveryJournalDeathTest, KilledAtRandomInstantsRecoversTheLastCompletedChange)
{
    for (uint64_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        const test::RecoveryPlace place;
        const std::string& database = place.database;
        const std::string& folder = place.folder;
        // The state after every action, made here without any kill.
        std::vector<std::string> states;
        {
            TitleStore store;
            FillStartCatalogue(store);
            TitleHistory history(store);
            states.push_back(StoreImage(store));
            Work(seed, store, history, [&](int) { states.push_back(StoreImage(store)); });
        }

        int acks[2];
        ASSERT_EQ(::pipe(acks), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(acks[0]);
            TitleStore store;
            FillStartCatalogue(store);
            TitleHistory history(store);
            RecoveryJournal journal(store, folder);
            history.SetListener(&journal);
            journal.Follow(database);
            Work(seed, store, history, [&](int k) {
                if (::write(acks[1], &k, sizeof k) != sizeof k)
                    ::_exit(3);
            });
            for (;;)
                ::pause();
        }
        ::close(acks[1]);
        // The kill comes at a moment picked by the seed: after some
        // acknowledged change, a little later, wherever the child then is.
        RandomCommands pick(seed * 977);
        const int killAfter = 1 + pick.Below(kActions - 50);
        int completed = 0;
        while (completed < killAfter && ::read(acks[0], &completed, sizeof completed) == sizeof completed)
            ;
        std::this_thread::sleep_for(std::chrono::microseconds(pick.Below(300)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        for (int k; ::read(acks[0], &k, sizeof k) == sizeof k;)
            completed = k;
        ::close(acks[0]);

        TitleStore store;
        FillStartCatalogue(store);
        RecoveryJournal journal(store, folder);
        const std::optional<RecoveryInfo> info = journal.Find(database);
        if (info && info->changes > 0) {
            EXPECT_TRUE(info->matches);
            EXPECT_TRUE(journal.Recover(*info));
        }
        // The action under way at the kill may have been written whole
        // before its acknowledgement.
        const std::string recovered = StoreImage(store);
        const bool exact = recovered == states[static_cast<std::size_t>(completed)] ||
                           (completed < kActions && recovered == states[static_cast<std::size_t>(completed + 1)]);
        EXPECT_TRUE(exact) << "completed " << completed << " of " << kActions;
    }
}
