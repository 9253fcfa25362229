#pragma once
// Shell sort with Knuth's gaps (1, 4, 13, 40, ...). An element moves past
// another only when that one is strictly greater; the grid order of equal
// keys is whatever this exact sequence of moves leaves behind.

#include <cstddef>
#include <utility>

namespace folianto {

template <class T, class Greater>
void ShellSort(T* a, std::size_t n, Greater greater)
{
    if (n < 2)
        return;
    std::size_t h = 1;
    while (h <= n)
        h = 3 * h + 1;
    do {
        h /= 3;
        for (std::size_t i = h; i < n; ++i) {
            T v = std::move(a[i]);
            std::size_t j = i;
            while (j >= h && greater(a[j - h], v)) {
                a[j] = std::move(a[j - h]);
                j -= h;
            }
            a[j] = std::move(v);
        }
    } while (h > 1);
}

} // namespace folianto
