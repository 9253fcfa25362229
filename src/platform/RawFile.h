#pragma once
// Whole-file writes that are safe inside a signal handler: no allocation,
// no locks, only open/write/close.

#include <cstddef>

namespace folianto {

struct ByteRange {
    const void* data;
    std::size_t size;
};

// Creates or truncates the file at `nativePath` (local file-name bytes) and
// writes the ranges in order. False on any error; a partial file may remain.
bool WriteWholeFile(const char* nativePath, const ByteRange* ranges, std::size_t count) noexcept;

} // namespace folianto
