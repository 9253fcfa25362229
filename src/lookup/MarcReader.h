#pragma once
// The answer of an SRU searchRetrieve request holding MARC 21 XML records,
// mapped to references.

#include "exchange/Reference.h"

#include <QString>

#include <string>
#include <vector>

namespace folianto {

// What a source answered.
struct SourceAnswer {
    enum class Kind { Found, NotFound, Failed };
    Kind kind = Kind::Failed;
    std::vector<Reference> Editions; // Found: one per record
    std::string Reason;              // Failed: why, Windows-1252
};

// Network text to the record's text: composed, non-sorting marks (U+0098,
// U+009C) dropped, blanks collapsed; characters the code page lacks kept
// as references.
std::string RecordText(const QString& text);

// An SRU answer: its records, none ("numberOfRecords" 0), or a failure for a
// diagnostic or an answer that is no SRU answer.
SourceAnswer ReadSruMarcAnswer(const std::string& bytes);

} // namespace folianto
