// Text routines on fixed-length, blank-padded text. Positions are 1-based; "blank" is the
// space character only.
#pragma once

#include <charconv>
#include <cstddef>
#include <span>
#include <string_view>

namespace io {

// A number written shortest into a buffer of its own, for messages: the text stays valid as
// long as the NumberText lives and is not used for another number.
class NumberText {
 public:
  template <typename Number>
  std::string_view of(Number value) {
    const char* end = std::to_chars(digits_, digits_ + sizeof digits_, value).ptr;
    return {digits_, static_cast<std::size_t>(end - digits_)};
  }

 private:
  char digits_[32];
};

// 0 if the n characters are all blanks, else the position of the first non-blank.
constexpr int IFIRST(std::string_view text, int n) {
  for (int i = 0; i < n; ++i) {
    if (text[static_cast<std::size_t>(i)] != ' ') return i + 1;
  }
  return 0;
}

// 0 if the n characters are all blanks, else the position of the last non-blank. Long blank
// tails are skipped by probing a few fractions of the length first; the result is the same as
// a plain backward scan.
constexpr int ILAST(std::string_view text, int n) {
  constexpr float kProbes[] = {0.1F, 0.2F, 0.3F, 0.4F, 0.7F};
  auto all_blank_from = [&](int p) {
    for (int i = p; i <= n; ++i) {
      if (text[static_cast<std::size_t>(i - 1)] != ' ') return false;
    }
    return true;
  };
  int start = n;
  for (const float fraction : kProbes) {
    const double scaled = static_cast<double>(n) * static_cast<double>(fraction);
    const int p = static_cast<int>(scaled + 0.5);
    if (p > 1 && all_blank_from(p)) {
      start = p;
      break;
    }
  }
  for (int i = start; i >= 1; --i) {
    if (text[static_cast<std::size_t>(i - 1)] != ' ') return i;
  }
  return 0;
}

// Letters a to z of the n characters become A to Z; every other character stays.
constexpr void UPCASE(std::span<char> text, int n) {
  for (int i = 0; i < n; ++i) {
    char& c = text[static_cast<std::size_t>(i)];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

// The non-blank part of the text, from IFIRST to ILAST; empty when all blank.
constexpr std::string_view trimmed(std::string_view text) {
  const int n = static_cast<int>(text.size());
  const int first = IFIRST(text, n);
  if (first == 0) return {};
  return text.substr(static_cast<std::size_t>(first - 1),
                     static_cast<std::size_t>(ILAST(text, n) - first + 1));
}

// Builds a file name in place: the trimmed name followed by the m characters of the
// extension, cut to n characters and blank-padded; an all-blank name becomes the extension.
constexpr void ADDEXT(std::span<char> name, int n, std::string_view extension, int m) {
  const std::string_view base = trimmed(std::string_view(name.data(), static_cast<std::size_t>(n)));
  // The trimmed name only ever moves to the left, so it is moved in place.
  const auto from = static_cast<std::size_t>(base.data() - name.data());
  std::size_t length = base.size();
  for (std::size_t i = 0; i < length; ++i) name[i] = name[from + i];
  for (int i = 0; i < m && length < static_cast<std::size_t>(n); ++i) {
    name[length++] = extension[static_cast<std::size_t>(i)];
  }
  for (std::size_t i = length; i < static_cast<std::size_t>(n); ++i) name[i] = ' ';
}

}  // namespace io
