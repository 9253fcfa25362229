#pragma once
// Export of the shown titles to a .bib file (UTF-8).

#include "exchange/Reference.h"

#include <string>
#include <vector>

namespace folianto {

struct Workspace;

// The entry type a reference is written as.
std::string BibTexEntryType(const Reference& r);

// A short key as a BibTeX citation key: letters, digits and "-_:./+" only,
// umlauts spelled out, accents dropped; "titel" when nothing is left.
std::string BibTexKey(const std::string& kuerzel);

// The whole file: one entry per reference, keys unique in the file (a..z
// compared as A..Z), CR LF line ends.
std::string WriteBibTex(const std::vector<Reference>& references);

// "in BibTeX-Datei": the export questions, then the file. True when written.
bool ExportToBibTex(Workspace& ws);

} // namespace folianto
