#include "lookup/LookupSources.h"

#include "core/Codec.h"
#include "core/Text.h"

#include <QUrl>

namespace folianto {
namespace {

const std::pair<const char*, const char*> kDefaults[] = {
    {"dnb", "marcxml|https://services.dnb.de/sru/dnb?version=1.1&operation=searchRetrieve&query=num%3D{isbn}"
            "&recordSchema=MARC21-xml"},
    {"k10plus", "marcxml|https://sru.k10plus.de/opac-de-627?version=1.1&operation=searchRetrieve"
                "&query=pica.isb%3D{isbn}&recordSchema=marcxml"},
    {"loc", "marcxml|http://lx2.loc.gov:210/LCDB?version=1.1&operation=searchRetrieve&query=bath.isbn%3D{isbn}"
            "&recordSchema=marcxml"},
    {"openlibrary", "openlibrary|https://openlibrary.org/api/books?bibkeys=ISBN:{isbn}&format=json&jscmd=data"},
    {"doi", "csljson|https://doi.org/{doi}"},
};

std::optional<SourceFormat> FormatOf(const std::string& name)
{
    const std::string n = UpperAscii(StripBlanks(name));
    if (n == "MARCXML")
        return SourceFormat::MarcXml;
    if (n == "OPENLIBRARY")
        return SourceFormat::OpenLibrary;
    if (n == "CSLJSON")
        return SourceFormat::CslJson;
    return std::nullopt;
}

void Replace(std::string& s, const std::string& what, const std::string& with)
{
    for (std::size_t pos = 0; (pos = s.find(what, pos)) != std::string::npos; pos += with.size())
        s.replace(pos, what.size(), with);
}

} // namespace

LookupSources ReadLookupSources(const std::optional<std::vector<std::pair<std::string, std::string>>>& section)
{
    std::vector<std::pair<std::string, std::string>> entries;
    if (section)
        entries = *section;
    else
        for (const auto& [name, value] : kDefaults)
            entries.emplace_back(name, value);

    LookupSources out;
    std::vector<LookupSource> all;
    std::optional<std::string> order;
    for (const auto& [key, value] : entries) {
        const std::string name = StripBlanks(key);
        if (UpperAscii(name) == "REIHENFOLGE") {
            order = value;
            continue;
        }
        const std::size_t bar = value.find('|');
        const std::optional<SourceFormat> format = FormatOf(value.substr(0, bar));
        if (bar == std::string::npos || !format || StripBlanks(value.substr(bar + 1)).empty()) {
            out.Problems.push_back(Cp1252("Quelle ") + name + Cp1252(": erwartet FORMAT|URL mit FORMAT marcxml, "
                                                                     "openlibrary oder csljson"));
            continue;
        }
        LookupSource source{name, *format, StripBlanks(value.substr(bar + 1))};
        if (UpperAscii(name) == "DOI")
            out.ForDoi = source;
        else
            all.push_back(std::move(source));
    }
    if (!order) {
        out.ForIsbn = all;
        return out;
    }
    std::size_t pos = 0;
    while (pos <= order->size()) {
        std::size_t comma = order->find(',', pos);
        if (comma == std::string::npos)
            comma = order->size();
        const std::string name = StripBlanks(order->substr(pos, comma - pos));
        pos = comma + 1;
        if (name.empty())
            continue;
        bool known = false;
        for (const LookupSource& s : all)
            if (UpperAscii(s.Name) == UpperAscii(name)) {
                out.ForIsbn.push_back(s);
                known = true;
                break;
            }
        if (!known)
            out.Problems.push_back(Cp1252("Reihenfolge nennt die unbekannte Quelle ") + name);
    }
    return out;
}

std::string SourceUrl(const LookupSource& source, const LookupId& id)
{
    std::string url = source.Url;
    if (url.find("{isbn10}") != std::string::npos && id.Isbn10.empty())
        return {};
    if (url.find("{doi}") != std::string::npos && id.Doi.empty())
        return {};
    if (url.find("{isbn}") != std::string::npos && id.Isbn13.empty())
        return {};
    Replace(url, "{isbn10}", id.Isbn10);
    Replace(url, "{isbn}", id.Isbn13);
    // The slash stays: resolvers take the DOI as a path.
    const QByteArray doi = QUrl::toPercentEncoding(QString::fromUtf8(Cp1252ToUtf8(id.Doi).c_str()), "/");
    Replace(url, "{doi}", doi.toStdString());
    return url;
}

} // namespace folianto
