// Binary sequential records: the byte-block framing of the ZADAZA file, read item by item.
//
// The file starts with the byte 75; each record is one or more blocks, a block being a length
// byte L, then 128 data bytes (L = 129: the record goes on) or L data bytes (L = 0..128: the
// record's last block), then L again; the byte 130 after the last record marks the end.
// Every failure ends the program through fail_io with the text of the input/output layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "os/files.hpp"

namespace io {

// One item of a read statement: `bytes` bytes copied straight into `place`; or, when
// `number_bytes` is set, pairs of numbers of that size in `bytes` bytes, the first of every pair
// going to consecutive places from `place` and the second to consecutive places from `second`.
struct ReadItem {
  void* place;
  std::size_t bytes;
  void* second = nullptr;
  std::size_t number_bytes = 0;
};

// An item filled with the raw bytes of a number or of a whole character array.
template <typename T>
constexpr ReadItem item(T& place) {
  return {&place, sizeof(T)};
}

// `count` consecutive elements starting at `first`, as one item.
template <typename T>
constexpr ReadItem items_from(T* first, std::size_t count) {
  return {first, count * sizeof(T)};
}

// `count` pairs stored one after the other in the record (x1, y1, x2, y2 ...), split into the
// consecutive elements from `firsts` and from `seconds`, as one item.
template <typename T>
constexpr ReadItem pairs_into(T* firsts, T* seconds, std::size_t count) {
  return {firsts, 2 * count * sizeof(T), seconds, sizeof(T)};
}

// Connects the file for reading only, never creating it; folders are refused
// (os::kIsAFolder). Returns 0, or the operating system's positive error number
// (os/errors.hpp). A unit already connected is disconnected first. Gives the file's identity
// on success.
int open_binary_file(int unit, std::string_view name, os::FileIdentity& identity);

// A second line for standard error after a failure of the record structure of the unit's
// file (a record shorter than asked, a damaged frame, an end of file inside the data), such as
// what the file may be instead. Kept until the unit is connected again.
void set_structure_hint(int unit, std::string_view hint);

// Disconnects the unit and closes its file; nothing when it is not connected.
void close_binary_file(int unit);

// The first bytes of the unit's file, at most `count` (at most 64 KiB; fewer only when the file
// is shorter), read from the file only once: the records are then read from its first byte as
// if nothing had been looked at, so a pipe serves too. Only before the first record is read.
std::string_view peek_start(int unit, std::size_t count);

// The unread bytes of the unit's file, piece by piece: what the buffer holds, then what each
// read brings; empty at the end of the file. For a file that turned out to be text.
std::string_view next_bytes(int unit);

// One read statement: consumes exactly one record, fills the items in order from its data
// and skips the rest. A record shorter than the items, a damaged frame, the end-of-file mark
// or the physical end of the file ends the program.
void read_record(int unit, std::span<const ReadItem> items);
void read_record(int unit, std::initializer_list<ReadItem> items);

// The framing bytes, shared with the tool that writes such files.
inline constexpr std::uint8_t kFileStartByte = 75;
inline constexpr std::uint8_t kContinuedBlock = 129;
inline constexpr std::uint8_t kEndOfFileMark = 130;
inline constexpr std::size_t kBlockDataBytes = 128;

}  // namespace io
