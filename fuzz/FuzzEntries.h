#pragma once
// What each fuzz target does with one input, shared with the test that
// replays the seed corpora and crash inputs in the normal test run. Each
// returns false when a property of the result does not hold; the fuzz
// targets end the process then.

#include <cstddef>
#include <cstdint>

namespace folianto::fuzz {

// A database file (header format or older records); the last byte, when
// odd, makes the load a merge into one title.
bool LoadDatabase(const uint8_t* data, std::size_t size);
// A settings file: read, written into and read again.
bool ReadSettingsFile(const uint8_t* data, std::size_t size);
// Byte 0 the delimiter, byte 1 option bits, the next 35 bytes the import
// positions, the rest the lines of a text import.
bool ImportLines(const uint8_t* data, std::size_t size);
// A compound file, or a workbook stream that is packed into one first.
bool ReadWorkbook(const uint8_t* data, std::size_t size);
// Byte 0 the picture format and whether a thumbnail is asked for, the rest
// the picture file.
bool DecodePictureFile(const uint8_t* data, std::size_t size);
// Byte 0 odd: the rest is a recovery file as it stands; even: the rest holds
// changes, each a 16-bit length and its bytes, framed and checksummed here so
// that their content is what is tried. Replayed onto a small catalogue.
bool ReplayRecoveryFile(const uint8_t* data, std::size_t size);
// Byte 0 even: the rest is a BibTeX file, odd: a RIS file. Every reference
// and problem names a line of it, no more entries are taken or dropped than
// it could hold, and the store grows by exactly the titles taken.
bool ReadReferences(const uint8_t* data, std::size_t size);

// An SRU answer with MARC 21 XML records.
bool ReadSruAnswer(const uint8_t* data, std::size_t size);
// The JSON of the Open Library books API.
bool ReadOpenLibraryJson(const uint8_t* data, std::size_t size);

} // namespace folianto::fuzz
