#pragma once
// "Literaturverzeichnis im Zitierstil...": the styles by title with a search,
// a user's own .csl file, the output format, the preview of the current title
// and the export of the shown (or the marked) titles.

#include "exchange/CslBibliography.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

struct Workspace;
class IniFile;

// What the dialog remembers in the settings file, section "Zitierstil": the
// style (name, or path of a .csl file), the file extension, the folder, and
// whether the clipboard gets the citation in the text or the full entry.
struct CslChoice {
    std::string Style = "din-1505-2";
    std::string Format = "odt";
    std::string Folder;
    bool CiteInText = true;
};
CslChoice ReadCslChoice(const IniFile& ini);
void WriteCslChoice(IniFile& ini, const CslChoice& choice);

class CslDialogModel {
public:
    // The styles are handed in so that tests choose their own.
    CslDialogModel(Workspace& ws, CslChoice& choice, std::vector<CslStyle> styles, std::string pandoc = PandocProgram());

    // Styles whose title or file name holds every word of the search (any
    // case); German ones first when `germanFirst`. Afterwards the current row
    // is a shown style: the chosen one where it still shows, else the first
    // hit, which becomes the chosen style; none when nothing shows.
    void setSearch(const std::string& text);
    void setGermanFirst(bool germanFirst);
    bool germanFirst() const { return germanFirst_; }
    const std::vector<const CslStyle*>& shown() const { return shown_; }
    int currentRow() const { return current_; } // -1: none
    void setCurrentRow(int row);

    // A .csl file of the user's; it becomes the chosen style. False after the
    // message when it is no style.
    bool chooseOwnFile(const std::string& path);
    // The open dialog for it; true when a style was chosen.
    bool askOwnFile();
    const std::string& ownPath() const { return ownPath_; }
    // The own file when one was chosen last, else the current row's style;
    // nothing while the list shows no style selected.
    std::optional<CslStyle> chosenStyle() const;

    // "Zitat in die Zwischenablage": the citation in the running text with
    // an optional page, or the full entry.
    bool citeInText() const { return citation_.InText; }
    void setCiteInText(bool inText) { citation_.InText = inText; }
    const std::string& page() const { return citation_.Page; }
    void setPage(const std::string& page) { citation_.Page = page; }
    static std::vector<std::string> CitationCaptions(); // in the order of citeInText false, true
    // The current title cited as chosen, as plain text and HTML (UTF-8).
    CitationText citationForClipboard() const;

    // The output formats as the dialog lists them, and the chosen one.
    static std::vector<std::string> FormatCaptions();
    int formatIndex() const { return format_; }
    void setFormatIndex(int index);

    // The current title's entry in the chosen style (UTF-8), or the reason
    // there is none.
    CitationText previewCurrentTitle() const;
    // The same as HTML only, set while the caller goes on; the reason in
    // `error` when no job starts.
    std::unique_ptr<CitationJob> startPreview(std::string& error) const;

    // The save dialog, the overwrite and the rows question, then the file.
    // True when it was written.
    bool exportBibliography();

    // Style, format and folder into the choice.
    void remember();

private:
    // `search`: the user searched, so a style of the list is chosen even
    // over an own file.
    void refilter(bool search);
    const TBuch* currentTitle() const;
    std::string whyNoPreview() const; // empty when there is a style and a title

    Workspace& ws_;
    CslChoice& choice_;
    std::vector<CslStyle> styles_;
    std::string pandoc_;
    std::string search_;
    bool germanFirst_ = true;
    std::vector<const CslStyle*> shown_;
    int current_ = -1;
    const CslStyle* chosen_ = nullptr; // into styles_
    std::optional<CslStyle> own_;
    std::string ownPath_; // as the user chose it
    int format_ = 1;
    std::string folder_;
    CitationRequest citation_;
};

} // namespace folianto
