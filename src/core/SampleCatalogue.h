#pragma once
// A realistic generated catalogue for benchmarks, tests and demonstrations.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folianto {

class TitleStore;

// Appends `count` titles (as many as the store has room for). The same seed
// gives the same titles byte for byte.
void FillSampleCatalogue(TitleStore& store, int32_t count, uint64_t seed);

// A JPEG picture (libjpeg) of minBytes..maxBytes bytes, derived from `seed`.
std::vector<uint8_t> MakeSampleJpeg(uint64_t seed, std::size_t minBytes, std::size_t maxBytes);

} // namespace folianto
