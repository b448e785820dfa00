// Files, the console and the identity of a file, as the rest of the program sees them: names
// are UTF-8 text, NUL-terminated; handles and identities are opaque.
#pragma once

#include <cstddef>
#include <cstdint>

#include "os/errors.hpp"

namespace os {

// An open file of the system (a descriptor or a handle).
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

FileHandle standard_input();
FileHandle standard_output();
FileHandle standard_error();

// Which file a name reaches, whatever the name: the same for every name and link of one file.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool known = false;

  bool same_as(const FileIdentity& other) const {
    return known && other.known && volume == other.volume && index == other.index;
  }
};

enum class FileKind { Regular, Folder, Other };

struct FileFacts {
  FileKind kind = FileKind::Other;
  FileIdentity identity;
};

// Whether the character separates folders in a name: '/' everywhere, '\\' too on Windows.
bool is_folder_separator(char c);

// What the file reached by `name` (links followed) or by an open handle is.
Error facts_of(const char* name, FileFacts& facts);
Error facts_of(FileHandle file, FileFacts& facts);

// Opens an existing file for reading, and says what it is; a folder is refused (kIsAFolder).
Error open_for_reading(const char* name, FileHandle& file, FileFacts& facts);

// Opens a file for writing from its start without emptying it, others still allowed to read
// and write it; creates it with the permissions a new file gets unless `must_exist`, and
// refuses an existing one when `must_not_exist`.
Error open_for_writing(const char* name, bool must_exist, bool must_not_exist, FileHandle& file);

// Whether the existing file may be opened for writing; nothing about it changes.
Error check_writable(const char* name);

// Cuts an open regular file to nothing.
Error empty_file(FileHandle file);

// A nameless temporary file for reading and writing, gone when the program ends.
Error open_scratch_file(FileHandle& file);

// Hands all `size` bytes to the file, or says why not.
Error write_all(FileHandle file, const char* data, std::size_t size);

// Reads what is at hand, at most `room` bytes, waiting for at least one; `got` 0 at the end.
Error read_some(FileHandle file, char* data, std::size_t room, std::size_t& got);

void close_file(FileHandle file);

// The console as this program needs it: lines written as given (a CR LF never becomes CR CR
// LF), a console that goes away a refused write rather than a silent end.
void prepare_console();

// Offers storage that is about to be filled whole to the system for huge pages, where it has
// them; false when it has not, or declined.
bool advise_huge_pages(void* start, std::size_t size);

}  // namespace os
