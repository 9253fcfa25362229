#pragma once
// Bibliographies in a citation style: the installed CSL styles, and pandoc's
// citeproc run as a process on the references as CSL-JSON. Texts and paths
// are Windows-1252 like everywhere in the logic; formatted entries are UTF-8.

#include "exchange/Reference.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

class ProgressWindow;
class UserInteraction;

struct CslStyle {
    std::string Name;   // file name without ".csl"
    std::string Title;  // the style's <title>
    std::string Path;   // the file pandoc gets (the parent of a dependent style)
    std::string Locale; // the style's default-locale, empty when it sets none
    bool German = false;
};

// Where the Debian package puts the styles.
std::string CslStylesFolder();

// The style in the file: title, locale and, for a dependent style, the file of
// its parent in `folder`. Nothing when the file is no CSL style.
std::optional<CslStyle> ReadCslStyle(const std::string& path, const std::string& folder = CslStylesFolder());

// The independent styles of the folder, sorted by title.
std::vector<CslStyle> ListCslStyles(const std::string& folder = CslStylesFolder());

// A style by file name without ".csl" (also one of the dependent styles) or
// by the path of a .csl file. On failure the German message naming the cause.
struct CslStyleLookup {
    std::optional<CslStyle> Style;
    std::string Error;
};
CslStyleLookup FindCslStyle(const std::string& nameOrPath, const std::string& folder = CslStylesFolder());

// The output formats by file extension.
enum class BibFormat { Html, Odt, Docx, Rtf, Txt };
std::optional<BibFormat> BibFormatOfPath(const std::string& path);
std::string BibFormatExtension(BibFormat format); // "html", "odt", ...
// The message for a file whose extension names no format.
std::string UnknownBibFormatText(const std::string& path);

// The pandoc program: $FOLIANTO_PANDOC when set, else "pandoc" from PATH.
std::string PandocProgram();

struct CiteprocResult {
    std::string Bytes;      // the document (UTF-8 for the text formats)
    std::string Error;      // German message; empty on success
    bool Cancelled = false; // the user stopped pandoc; no bytes, no error
    bool ok() const { return Error.empty() && !Cancelled; }
};

// Formats the references with the style into `pandocFormat` ("html5",
// "plain", "odt", ...); a standalone document or, without `standalone`, the
// bare entries. The locale is the style's own, else de-DE. `progress`, when
// given, keeps its window responsive while pandoc runs, and its cancel ends
// pandoc.
CiteprocResult RunCiteproc(const std::vector<Reference>& references, const CslStyle& style,
                           const std::string& pandocFormat, bool standalone, const std::string& pandoc = PandocProgram(),
                           ProgressWindow* progress = nullptr);

// Writes the bibliography in the format of the path's extension, showing a
// progress window that can be cancelled. The file appears complete or not at
// all. False after the error message, or silently when cancelled.
bool WriteBibliography(UserInteraction& ui, const std::vector<Reference>& references, const CslStyle& style,
                       const std::string& path, const std::string& pandoc = PandocProgram());

// One entry as plain text and as HTML (UTF-8), for the preview and the
// clipboard.
struct CitationText {
    std::string Text;
    std::string Html;
    std::string Error;
};
// What a writer pastes: the full entry of the bibliography, or the citation in
// the running text ("(Assmann 2013, S. 12)", "[1]", a note style's footnote
// text) with an optional page.
struct CitationRequest {
    bool InText = false;
    std::string Page; // Windows-1252: "12", "S. 12-14", "xii f."; empty for none
};
// The page as citeproc's locator: without a leading "S.", "Seite(n)", "p." or
// "pp."; empty when nothing else is left.
std::string PageLocator(const std::string& page);
// The input pandoc gets for a citation of the reference r1 (UTF-8 markdown).
std::string CitationMarkdown(const CslStyle& style, const CitationRequest& request);
CitationText FormatCitation(const Reference& reference, const CslStyle& style,
                            const std::string& pandoc = PandocProgram(), const CitationRequest& request = {});

class PandocJob;

// One entry set by pandoc while the caller goes on: HTML, and with
// `withText` plain text too. A pandoc still working when the job goes is
// stopped.
class CitationJob {
public:
    CitationJob(const Reference& reference, const CslStyle& style, bool withText,
                const std::string& pandoc = PandocProgram(), const CitationRequest& request = {});
    ~CitationJob();
    CitationJob(const CitationJob&) = delete;
    CitationJob& operator=(const CitationJob&) = delete;

    bool finished(); // without waiting
    CitationText result(); // waits where pandoc has not finished

private:
    std::unique_ptr<PandocJob> html_;
    std::unique_ptr<PandocJob> text_;
    bool inText_ = false;
};

} // namespace folianto
