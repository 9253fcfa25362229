// A bibliography of 10,000 titles in a citation style: one run of pandoc
// beside Folianto's own share of the same export (the references, their
// CSL-JSON, reading pandoc's result back and writing the file). The own share
// should stay within 5% of pandoc's time.

#include "application/App.h"
#include "core/Codec.h"
#include "core/SampleCatalogue.h"
#include "exchange/CslBibliography.h"
#include "exchange/ReferenceExchange.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace folianto;

struct Bibliography {
    QTemporaryDir dir;
    SilentUserInteraction user;
    NullPlatform platform;
    App app{user, platform};
    std::vector<int32_t> titles;
    std::optional<CslStyle> style = FindCslStyle("din-1505-2").Style;
    std::string result; // pandoc's document for the titles, once it has run

    Bibliography()
    {
        FillSampleCatalogue(app.store, 10000, 2024);
        for (int32_t i = 1; i <= app.store.AnzBuch; ++i)
            titles.push_back(i);
    }
    std::string File(const char* name) const { return PathToCp1252(dir.filePath(QString::fromLatin1(name))); }

    bool RunPandoc()
    {
        const CiteprocResult r = RunCiteproc(ReferencesOfTitles(app, titles), *style, "html5", true);
        result = r.Bytes;
        return r.ok();
    }
};

Bibliography& Shared()
{
    static Bibliography bibliography;
    return bibliography;
}

bool Write(const std::string& path, const std::string& bytes)
{
    QFile file(PathFromCp1252(path));
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

// pandoc's run, including the CSL-JSON it reads (a small part of it).
void PandocSetsTenThousandTitles(benchmark::State& state)
{
    Bibliography& b = Shared();
    if (!b.style) {
        state.SkipWithError("the CSL styles are not installed");
        return;
    }
    for (auto _ : state)
        if (!b.RunPandoc())
            state.SkipWithError("pandoc failed");
}

// The whole export with a stand-in for pandoc that only copies pandoc's
// earlier result to its output: what is left is Folianto's share, plus the
// start of a shell.
void OwnShareOfTenThousandTitles(benchmark::State& state)
{
    Bibliography& b = Shared();
    if (!b.style || (b.result.empty() && !b.RunPandoc())) {
        state.SkipWithError("pandoc or the CSL styles are not installed");
        return;
    }
    const std::string done = b.File("gesetzt.html");
    const std::string copier = b.File("kopierer");
    if (!Write(done, b.result) ||
        !Write(copier, "#!/bin/sh\nfor a; do case \"$a\" in --output=*) out=\"${a#--output=}\";; esac; done\n"
                       "exec cp '" + done + "' \"$out\"\n") ||
        !QFile::setPermissions(PathFromCp1252(copier), QFile::ReadOwner | QFile::ExeOwner)) {
        state.SkipWithError("no stand-in for pandoc");
        return;
    }
    const std::string out = b.File("verzeichnis.html");
    for (auto _ : state)
        if (!WriteBibliography(b.user, ReferencesOfTitles(b.app, b.titles), *b.style, out, copier))
            state.SkipWithError("export failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * b.result.size()));
}

// pandoc's start alone: an empty document, no citations.
void PandocStartsAlone(benchmark::State& state)
{
    const QString pandoc = PathFromCp1252(PandocProgram());
    for (auto _ : state) {
        QProcess process;
        process.start(pandoc, {QStringLiteral("--from=markdown"), QStringLiteral("--to=html5")});
        process.closeWriteChannel();
        if (!process.waitForFinished() || process.exitCode() != 0)
            state.SkipWithError("pandoc failed");
    }
}

// The preview of one title: pandoc's HTML of it.
void PreviewOfOneTitle(benchmark::State& state, const char* styleName)
{
    Bibliography& b = Shared();
    const std::optional<CslStyle> style = FindCslStyle(styleName).Style;
    if (!style) {
        state.SkipWithError("the CSL styles are not installed");
        return;
    }
    const Reference title = ReferencesOfTitles(b.app, {1}).front();
    for (auto _ : state)
        if (!CitationJob(title, *style, false).result().Error.empty())
            state.SkipWithError("pandoc failed");
}

} // namespace

BENCHMARK(PandocStartsAlone)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PreviewOfOneTitle, din, "din-1505-2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PreviewOfOneTitle, apa, "apa")->Unit(benchmark::kMillisecond);
BENCHMARK(PandocSetsTenThousandTitles)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OwnShareOfTenThousandTitles)->Unit(benchmark::kMillisecond);
