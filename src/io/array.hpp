// A fixed-extent array indexed from 1, first index varying fastest: a(i), a(i, j), a(i, j, k).
// The storage is inside the object, so static instances need no allocation.
#pragma once

#include <array>
#include <cstddef>

namespace io {

template <typename T, int N1, int N2 = 1, int N3 = 1>
struct Array {
  static constexpr int kSize = N1 * N2 * N3;
  std::array<T, kSize> element{};

  constexpr T& operator()(int i, int j = 1, int k = 1) { return element[offset(i, j, k)]; }
  constexpr const T& operator()(int i, int j = 1, int k = 1) const {
    return element[offset(i, j, k)];
  }
  // Storage order pointer to element (i, j, k), for reading items straight into place.
  constexpr T* at(int i, int j = 1, int k = 1) { return element.data() + offset(i, j, k); }
  constexpr const T* at(int i, int j = 1, int k = 1) const {
    return element.data() + offset(i, j, k);
  }

  static constexpr std::size_t offset(int i, int j, int k) {
    return static_cast<std::size_t>((i - 1) + N1 * ((j - 1) + N2 * (k - 1)));
  }
};

}  // namespace io
