#include "exchange/CslDialogModel.h"

#include "workspace/Workspace.h"
#include "config/IniFile.h"
#include "core/Codec.h"
#include "core/Trace.h"
#include "exchange/ReferenceExchange.h"
#include "exchange/TextExport.h"
#include "selection/Selection.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace folianto {
namespace {

constexpr BibFormat kFormats[] = {BibFormat::Html, BibFormat::Odt, BibFormat::Docx, BibFormat::Rtf, BibFormat::Txt};
const char* const kFormatCaptions[] = {"HTML-Datei (*.html)", "OpenDocument-Text (*.odt)", "Word-Dokument (*.docx)",
                                       "RTF-Datei (*.rtf)", "Textdatei (*.txt)"};
constexpr int kFormatCount = 5;

bool IsPath(const std::string& nameOrPath)
{
    return nameOrPath.find('/') != std::string::npos || nameOrPath.find('\\') != std::string::npos;
}

const char* const kSection = "Zitierstil";

} // namespace

CslChoice ReadCslChoice(const IniFile& ini)
{
    CslChoice choice;
    choice.Style = ini.ReadString(kSection, "Stil", choice.Style);
    choice.Format = ini.ReadString(kSection, "Format", choice.Format);
    choice.Folder = ini.ReadString(kSection, "Ordner", choice.Folder);
    choice.CiteInText = ini.ReadString(kSection, "Zitat", "Text") != "Eintrag";
    return choice;
}

void WriteCslChoice(IniFile& ini, const CslChoice& choice)
{
    ini.WriteString(kSection, "Stil", choice.Style);
    ini.WriteString(kSection, "Format", choice.Format);
    ini.WriteString(kSection, "Ordner", choice.Folder);
    ini.WriteString(kSection, "Zitat", choice.CiteInText ? "Text" : "Eintrag");
}

CslDialogModel::CslDialogModel(Workspace& ws, CslChoice& choice, std::vector<CslStyle> styles, std::string pandoc)
    : ws_(ws), choice_(choice), styles_(std::move(styles)), pandoc_(std::move(pandoc))
{
    TraceScope trace("CslDialogModel.Create");
    GetCurrentBuch(ws_);
    folder_ = choice_.Folder;
    citation_.InText = choice_.CiteInText;
    for (int i = 0; i < kFormatCount; ++i)
        if (choice_.Format == BibFormatExtension(kFormats[i]))
            format_ = i;
    if (IsPath(choice_.Style)) {
        const CslStyleLookup own = FindCslStyle(choice_.Style);
        if (own.Style) {
            own_ = own.Style;
            ownPath_ = choice_.Style;
        }
    } else {
        for (const CslStyle& style : styles_)
            if (style.Name == choice_.Style)
                chosen_ = &style;
    }
    refilter(false);
}

void CslDialogModel::setSearch(const std::string& text)
{
    search_ = text;
    refilter(true);
}

void CslDialogModel::setGermanFirst(bool germanFirst)
{
    germanFirst_ = germanFirst;
    refilter(false);
}

void CslDialogModel::refilter(bool search)
{
    const QStringList words = FromCp1252(search_).toUpper().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    shown_.clear();
    for (const CslStyle& style : styles_) {
        const QString hay = FromCp1252(style.Title + " " + style.Name).toUpper();
        bool all = true;
        for (const QString& w : words)
            all = all && hay.contains(w);
        if (all)
            shown_.push_back(&style);
    }
    if (germanFirst_)
        std::stable_partition(shown_.begin(), shown_.end(), [](const CslStyle* s) { return s->German; });
    // An own file stays chosen, with no row selected, until the user searches the list.
    if (own_ && !search) {
        current_ = -1;
        return;
    }
    // The selection is always a shown style: the chosen one where it still
    // shows, else the first hit. A search that shows nothing selects nothing
    // but keeps the chosen style for when it shows again.
    const auto kept = std::find(shown_.begin(), shown_.end(), chosen_);
    if (kept != shown_.end()) {
        current_ = static_cast<int>(kept - shown_.begin());
    } else if (!shown_.empty()) {
        current_ = 0;
        chosen_ = shown_.front();
    } else {
        current_ = -1;
    }
    if (current_ >= 0) {
        own_.reset();
        ownPath_.clear();
    }
}

void CslDialogModel::setCurrentRow(int row)
{
    current_ = row >= 0 && row < static_cast<int>(shown_.size()) ? row : -1;
    if (current_ >= 0) {
        chosen_ = shown_[static_cast<std::size_t>(current_)];
        own_.reset();
        ownPath_.clear();
    }
}

bool CslDialogModel::chooseOwnFile(const std::string& path)
{
    TraceScope trace("CslDialogModel.ChooseOwnFile", path);
    const CslStyleLookup found = FindCslStyle(path);
    if (!found.Style) {
        ws_.ui.message(MsgKind::Error, found.Error, Buttons::Ok);
        return false;
    }
    own_ = found.Style;
    ownPath_ = path;
    current_ = -1;
    return true;
}

bool CslDialogModel::askOwnFile()
{
    FileDialogSpec dialog;
    dialog.filter = "CSL-Zitierstile (*.csl)|*.csl|Alle Dateien (*.*)|*.*";
    dialog.defaultExt = "csl";
    dialog.mustExist = true;
    const std::optional<std::string> path = ws_.ui.openFile(dialog);
    return path && chooseOwnFile(*path);
}

std::optional<CslStyle> CslDialogModel::chosenStyle() const
{
    if (own_)
        return own_;
    if (current_ >= 0)
        return *shown_[static_cast<std::size_t>(current_)];
    return std::nullopt;
}

std::vector<std::string> CslDialogModel::CitationCaptions()
{
    return {"Eintrag im Literaturverzeichnis", "Zitat im Text"};
}

CitationText CslDialogModel::citationForClipboard() const
{
    TraceScope trace("CslDialogModel.Citation");
    const std::string why = whyNoPreview();
    if (!why.empty())
        return {{}, {}, why};
    return FormatCitation(ReferenceOfTitle(*currentTitle()), *chosenStyle(), pandoc_, citation_);
}

std::vector<std::string> CslDialogModel::FormatCaptions()
{
    return {std::begin(kFormatCaptions), std::end(kFormatCaptions)};
}

void CslDialogModel::setFormatIndex(int index)
{
    if (index >= 0 && index < kFormatCount)
        format_ = index;
}

const TBuch* CslDialogModel::currentTitle() const
{
    return ws_.store.ActBuch <= ws_.store.AnzBuch ? ws_.store.at(ws_.store.ActBuch) : nullptr;
}

std::string CslDialogModel::whyNoPreview() const
{
    if (!chosenStyle())
        return Cp1252("Kein Zitierstil gewählt.");
    if (!currentTitle())
        return Cp1252("Kein Titel gewählt.");
    return {};
}

CitationText CslDialogModel::previewCurrentTitle() const
{
    TraceScope trace("CslDialogModel.Preview");
    const std::string why = whyNoPreview();
    if (!why.empty())
        return {{}, {}, why};
    return FormatCitation(ReferenceOfTitle(*currentTitle()), *chosenStyle(), pandoc_);
}

std::unique_ptr<CitationJob> CslDialogModel::startPreview(std::string& error) const
{
    TraceScope trace("CslDialogModel.StartPreview");
    error = whyNoPreview();
    if (!error.empty())
        return nullptr;
    return std::make_unique<CitationJob>(ReferenceOfTitle(*currentTitle()), *chosenStyle(), false, pandoc_);
}

bool CslDialogModel::exportBibliography()
{
    TraceScope trace("CslDialogModel.Export");
    const std::optional<CslStyle> style = chosenStyle();
    if (!style) {
        ws_.ui.message(MsgKind::Warning, Cp1252("Bitte zuerst einen Zitierstil wählen."), Buttons::Ok);
        return false;
    }
    // The chosen format first, the others after it.
    FileDialogSpec dialog;
    const std::string ext = BibFormatExtension(kFormats[format_]);
    dialog.filter = std::string(kFormatCaptions[format_]) + "|*." + ext;
    for (int i = 0; i < kFormatCount; ++i)
        if (i != format_)
            dialog.filter += std::string("|") + kFormatCaptions[i] + "|*." + BibFormatExtension(kFormats[i]);
    dialog.defaultExt = ext;
    dialog.initialPath = (folder_.empty() ? std::string() : folder_ + "/") + "Literaturverzeichnis." + ext;
    const std::optional<ExportTarget> target = AskExportTarget(ws_, dialog);
    if (!target)
        return false;
    if (target->Titles.empty()) {
        ws_.ui.message(MsgKind::Warning, Cp1252("Es sind keine Titel für das Literaturverzeichnis ausgewählt."),
                        Buttons::Ok);
        return false;
    }
    if (!WriteBibliography(ws_.ui, ReferencesOfTitles(ws_, target->Titles), *style, target->Path, pandoc_))
        return false;
    folder_ = PathToCp1252(QFileInfo(PathFromCp1252(target->Path)).absolutePath());
    for (int i = 0; i < kFormatCount; ++i)
        if (BibFormatOfPath(target->Path) == kFormats[i])
            format_ = i;
    remember();
    ws_.Inform(MsgKind::Information, "Export in " + target->Path + " beendet!");
    return true;
}

void CslDialogModel::remember()
{
    if (own_)
        choice_.Style = ownPath_;
    else if (current_ >= 0)
        choice_.Style = chosen_->Name;
    choice_.CiteInText = citation_.InText;
    choice_.Format = BibFormatExtension(kFormats[format_]);
    choice_.Folder = folder_;
}

} // namespace folianto
