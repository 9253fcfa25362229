#pragma once
// Where titles are looked up: the sources of the settings file's section
// Nachschlagen ("NAME=FORMAT|URL", "Reihenfolge=" the names tried for an
// ISBN, the source "doi" for DOIs), or the built-in ones when the section is
// missing.

#include "lookup/Identifier.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace folianto {

enum class SourceFormat { MarcXml, OpenLibrary, CslJson };

struct LookupSource {
    std::string Name;
    SourceFormat Format = SourceFormat::MarcXml;
    std::string Url; // with {isbn}, {isbn10} or {doi}
};

struct LookupSources {
    std::vector<LookupSource> ForIsbn; // in the order they are asked
    std::optional<LookupSource> ForDoi;
    std::vector<std::string> Problems; // lines that name no usable source, Windows-1252
};

// The section as the settings hold it; nothing: the built-in sources.
LookupSources ReadLookupSources(const std::optional<std::vector<std::pair<std::string, std::string>>>& section);

// The request address of the identifier; empty when the template needs what
// the identifier lacks (an ISBN-10 of an ISBN starting 979).
std::string SourceUrl(const LookupSource& source, const LookupId& id);

} // namespace folianto
