// Refusals of the operating system as numbers that read the same on every system: Linux's
// numbering, which the other systems' errors are mapped onto. 0 is no refusal.
#pragma once

#include <string_view>

namespace os {

inline constexpr int kNotPermitted = 1;
inline constexpr int kNoSuchFile = 2;
inline constexpr int kInputOutputError = 5;
inline constexpr int kBadFile = 9;
inline constexpr int kNoMemory = 12;
inline constexpr int kAccessDenied = 13;
inline constexpr int kBusy = 16;
inline constexpr int kExists = 17;
inline constexpr int kCrossDevice = 18;
inline constexpr int kNotAFolder = 20;
inline constexpr int kIsAFolder = 21;
inline constexpr int kInvalidArgument = 22;
inline constexpr int kTooManyOpenFiles = 24;
inline constexpr int kTextFileBusy = 26;
inline constexpr int kFileTooLarge = 27;
inline constexpr int kNoSpace = 28;
inline constexpr int kReadOnlyFileSystem = 30;
inline constexpr int kBrokenPipe = 32;
inline constexpr int kNameTooLong = 36;
inline constexpr int kFolderNotEmpty = 39;
inline constexpr int kTooManyLinks = 40;

// The system's own words for a refusal ("No such file or directory"); safe to keep: the text
// is never changed or freed.
std::string_view describe(int error);

// The outcome of a call: a refusal's number, or 0, and what it means.
struct Error {
  int number = 0;

  explicit operator bool() const { return number != 0; }
  std::string_view text() const { return describe(number); }
};

}  // namespace os
