// Cost of one trace line (entry/exit lines of every routine): the ring must
// take a line in constant time, without moving the other 254 slots.

#include "core/UserInteraction.h"
#include "diag/TraceLog.h"

#include <benchmark/benchmark.h>

namespace {

class SilentUser : public folianto::UserInteraction {
public:
    folianto::Answer message(folianto::MsgKind, const std::string&, folianto::Buttons) override
    {
        return folianto::Answer::Ok;
    }
    std::optional<std::string> openFile(const folianto::FileDialogSpec&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const folianto::FileDialogSpec&) override { return std::nullopt; }
    std::unique_ptr<folianto::ProgressWindow> showWait(const std::string&) override
    {
        return std::make_unique<folianto::NullProgressWindow>();
    }
    std::unique_ptr<folianto::ProgressWindow> showProgress(const std::string&, const std::string&) override
    {
        return std::make_unique<folianto::NullProgressWindow>();
    }
    void setClipboardText(const std::string&) override {}
    void setBusyCursor(bool) override {}
    bool startDocument(const std::string&) override { return false; }
};

void BM_TraceScopeLines(benchmark::State& state)
{
    SilentUser ui;
    folianto::TraceLog log;
    log.Start("", ui);
    log.WriteMasterAlways = 2;
    folianto::InstallTraceSink(&log);
    for (auto _ : state) {
        folianto::TraceScope trace("Buch.NewBuch");
    }
    folianto::InstallTraceSink(nullptr);
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_TraceScopeLines);

} // namespace
