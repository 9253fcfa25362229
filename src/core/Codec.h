#pragma once
// The one place where Windows-1252 bytes meet Unicode.

#include <QString>
#include <string>
#include <string_view>

namespace folianto {

QString FromCp1252(std::string_view bytes);
// Characters without a Windows-1252 code become '?'.
std::string ToCp1252(const QString& text);

// A message or literal written as UTF-8 in the source, as Windows-1252 bytes:
// Cp1252("Titel gelöscht") keeps the code readable.
std::string Cp1252(const char* utf8);

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int Cp1252Byte(char32_t codePoint);

std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(const std::string& utf8);

// True when every byte is also a Latin-1 character (0x80..0x9F are not).
bool IsLatin1Compatible(const std::string& bytes);

// File names: Windows-1252 text to a local path and back.
QString PathFromCp1252(const std::string& path);
std::string PathToCp1252(const QString& path);

} // namespace folianto
