// Short keys while 10,000 titles are imported: every title of one author gets
// a generated key, or its taken key a free variant.

#include "editor/ShortKeys.h"
#include "shell/App.h"

#include <benchmark/benchmark.h>

namespace {

class NoUser : public folianto::UserInteraction {
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

class NoPlatform : public folianto::Platform {
public:
    bool IsNetworkDrive(const std::string&) override { return false; }
    std::string MacAddress() override { return {}; }
    std::optional<double> FileLastWriteTime(const std::string&) override { return std::nullopt; }
    std::string ProgramPath() override { return "/nonexistent/Folianto"; }
    std::string UserName() override { return {}; }
    std::string ComputerName() override { return {}; }
    std::string IpAddress() override { return {}; }
    std::string ProgramVersion() override { return "0.0.0.0"; }
    std::string TempDir() override { return "/tmp"; }
};

void BM_ImportGeneratedKeys(benchmark::State& state)
{
    const auto titles = static_cast<int>(state.range(0));
    for (auto _ : state) {
        NoUser ui;
        NoPlatform platform;
        folianto::App app(ui, platform);
        for (int i = 0; i < titles; ++i) {
            app.store.NewBuch();
            app.store.ActBuch = app.store.AnzBuch;
            app.store.current()->Autor.Text = "Schmidt, Anna";
            folianto::Kuerzel_erzeugen(app);
        }
        benchmark::DoNotOptimize(app.store.current()->Kuerzel.Text);
    }
}
BENCHMARK(BM_ImportGeneratedKeys)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportTakenKeys(benchmark::State& state)
{
    const auto titles = static_cast<int>(state.range(0));
    for (auto _ : state) {
        NoUser ui;
        NoPlatform platform;
        folianto::App app(ui, platform);
        for (int i = 0; i < titles; ++i) {
            app.store.NewBuch();
            folianto::TBuch& b = *app.store.at(app.store.AnzBuch);
            b.Kuerzel.Text = "Sch001";
            b.Kuerzel.Text = folianto::MakeUniqueKuerzel(app, app.store.AnzBuch);
        }
        benchmark::DoNotOptimize(app.store.current());
    }
}
BENCHMARK(BM_ImportTakenKeys)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
