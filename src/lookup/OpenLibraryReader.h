#pragma once
// The JSON of Open Library's books API (jscmd=data): an object with one
// entry per asked key ("ISBN:..."), empty when the book is unknown.

#include "lookup/MarcReader.h"

#include <string>

namespace folianto {

SourceAnswer ReadOpenLibraryAnswer(const std::string& bytes);

// A CSL-JSON answer of a DOI resolver (an item or an array of items).
SourceAnswer ReadCslJsonAnswer(const std::string& bytes);

} // namespace folianto
