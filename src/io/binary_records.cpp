#include "io/binary_records.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>

#include "io/units.hpp"
#include "os/files.hpp"

namespace io {

// Items are copied byte for byte into native numbers.
static_assert(std::endian::native == std::endian::little,
              "binary records hold little-endian numbers");

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kMaxNameLength = 4096;
constexpr std::size_t kMaxBinaryFiles = 2;

constexpr std::string_view kIllegalStructure = "illegal structure for unformatted file";
constexpr std::string_view kTooManyBytes = "too many bytes read from unformatted record";
constexpr std::string_view kEndOfFileText = "end of file encountered";

struct BinaryFile {
  int unit = 0;
  os::FileHandle file = os::kNoFile;
  std::array<char, kMaxNameLength + 1> name{};  // NUL-terminated for the opening
  std::size_t name_length = 0;

  std::size_t position = 0;  // next unread byte of the buffer
  std::size_t filled = 0;    // bytes of the buffer holding file data

  bool first_byte_checked = false;
  bool block_open = false;      // false at the start of every record
  std::uint8_t lead = 0;        // leading byte of the open block
  std::size_t block_left = 0;   // data bytes still unread in the open block

  std::string_view structure_hint;

  bool connected() const { return file != os::kNoFile; }
  std::string_view file_name() const { return {name.data(), name_length}; }
};

std::array<BinaryFile, kMaxBinaryFiles> files;
char buffers[kMaxBinaryFiles][kBufferSize];

char* buffer_of(const BinaryFile& file) {
  return buffers[static_cast<std::size_t>(&file - files.data())];
}

BinaryFile* connected_file(int unit) {
  for (BinaryFile& file : files) {
    if (file.connected() && file.unit == unit) return &file;
  }
  return nullptr;
}

BinaryFile* free_slot() {
  for (BinaryFile& file : files) {
    if (!file.connected()) return &file;
  }
  return nullptr;
}

[[noreturn]] void fail(const BinaryFile& file, std::string_view what) {
  fail_io(file.unit, what, file.file_name());
}

// A failure of the records' structure, which the unit's hint may explain.
[[noreturn]] void fail_structure(const BinaryFile& file, std::string_view what) {
  fail_io(file.unit, what, file.file_name(), file.structure_hint);
}

// fail_io adds ", unit N, file NAME", which completes the diagnostic of the physical end.
[[noreturn]] void fail_physical_end(const BinaryFile& file) {
  fail_structure(file, "end-of-file during read");
}

void refill(BinaryFile& file) {
  std::size_t n = 0;
  if (const os::Error refused = os::read_some(file.file, buffer_of(file), kBufferSize, n)) {
    fail(file, refused.text());
  }
  if (n == 0) fail_physical_end(file);
  file.position = 0;
  file.filled = n;
}

std::uint8_t take_byte(BinaryFile& file) {
  if (file.position == file.filled) refill(file);
  return static_cast<std::uint8_t>(buffer_of(file)[file.position++]);
}

// Copies `count` bytes to `out`, or passes over them when `out` is null.
void take_bytes(BinaryFile& file, char* out, std::size_t count) {
  while (count > 0) {
    if (file.position == file.filled) refill(file);
    const std::size_t n = std::min(count, file.filled - file.position);
    if (out != nullptr) {
      std::memcpy(out, buffer_of(file) + file.position, n);
      out += n;
    }
    file.position += n;
    count -= n;
  }
}

void check_first_byte(BinaryFile& file) {
  if (file.first_byte_checked) return;
  if (take_byte(file) != kFileStartByte) fail_structure(file, kIllegalStructure);
  file.first_byte_checked = true;
}

void close_block(BinaryFile& file) {
  if (take_byte(file) != file.lead) fail_structure(file, kIllegalStructure);
  file.block_open = false;
}

void open_block(BinaryFile& file) {
  const std::uint8_t lead = take_byte(file);
  if (lead == kEndOfFileMark) fail_structure(file, kEndOfFileText);
  // A length above the end-of-file mark belongs to no block kind.
  if (lead > kEndOfFileMark) fail_structure(file, kIllegalStructure);
  file.lead = lead;
  file.block_left = lead == kContinuedBlock ? kBlockDataBytes : lead;
  file.block_open = true;
}

// Moves on to the record's next block when the open one has no data left.
void next_block(BinaryFile& file) {
  if (file.block_open) {
    close_block(file);
    if (file.lead != kContinuedBlock) fail_structure(file, kTooManyBytes);
  }
  open_block(file);
}

// Numbers are 4 or 8 bytes; a copy of a known size needs no library call. An empty item may
// have no place at all, so it copies nothing.
void copy_item_bytes(char* out, const char* in, std::size_t bytes) {
  if (bytes == 8) {
    std::memcpy(out, in, 8);
  } else if (bytes == 4) {
    std::memcpy(out, in, 4);
  } else if (bytes != 0) {
    std::memcpy(out, in, bytes);
  }
}

// The usual case: items whole inside the open block and the buffered bytes, one copy each.
// Fills them from the front of `items` and returns how many; the cursor is kept in locals, as
// the copies could otherwise alias it.
std::size_t fill_items_at_once(BinaryFile& file, std::span<const ReadItem> items) {
  const char* data = buffer_of(file);
  const std::size_t filled = file.filled;
  std::size_t position = file.position;
  std::size_t block_left = file.block_left;
  std::size_t done = 0;
  for (; done < items.size(); ++done) {
    const ReadItem& item = items[done];
    if (item.number_bytes != 0 || item.bytes > block_left || item.bytes > filled - position) {
      break;
    }
    copy_item_bytes(static_cast<char*>(item.place), data + position, item.bytes);
    position += item.bytes;
    block_left -= item.bytes;
  }
  file.position = position;
  file.block_left = block_left;
  return done;
}

// An item across blocks or buffer refills, or the first of a record.
void fill_item_in_pieces(BinaryFile& file, const ReadItem& item) {
  char* out = static_cast<char*>(item.place);
  std::size_t need = item.bytes;
  while (need > 0) {
    if (file.block_left == 0) next_block(file);
    const std::size_t n = std::min(need, file.block_left);
    take_bytes(file, out, n);
    out += n;
    need -= n;
    file.block_left -= n;
  }
}

// Splits `count` pairs of numbers of `size` bytes from `in` into `firsts` and `seconds`.
void split_pairs(const char* in, std::size_t size, std::size_t count, char* firsts,
                 char* seconds) {
  for (std::size_t n = 0; n < count; ++n, in += 2 * size, firsts += size, seconds += size) {
    copy_item_bytes(firsts, in, size);
    copy_item_bytes(seconds, in + size, size);
  }
}

// The pairs whole inside the open block and the buffered bytes in one pass each time; a pair
// across a block end or a refill, or the first of a record, number by number.
void fill_pairs(BinaryFile& file, const ReadItem& item) {
  const std::size_t size = item.number_bytes;
  char* firsts = static_cast<char*>(item.place);
  char* seconds = static_cast<char*>(item.second);
  for (std::size_t left = item.bytes / (2 * size); left > 0;) {
    const std::size_t at_hand = std::min(file.block_left, file.filled - file.position);
    const std::size_t n = std::min(left, at_hand / (2 * size));
    if (n == 0) {
      fill_item_in_pieces(file, {firsts, size});
      fill_item_in_pieces(file, {seconds, size});
      firsts += size, seconds += size, --left;
      continue;
    }
    split_pairs(buffer_of(file) + file.position, size, n, firsts, seconds);
    file.position += 2 * size * n;
    file.block_left -= 2 * size * n;
    firsts += size * n, seconds += size * n, left -= n;
  }
}

void skip_rest_of_record(BinaryFile& file) {
  if (!file.block_open) open_block(file);
  for (;;) {
    take_bytes(file, nullptr, file.block_left);
    file.block_left = 0;
    close_block(file);
    if (file.lead != kContinuedBlock) return;
    open_block(file);
  }
}

}  // namespace

int open_binary_file(int unit, std::string_view name, os::FileIdentity& identity) {
  close_binary_file(unit);
  BinaryFile* file = free_slot();
  if (file == nullptr) return os::kTooManyOpenFiles;
  if (name.size() > kMaxNameLength) return os::kNameTooLong;

  char path[kMaxNameLength + 1];
  std::copy(name.begin(), name.end(), path);
  path[name.size()] = '\0';
  os::FileHandle opened = os::kNoFile;
  os::FileFacts facts;
  if (const os::Error refused = os::open_for_reading(path, opened, facts)) return refused.number;

  *file = BinaryFile{};
  file->unit = unit;
  file->file = opened;
  std::copy(path, path + name.size() + 1, file->name.begin());
  file->name_length = name.size();
  identity = facts.identity;
  return 0;
}

void set_structure_hint(int unit, std::string_view hint) {
  if (BinaryFile* file = connected_file(unit); file != nullptr) file->structure_hint = hint;
}

void close_binary_file(int unit) {
  if (BinaryFile* file = connected_file(unit); file != nullptr) {
    os::close_file(file->file);
    *file = BinaryFile{};
  }
}

std::string_view peek_start(int unit, std::size_t count) {
  BinaryFile* file = connected_file(unit);
  if (file == nullptr) fail_io(unit, "read on a unit that is not connected");
  count = std::min(count, kBufferSize);
  char* buffer = buffer_of(*file);
  while (file->filled < count) {
    std::size_t n = 0;
    if (const os::Error refused =
            os::read_some(file->file, buffer + file->filled, kBufferSize - file->filled, n)) {
      fail(*file, refused.text());
    }
    if (n == 0) break;
    file->filled += n;
  }
  return {buffer + file->position, std::min(count, file->filled - file->position)};
}

std::string_view next_bytes(int unit) {
  BinaryFile* file = connected_file(unit);
  if (file == nullptr) fail_io(unit, "read on a unit that is not connected");
  char* buffer = buffer_of(*file);
  if (file->position == file->filled) {
    std::size_t n = 0;
    if (const os::Error refused = os::read_some(file->file, buffer, kBufferSize, n)) {
      fail(*file, refused.text());
    }
    file->position = 0;
    file->filled = n;
  }
  const std::string_view bytes{buffer + file->position, file->filled - file->position};
  file->position = file->filled;
  return bytes;
}

void read_record(int unit, std::span<const ReadItem> items) {
  BinaryFile* file = connected_file(unit);
  if (file == nullptr) fail_io(unit, "read on a unit that is not connected");
  check_first_byte(*file);
  file->block_open = false;
  file->block_left = 0;
  for (std::size_t done = 0; done < items.size();) {
    done += fill_items_at_once(*file, items.subspan(done));
    if (done == items.size()) break;
    const ReadItem& item = items[done++];
    if (item.number_bytes != 0) {
      fill_pairs(*file, item);
    } else {
      fill_item_in_pieces(*file, item);
    }
  }
  skip_rest_of_record(*file);
}

void read_record(int unit, std::initializer_list<ReadItem> items) {
  read_record(unit, std::span<const ReadItem>{items.begin(), items.size()});
}

}  // namespace io
