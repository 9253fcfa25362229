#include "exchange/Reference.h"

#include "core/Buch.h"
#include "core/Text.h"

namespace folianto {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& s)
{
    std::size_t a = 0;
    std::size_t b = s.size();
    while (a < b && IsBlank(s[a]))
        ++a;
    while (b > a && IsBlank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

} // namespace

std::vector<std::string> SplitListText(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find(separator, pos);
        if (end == std::string::npos)
            end = text.size();
        std::string part = Trimmed(text.substr(pos, end - pos));
        if (!part.empty())
            parts.push_back(std::move(part));
        pos = end + 1;
    }
    return parts;
}

std::string JoinListText(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty())
            out += separator;
        out += p;
    }
    return out;
}

std::string CollapseBlanks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string NormaliseLineBreaks(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return Trimmed(out);
}

int32_t LeadingNumber(const std::string& text)
{
    int64_t value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        if (value > INT32_MAX)
            return -1;
        ++digits;
    }
    return digits == 0 ? -1 : static_cast<int32_t>(value);
}

Reference ReferenceOfTitle(const TBuch& b)
{
    Reference r;
    const int32_t typ = b.TypNum & ~LinkFlag;
    r.Typ = typ >= 0 && typ < TypCount ? typ : 8;
    r.Key = b.Kuerzel.Text;
    r.Authors = SplitListText(b.Autor.Text, ';');
    r.Editors = SplitListText(b.Herausgeber.Text, ';');
    r.Keywords = SplitListText(b.Schlagworte.Text, ';');
    r.Title = b.Titel.Text;
    r.Subtitle = b.AltTitel.Text;
    r.Year = !b.Jahr.Text.empty() ? b.Jahr.Text : b.JahrNum > 0 ? IntToStr(b.JahrNum) : std::string();
    r.Publisher = b.Verlag.Text;
    r.Address = b.Ort.Text;
    r.Reihe = b.Reihe.Text;
    r.Volume = b.Band.Text;
    r.Number = b.HeftNr.Text;
    r.Pages = b.Seiten.Text;
    r.Edition = b.Auflage > 0 ? IntToStr(b.Auflage) : std::string();
    r.Isbn = b.ISBN.Text;
    r.Abstract = b.Inhalt.Text;
    r.Note = b.Bemerkung.Text;
    r.Language = b.Sprache.Text;
    r.OrigTitle = b.OrigTitel.Text;
    r.Medium = b.Medium.Text;
    r.Extent = b.Laenge.Text;
    if (b.TypNum & LinkFlag)
        r.Url = b.Quelle.Text;
    return r;
}

void StoreReference(const Reference& r, TBuch& b)
{
    b.TypNum = (r.Typ >= 0 && r.Typ < TypCount ? r.Typ : 8) | (r.Url.empty() ? 0 : LinkFlag);
    b.Quelle.Text = r.Url;
    b.Autor.Text = JoinListText(r.Authors, "; ");
    b.Herausgeber.Text = JoinListText(r.Editors, "; ");
    b.Schlagworte.Text = JoinListText(r.Keywords, ";");
    b.Titel.Text = r.Title;
    b.AltTitel.Text = r.Subtitle;
    b.Jahr.Text = r.Year;
    const int32_t year = LeadingNumber(r.Year);
    b.JahrNum = year > 0 ? year : -1;
    b.Verlag.Text = r.Publisher;
    b.Ort.Text = r.Address;
    b.Reihe.Text = r.Reihe;
    b.Band.Text = r.Volume;
    b.HeftNr.Text = r.Number;
    b.Seiten.Text = r.Pages;
    const int32_t edition = LeadingNumber(r.Edition);
    b.Auflage = edition > 0 ? edition : -1;
    b.ISBN.Text = r.Isbn;
    b.Inhalt.Text = r.Abstract;
    b.Bemerkung.Text = r.Note;
    b.Sprache.Text = r.Language;
    b.OrigTitel.Text = r.OrigTitle;
    b.Medium.Text = r.Medium;
    b.Laenge.Text = r.Extent;
}

} // namespace folianto
