#include "exchange/CslBibliography.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"
#include "exchange/CslJson.h"
#include "platform/ReplacementFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cctype>
#include <memory>

namespace folianto {
namespace {

// Title, locale and parent sit at the top of a style; the rest is not read.
constexpr qint64 kStyleHead = 16 * 1024;
// Long enough for a catalogue of several ten thousand titles.
constexpr int kPandocTimeoutMs = 10 * 60 * 1000;
// One entry takes pandoc well under a second.
constexpr int kCitationTimeoutMs = 30 * 1000;
// How long the progress window waits between rounds of its events.
constexpr int kEventSliceMs = 30;

const char* const kPandocPackage = "„pandoc“";
const char* const kStylesPackage = "„citation-style-language-styles“";

std::string FileNameOf(const QString& path)
{
    return PathToCp1252(QFileInfo(path).completeBaseName());
}

bool LooksGerman(const CslStyle& s)
{
    if (s.Locale.rfind("de", 0) == 0)
        return true;
    // "-de-" inside a name is as often the Romance "of"; only a final "-de" names German.
    const std::string title = UpperAscii(s.Title);
    return (s.Name.size() > 3 && s.Name.compare(s.Name.size() - 3, 3, "-de") == 0) ||
           s.Name.rfind("din-", 0) == 0 || title.find("DEUTSCH") != std::string::npos ||
           title.find("GERMAN") != std::string::npos;
}

// The pandoc input of a bibliography: no text, every reference cited, the locale set.
std::string MarkdownFor(const CslStyle& style)
{
    return "---\nnocite: '@*'\nlang: " + (style.Locale.empty() ? std::string("de-DE") : style.Locale) +
           "\npagetitle: Literaturverzeichnis\n---\n";
}

// A note style sets a citation as a footnote; this filter, run after
// citeproc, puts the footnote's text where the citation stands.
const char* const kFootnoteInPlace = "function Note(n) return pandoc.utils.blocks_to_inlines(n.content) end\n";

bool StartsWithWord(const std::string& upper, const char* word)
{
    const std::size_t n = std::char_traits<char>::length(word);
    return upper.compare(0, n, word) == 0 && (upper.size() == n || upper[n] == ' ' || upper[n] == '.' ||
                                             (upper[n] >= '0' && upper[n] <= '9'));
}

std::string PandocFormatOf(BibFormat format)
{
    switch (format) {
    case BibFormat::Html: return "html5";
    case BibFormat::Odt: return "odt";
    case BibFormat::Docx: return "docx";
    case BibFormat::Rtf: return "rtf";
    case BibFormat::Txt: return "plain";
    }
    return "plain";
}

} // namespace

// A pandoc run prepared in its own temporary folder.
class PandocJob {
public:
    PandocJob(const std::vector<Reference>& references, const CslStyle& style, const std::string& format,
              bool standalone, const std::string& program, const CitationRequest* citation = nullptr)
        : program_(program), input_(citation ? CitationMarkdown(style, *citation) : MarkdownFor(style))
    {
        if (!dir_.isValid()) {
            error_ = Cp1252("Für pandoc konnte kein temporärer Ordner angelegt werden.");
            return;
        }
        const QString json = dir_.filePath(QStringLiteral("titel.json"));
        QFile file(json);
        const std::string bytes = WriteCslJsonForCiteproc(references);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
            !file.flush()) {
            error_ = Cp1252("Die Titel für pandoc konnten nicht in den temporären Ordner geschrieben werden.");
            return;
        }
        output_ = dir_.filePath(QStringLiteral("ausgabe"));
        args_ = {QStringLiteral("--from=markdown"), QStringLiteral("--to=") + QString::fromStdString(format),
                 QStringLiteral("--citeproc"), QStringLiteral("--csl=") + PathFromCp1252(style.Path),
                 QStringLiteral("--bibliography=") + json, QStringLiteral("--output=") + output_};
        if (citation && citation->InText) {
            const QString filter = dir_.filePath(QStringLiteral("fussnote.lua"));
            QFile lua(filter);
            if (!lua.open(QIODevice::WriteOnly) || lua.write(kFootnoteInPlace) < 0 || !lua.flush()) {
                error_ = Cp1252("Die Titel für pandoc konnten nicht in den temporären Ordner geschrieben werden.");
                return;
            }
            args_ << QStringLiteral("--lua-filter=") + filter;
        }
        if (standalone)
            args_ << QStringLiteral("--standalone");
        // Entries are never broken into lines of their own.
        args_ << QStringLiteral("--wrap=none");
    }

    ~PandocJob()
    {
        if (process_.state() != QProcess::NotRunning)
            stop();
    }
    PandocJob(const PandocJob&) = delete;
    PandocJob& operator=(const PandocJob&) = delete;

    void start()
    {
        if (!error_.empty())
            return;
        process_.setProgram(QString::fromStdString(program_));
        process_.setArguments(args_);
        process_.start();
        if (!process_.waitForStarted()) {
            error_ = NotStartedText();
            return;
        }
        process_.write(input_.data(), static_cast<qint64>(input_.size()));
        process_.closeWriteChannel();
    }

    // Looks without waiting.
    bool finished()
    {
        return !error_.empty() || process_.state() == QProcess::NotRunning || process_.waitForFinished(0);
    }

    // Waits for the end; the result's bytes are those of the output file.
    // A cancel in the progress window ends pandoc and drops its output.
    CiteprocResult finish(ProgressWindow* progress, int timeoutMs = kPandocTimeoutMs)
    {
        if (!error_.empty())
            return {{}, error_};
        QElapsedTimer timer;
        timer.start();
        while (!process_.waitForFinished(progress ? kEventSliceMs : 100)) {
            if (process_.state() == QProcess::NotRunning)
                break;
            if (progress) {
                progress->processEvents();
                if (progress->cancelled())
                    break;
            }
            if (timer.elapsed() > timeoutMs) {
                stop();
                const std::string waited = timeoutMs >= 60 * 1000 ? IntToStr(timeoutMs / 60000) + " Minuten"
                                                                  : IntToStr(timeoutMs / 1000) + " Sekunden";
                return {{}, "pandoc hat nach " + waited + " noch kein Ergebnis geliefert und wurde beendet."};
            }
        }
        // Also when pandoc ended in the same slice: the user asked for nothing.
        if (progress && progress->cancelled()) {
            stop();
            CiteprocResult cancelled;
            cancelled.Cancelled = true;
            return cancelled;
        }
        const std::string stderrText =
            Utf8ToCp1252(QString::fromUtf8(process_.readAllStandardError()).trimmed().left(1500).toStdString());
        if (process_.exitStatus() != QProcess::NormalExit)
            return {{}, Cp1252("pandoc ist abgestürzt.") + (stderrText.empty() ? "" : "\r\n" + stderrText)};
        if (process_.exitCode() != 0)
            return {{},
                    Cp1252("pandoc ist mit dem Status ") + IntToStr(process_.exitCode()) +
                        Cp1252(" gescheitert (Debian-Paket ") + Cp1252(kPandocPackage) + "):\r\n" + stderrText};
        QFile file(output_);
        if (!file.open(QIODevice::ReadOnly))
            return {{}, Cp1252("pandoc hat kein Ergebnis geschrieben.") + (stderrText.empty() ? "" : "\r\n" + stderrText)};
        const QByteArray bytes = file.readAll();
        return {std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), {}};
    }

private:
    void stop()
    {
        process_.kill();
        process_.waitForFinished();
    }

    std::string NotStartedText() const
    {
        if (process_.error() == QProcess::FailedToStart)
            return Cp1252("Das Programm pandoc (") + program_ +
                   Cp1252(") wurde nicht gefunden oder lässt sich nicht starten. Literaturverzeichnisse im "
                          "Zitierstil setzt pandoc: bitte das Debian-Paket ") +
                   Cp1252(kPandocPackage) + " installieren.";
        return Cp1252("pandoc ließ sich nicht starten: ") + Utf8ToCp1252(process_.errorString().toStdString());
    }

    QTemporaryDir dir_;
    QProcess process_;
    QStringList args_;
    QString output_;
    std::string program_;
    std::string input_;
    std::string error_;
};

std::string CslStylesFolder()
{
    return "/usr/share/citation-style-language/styles";
}

std::optional<CslStyle> ReadCslStyle(const std::string& path, const std::string& folder)
{
    QFile file(PathFromCp1252(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader xml(file.read(kStyleHead));
    CslStyle style;
    style.Path = path;
    style.Name = FileNameOf(file.fileName());
    bool isStyle = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            if (xml.isEndElement() && xml.name() == QLatin1String("info"))
                break;
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("style")) {
            isStyle = true;
            style.Locale = xml.attributes().value(QLatin1String("default-locale")).toString().toStdString();
        } else if (name == QLatin1String("title") && style.Title.empty()) {
            style.Title = ToCp1252(xml.readElementText().simplified());
        } else if (name == QLatin1String("link") &&
                   xml.attributes().value(QLatin1String("rel")) == QLatin1String("independent-parent")) {
            // pandoc would fetch the parent from the network; the package has it.
            const QString href = xml.attributes().value(QLatin1String("href")).toString();
            style.Path = PathToCp1252(QDir(PathFromCp1252(folder)).filePath(href.section(QLatin1Char('/'), -1) +
                                                                            QStringLiteral(".csl")));
        }
    }
    if (!isStyle)
        return std::nullopt;
    if (style.Title.empty())
        style.Title = style.Name;
    style.German = LooksGerman(style);
    return style;
}

std::vector<CslStyle> ListCslStyles(const std::string& folder)
{
    TraceScope trace("CslBibliography.ListCslStyles", folder);
    std::vector<CslStyle> styles;
    const QDir dir(PathFromCp1252(folder));
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.csl")}, QDir::Files, QDir::Name))
        if (std::optional<CslStyle> s = ReadCslStyle(PathToCp1252(info.filePath()), folder))
            styles.push_back(std::move(*s));
    std::sort(styles.begin(), styles.end(), [](const CslStyle& a, const CslStyle& b) {
        return FromCp1252(a.Title).compare(FromCp1252(b.Title), Qt::CaseInsensitive) < 0;
    });
    return styles;
}

CslStyleLookup FindCslStyle(const std::string& nameOrPath, const std::string& folder)
{
    TraceScope trace("CslBibliography.FindCslStyle", nameOrPath);
    const QString given = PathFromCp1252(nameOrPath);
    const bool isPath = given.contains(QLatin1Char('/')) || given.endsWith(QStringLiteral(".csl"), Qt::CaseInsensitive);
    std::vector<QString> candidates;
    if (isPath) {
        candidates.push_back(given);
    } else if (!given.isEmpty()) {
        const QDir dir(PathFromCp1252(folder));
        candidates.push_back(dir.filePath(given + QStringLiteral(".csl")));
        candidates.push_back(dir.filePath(QStringLiteral("dependent/") + given + QStringLiteral(".csl")));
    }
    for (const QString& c : candidates) {
        if (!QFileInfo(c).isFile())
            continue;
        std::optional<CslStyle> style = ReadCslStyle(PathToCp1252(c), folder);
        if (!style)
            return {std::nullopt, Cp1252("Die Datei „") + PathToCp1252(c) + Cp1252("“ ist kein CSL-Zitierstil.")};
        if (!QFileInfo(PathFromCp1252(style->Path)).isFile())
            return {std::nullopt, Cp1252("Der Zitierstil „") + nameOrPath + Cp1252("“ baut auf „") + style->Path +
                                      Cp1252("“ auf, und der fehlt. Die Zitierstile bringt das Debian-Paket ") +
                                      Cp1252(kStylesPackage) + " mit."};
        return {std::move(style), {}};
    }
    if (isPath)
        return {std::nullopt, Cp1252("Die Stildatei „") + nameOrPath + Cp1252("“ gibt es nicht.")};
    return {std::nullopt, Cp1252("Den Zitierstil „") + nameOrPath + Cp1252("“ gibt es nicht in ") + folder +
                              Cp1252(". Die Zitierstile bringt das Debian-Paket ") + Cp1252(kStylesPackage) +
                              Cp1252(" mit; ein eigener Stil wird als Pfad einer .csl-Datei angegeben.")};
}

std::optional<BibFormat> BibFormatOfPath(const std::string& path)
{
    const QString suffix = QFileInfo(PathFromCp1252(path)).suffix().toLower();
    for (BibFormat f : {BibFormat::Html, BibFormat::Odt, BibFormat::Docx, BibFormat::Rtf, BibFormat::Txt})
        if (suffix == QString::fromStdString(BibFormatExtension(f)))
            return f;
    if (suffix == QLatin1String("htm"))
        return BibFormat::Html;
    return std::nullopt;
}

std::string BibFormatExtension(BibFormat format)
{
    switch (format) {
    case BibFormat::Html: return "html";
    case BibFormat::Odt: return "odt";
    case BibFormat::Docx: return "docx";
    case BibFormat::Rtf: return "rtf";
    case BibFormat::Txt: return "txt";
    }
    return "txt";
}

std::string UnknownBibFormatText(const std::string& path)
{
    return Cp1252("Für „") + path +
           Cp1252("“ ist kein Format bekannt: ein Literaturverzeichnis wird als .html, .odt, .docx, .rtf oder .txt "
                  "geschrieben.");
}

std::string PandocProgram()
{
    const QByteArray chosen = qgetenv("FOLIANTO_PANDOC");
    if (!chosen.isEmpty())
        return PathToCp1252(QString::fromLocal8Bit(chosen));
    const QString found = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    return found.isEmpty() ? std::string("pandoc") : PathToCp1252(found);
}

CiteprocResult RunCiteproc(const std::vector<Reference>& references, const CslStyle& style,
                           const std::string& pandocFormat, bool standalone, const std::string& pandoc,
                           ProgressWindow* progress)
{
    TraceScope trace("CslBibliography.RunCiteproc", style.Name);
    PandocJob job(references, style, pandocFormat, standalone, pandoc);
    job.start();
    return job.finish(progress);
}

bool WriteBibliography(UserInteraction& ui, const std::vector<Reference>& references, const CslStyle& style,
                       const std::string& path, const std::string& pandoc)
{
    TraceScope trace("CslBibliography.WriteBibliography", path);
    const std::optional<BibFormat> format = BibFormatOfPath(path);
    if (!format) {
        ui.message(MsgKind::Error, UnknownBibFormatText(path), Buttons::Ok);
        return false;
    }
    CiteprocResult result;
    {
        const std::size_t count = references.size();
        const std::string text = "Das Literaturverzeichnis mit " + std::to_string(count) +
                                 (count == 1 ? " Titel" : " Titeln") + Cp1252(" wird im Stil „") + style.Title +
                                 Cp1252("“ gesetzt ...");
        std::unique_ptr<ProgressWindow> progress = ui.showCancellable("Literaturverzeichnis", text);
        result = RunCiteproc(references, style, PandocFormatOf(*format), true, pandoc, progress.get());
    }
    if (result.Cancelled)
        return false;
    if (!result.ok()) {
        ui.message(MsgKind::Error, result.Error, Buttons::Ok);
        return false;
    }
    if (*format == BibFormat::Txt) {
        // Plain text the way the other text exports write it: CR LF.
        std::string lines;
        for (char c : result.Bytes) {
            if (c == '\n' && (lines.empty() || lines.back() != '\r'))
                lines += '\r';
            lines += c;
        }
        result.Bytes = std::move(lines);
    }
    FileError why;
    if (!ReplaceFileContent(PathFromCp1252(path), result.Bytes.data(), result.Bytes.size(), why)) {
        ui.message(MsgKind::Error, WithReason(GetErrorText(9, path), why), Buttons::Ok);
        return false;
    }
    return true;
}

std::string PageLocator(const std::string& page)
{
    std::string p = CollapseBlanks(page);
    const std::string upper = UpperAscii(p);
    for (const char* label : {"SEITEN", "SEITE", "S.", "PP.", "P."})
        if (StartsWithWord(upper, label)) {
            p.erase(0, std::char_traits<char>::length(label));
            break;
        }
    return StripBlanks(p);
}

std::string CitationMarkdown(const CslStyle& style, const CitationRequest& request)
{
    if (!request.InText)
        return MarkdownFor(style);
    // Braces keep the whole page text one locator ("12 f." stays together);
    // every ASCII punctuation character is escaped so it is taken as text.
    std::string locator;
    for (char c : Cp1252ToUtf8(PageLocator(request.Page))) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        if (std::ispunct(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80)
            locator += '\\';
        locator += c;
    }
    return "---\nsuppress-bibliography: true\nlang: " +
           (style.Locale.empty() ? std::string("de-DE") : style.Locale) + "\npagetitle: Zitat\n---\n[@r1" +
           (locator.empty() ? std::string() : ", {" + locator + "}") + "]\n";
}

CitationText FormatCitation(const Reference& reference, const CslStyle& style, const std::string& pandoc,
                            const CitationRequest& request)
{
    TraceScope trace("CslBibliography.FormatCitation", style.Name);
    return CitationJob(reference, style, true, pandoc, request).result();
}

CitationJob::CitationJob(const Reference& reference, const CslStyle& style, bool withText, const std::string& pandoc,
                         const CitationRequest& request)
    : html_(std::make_unique<PandocJob>(std::vector<Reference>{reference}, style, "html5", false, pandoc, &request)),
      inText_(request.InText)
{
    html_->start();
    // Both forms at once: each run is mostly pandoc's start-up.
    if (withText) {
        text_ = std::make_unique<PandocJob>(std::vector<Reference>{reference}, style, "plain", false, pandoc,
                                            &request);
        text_->start();
    }
}

CitationJob::~CitationJob() = default;

bool CitationJob::finished()
{
    return html_->finished() && (!text_ || text_->finished());
}

CitationText CitationJob::result()
{
    const CiteprocResult h = html_->finish(nullptr, kCitationTimeoutMs);
    const CiteprocResult t = text_ ? text_->finish(nullptr, kCitationTimeoutMs) : CiteprocResult();
    CitationText out;
    out.Error = !h.ok() ? h.Error : t.Error;
    if (out.Error.empty()) {
        out.Html = h.Bytes;
        out.Text = QString::fromUtf8(t.Bytes.data(), static_cast<int>(t.Bytes.size())).trimmed().toStdString();
    }
    if (inText_) {
        // The citation goes into a sentence: no paragraph of its own.
        QString html = QString::fromUtf8(out.Html.data(), static_cast<int>(out.Html.size())).trimmed();
        if (html.startsWith(QStringLiteral("<p>")) && html.endsWith(QStringLiteral("</p>")) &&
            html.count(QStringLiteral("<p>")) == 1)
            html = html.mid(3, html.size() - 7);
        out.Html = html.toStdString();
    }
    return out;
}

} // namespace folianto
