#pragma once
// The one place where Windows-1252 bytes meet Unicode.
//
// A character the code page has no byte for is kept in the bytes as a decimal
// numeric character reference ("&#322;" for ł). An '&' that would otherwise
// start such a reference is written "&#38;", so the bytes decode back to the
// very text they came from; text without references keeps its bytes as before.

#include <QString>
#include <string>
#include <string_view>

namespace folianto {

QString FromCp1252(std::string_view bytes);
// Lossless: characters without a Windows-1252 code become references.
std::string ToCp1252(const QString& text);

// A message or literal written as UTF-8 in the source, as Windows-1252 bytes:
// Cp1252("Titel gelöscht") keeps the code readable.
std::string Cp1252(const char* utf8);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int Cp1252Byte(char32_t codePoint);

std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(const std::string& utf8);

// The reference starting at bytes[pos] ("&#<digits>;" naming a valid code
// point): its code point and length, or a length of 0.
struct CharReference {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
CharReference ReferenceAt(std::string_view bytes, std::size_t pos);

// True when the bytes hold a character reference.
bool HasReference(std::string_view bytes);

// Lists in a field are split at ';', which also ends every reference: these
// find the separators only.
bool IsListSeparator(std::string_view bytes, std::size_t pos);
std::size_t FindListSeparator(std::string_view bytes, std::size_t from = 0);
std::size_t RFindListSeparator(std::string_view bytes);

// True when `pos` lies inside a reference, so that a match of a search
// there would take part of a character.
bool SplitsReference(std::string_view bytes, std::size_t pos);

// The first `maxBytes` bytes, shortened so that no reference is cut in two.
std::string CutCp1252(const std::string& bytes, std::size_t maxBytes);

// The code page's byte of the letter a character is based on (Č gives C,
// ł gives l), or -1.
int BaseLetter(char32_t codePoint);

// For sort keys: each reference becomes the base letter of its character
// ("&#268;" of Č sorts as C) where it has one in the code page; characters of
// other scripts sort after all others, by code point.
std::string FoldReferences(std::string bytes);

// True when every character is also a Latin-1 character (0x80..0x9F and
// references are not).
bool IsLatin1Compatible(const std::string& bytes);

// File names: Windows-1252 text (with references) to a local path and back.
QString PathFromCp1252(const std::string& path);
std::string PathToCp1252(const QString& path);

} // namespace folianto
