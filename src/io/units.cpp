#include "io/units.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>

#include "io/text.hpp"
#include "os/staged_files.hpp"
#include "os/termination.hpp"

namespace io {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kMaxNameLength = 4096;
// Units bound at the same time: the console, the output file, the echo file and a few more.
constexpr std::size_t kBuffers = 6;

using os::FileIdentity;

// Staged files are kept by unit number.
static_assert(kMaxUnit < os::kStagedFiles);

// All zero is an unbound unit, so the table needs no initialisation beyond the console.
struct Unit {
  bool is_bound = false;
  os::FileHandle file = os::kNoFile;
  char* buffer = nullptr;
  std::size_t used = 0;
  FileIdentity identity;
  char* name = nullptr;  // room for the file name, taken with the buffer
  std::size_t name_length = 0;

  bool bound() const { return is_bound; }
  std::string_view file_name() const { return {name, name_length}; }
};

std::array<Unit, kMaxUnit + 1> units;

// A bound unit's buffer and file name, kept apart from the table so that the table stays small:
// a scan of all units touches a page or two, not a page per unit. A unit holds one while it is
// bound.
struct UnitStorage {
  char buffer[kBufferSize];
  std::array<char, kMaxNameLength> name;
};
UnitStorage storages[kBuffers];
std::array<bool, kBuffers> storage_taken{};

UnitStorage* take_storage() {
  for (std::size_t i = 0; i < kBuffers; ++i) {
    if (!storage_taken[i]) {
      storage_taken[i] = true;
      return &storages[i];
    }
  }
  return nullptr;
}

void give_back_storage(const char* buffer) {
  for (std::size_t i = 0; i < kBuffers; ++i) {
    if (storages[i].buffer == buffer) storage_taken[i] = false;
  }
}

void give_storage(Unit& u) {
  UnitStorage* storage = take_storage();
  u.buffer = storage->buffer;
  u.name = storage->name.data();
}

const bool console_bound = [] {
  units[kConsoleOut].is_bound = true;
  units[kConsoleOut].file = os::standard_output();
  give_storage(units[kConsoleOut]);
  return true;
}();

FileIdentity protected_input;

FailureHandler failure_handler = nullptr;

bool staging_replacements = false;
// Set once a staged file has taken its real name: from then on output was written. Read by
// the termination handler, hence lock-free.
std::atomic<bool> output_committed = false;
static_assert(std::atomic<bool>::is_always_lock_free);

CommitObserver commit_observer = nullptr;

// Whether the last refused binding was refused because another unit writes the file.
bool refused_for_unit = false;

// The name that begins every line on standard error, with its ": ". The termination handler's
// two fixed lines are built beside it, since the handler may only write.
constexpr std::size_t kMaxProgramName = 32;
struct ProgramName {
  char prefix[kMaxProgramName + 2] = {};
  std::size_t length = 0;
  char discarded[kMaxProgramName + 64] = {};
  std::size_t discarded_length = 0;
  char written[kMaxProgramName + 64] = {};
  std::size_t written_length = 0;
};

constexpr std::size_t joined(char* out, std::string_view a, std::string_view b) {
  std::copy(a.begin(), a.end(), out);
  std::copy(b.begin(), b.end(), out + a.size());
  return a.size() + b.size();
}

constexpr ProgramName named(std::string_view name) {
  ProgramName p;
  name = name.substr(0, kMaxProgramName);
  p.length = joined(p.prefix, name, ": ");
  const std::string_view prefix{p.prefix, p.length};
  p.discarded_length = joined(p.discarded, prefix, "interrupted; no output was written\n");
  p.written_length = joined(p.written, prefix, "interrupted; the output was written\n");
  return p;
}

ProgramName program = named("zadaza2krano");

// bind_staged's answer for a name that is not a regular file: bind it directly.
constexpr int kWriteDirectly = -1;

bool valid_unit(int unit) { return unit >= 1 && unit <= kMaxUnit; }

bool is_console(int unit) { return unit == kConsoleIn || unit == kConsoleOut; }

// Hands the buffered characters of the unit to the operating system; 0 or the number of the
// refusal. The buffer is emptied either way, so a refusal is reported once.
int drain(Unit& u) {
  const os::Error error = os::write_all(u.file, u.buffer, u.used);
  u.used = 0;
  return error.number;
}

[[noreturn]] void fail_write(int unit, int error) {
  fail_io(unit, {"write refused: ", os::describe(error)});
}

[[noreturn]] void fail_commit(int unit, const os::Error& error) {
  fail_io(unit, {"finished file not given its name: ", error.text()});
}

void flush_unit(int unit) {
  Unit& u = units[static_cast<std::size_t>(unit)];
  if (!u.bound() || u.used == 0) return;
  if (const int error = drain(u); error != 0) fail_write(unit, error);
}

void unbind(Unit& u) {
  if (&u != &units[kConsoleOut]) os::close_file(u.file);
  give_back_storage(u.buffer);
  u = Unit{};
}

// 0, or the status number that refuses the file: the protected input, or a file in use.
int in_use(const FileIdentity& candidate) {
  if (candidate.same_as(protected_input)) return kInputFileInUse;
  const bool bound = std::any_of(units.begin(), units.end(),
                                 [&](const Unit& u) { return candidate.same_as(u.identity); });
  refused_for_unit = bound;
  return bound ? kFileInUse : 0;
}

bool buffer_free() { return std::find(storage_taken.begin(), storage_taken.end(), false) != storage_taken.end(); }

// Binds the open descriptor to the unit, which close_unit has emptied; buffer_free() has been
// checked.
void attach(int unit, os::FileHandle file, const FileIdentity& identity, std::string_view name) {
  Unit& u = units[static_cast<std::size_t>(unit)];
  give_storage(u);
  u.is_bound = true;
  u.file = file;
  u.identity = identity;
  u.name_length = name.size();
  std::copy(name.begin(), name.end(), u.name);
}

// Several units may share an output device (a terminal, /dev/null); only regular files are
// guarded against a second writer.
FileIdentity guarded_identity(const os::FileFacts& facts) {
  return facts.kind == os::FileKind::Regular ? facts.identity : FileIdentity{};
}

// The refusals the name itself would get are kept: a folder, a file that may not be written,
// the protected input or a file another unit writes. Nothing at the name is touched.
int bind_staged(int unit, const char* path, std::string_view name, bool must_exist) {
  if (name.empty()) return os::kNoSuchFile;
  if (os::is_folder_separator(name.back())) return os::kIsAFolder;
  os::FileFacts existing;
  const os::Error looked = os::facts_of(path, existing);
  if (looked && looked.number != os::kNoSuchFile) return looked.number;
  if (looked && must_exist) return os::kNoSuchFile;
  FileIdentity identity;
  if (!looked) {
    if (existing.kind == os::FileKind::Folder) return os::kIsAFolder;
    if (existing.kind != os::FileKind::Regular) return kWriteDirectly;
    if (const os::Error refused = os::check_writable(path)) return refused.number;
    identity = existing.identity;
    if (const int refusal = in_use(identity); refusal != 0) return refusal;
  }
  os::FileHandle file = os::kNoFile;
  if (const os::Error refused = os::stage_file(unit, path, file)) {
    refused_for_unit = refused.number == kFileInUse;
    return refused.number;
  }
  attach(unit, file, identity, name);
  return 0;
}

void discard_unit(int unit) {
  os::discard_staged_file(unit);
  unbind(units[static_cast<std::size_t>(unit)]);
}

// Gives the unit's staged file its name and marks the output written, in one step for the
// termination handler.
void commit_unit(int unit) {
  os::hold_termination();
  if (const os::Error refused = os::commit_staged_file(unit)) fail_commit(unit, refused);
  output_committed = true;
  if (commit_observer != nullptr) commit_observer(unit);
}

void discard_and_end(int cause) {
  os::discard_all_staged_files();
  const bool committed = output_committed;
  os::write_error_text({committed ? program.written : program.discarded,
                        committed ? program.written_length : program.discarded_length});
  os::end_interrupted(cause);
}

void append(char*& out, std::string_view text) {
  std::copy(text.begin(), text.end(), out);
  out += text.size();
}

}  // namespace

char* reserve(int unit, std::size_t size) {
  if (!is_bound(unit)) return nullptr;
  Unit& u = units[static_cast<std::size_t>(unit)];
  if (kBufferSize - u.used < size) flush_unit(unit);
  if (kBufferSize < size) fail_io(unit, "line longer than the unit's buffer");
  return u.buffer + u.used;
}

void commit(int unit, const char* end) {
  Unit& u = units[static_cast<std::size_t>(unit)];
  u.used = static_cast<std::size_t>(end - u.buffer);
}

void flush_all() {
  for (int unit = 1; unit <= kMaxUnit; ++unit) flush_unit(unit);
}

void write_console_on_standard_error() {
  flush_unit(kConsoleOut);
  units[kConsoleOut].file = os::standard_error();
}

bool is_bound(int unit) { return valid_unit(unit) && units[static_cast<std::size_t>(unit)].bound(); }

int bind_text_file(int unit, std::string_view name, bool must_exist, bool must_not_exist,
                   bool replace) {
  refused_for_unit = false;
  if (!valid_unit(unit)) return os::kBadFile;
  if (is_console(unit)) return kFileInUse;
  if (name.size() > kMaxNameLength) return os::kNameTooLong;
  // What the unit held is written out before anything may be truncated, and a refused
  // opening leaves the unit unbound.
  close_unit(unit);
  if (!buffer_free()) return os::kTooManyOpenFiles;
  char path[kMaxNameLength + 1];
  std::copy(name.begin(), name.end(), path);
  path[name.size()] = '\0';
  if (replace && !must_not_exist && staging_replacements) {
    const int staged = bind_staged(unit, path, name, must_exist);
    if (staged != kWriteDirectly) return staged;
  }

  // Never emptied at the opening: the file must be known not to be in use before anything
  // is lost.
  os::FileHandle file = os::kNoFile;
  if (const os::Error refused = os::open_for_writing(path, must_exist, must_not_exist, file)) {
    return refused.number;
  }
  os::FileFacts facts;
  int refusal = os::facts_of(file, facts).number;
  if (refusal == 0) refusal = in_use(guarded_identity(facts));
  if (refusal == 0 && replace && facts.kind == os::FileKind::Regular) {
    refusal = os::empty_file(file).number;
  }
  if (refusal != 0) {
    os::close_file(file);
    return refusal;
  }
  attach(unit, file, guarded_identity(facts), name);
  return 0;
}

bool refused_for_another_unit() { return refused_for_unit; }

int bind_scratch_file(int unit) {
  if (!valid_unit(unit)) return os::kBadFile;
  if (is_console(unit)) return kFileInUse;
  close_unit(unit);
  if (!buffer_free()) return os::kTooManyOpenFiles;
  os::FileHandle file = os::kNoFile;
  if (const os::Error refused = os::open_scratch_file(file)) return refused.number;
  attach(unit, file, FileIdentity{}, {});
  return 0;
}

void close_unit(int unit) {
  if (!is_bound(unit)) return;
  flush_unit(unit);
  if (os::is_staged(unit)) {
    commit_unit(unit);
    os::release_termination();
  }
  unbind(units[static_cast<std::size_t>(unit)]);
}

void stage_replaced_files(bool on) {
  staging_replacements = on;
  output_committed = false;
  os::release_termination();
}

// Every staged file is written out before the first takes its name, so a refused write leaves
// all earlier files as they were. The rename alone makes the replacement atomic for every
// reader; no fsync: a file is only ever seen whole, and after a power loss the converter's
// output is made again from its input (ext4 orders the data of a replacing rename itself).
void commit_staged_files() {
  for (int unit = 1; unit <= kMaxUnit; ++unit) {
    if (os::is_staged(unit)) flush_unit(unit);
  }
  os::hold_termination();
  for (int unit = 1; unit <= kMaxUnit; ++unit) {
    if (os::is_staged(unit)) commit_unit(unit);
  }
}

void end_commit_step() {
  flush_unit(kConsoleOut);
  os::release_termination();
}

void set_commit_observer(CommitObserver observer) { commit_observer = observer; }

void discard_staged_files() {
  for (int unit = 1; unit <= kMaxUnit; ++unit) {
    if (os::is_staged(unit)) discard_unit(unit);
  }
}

void discard_staged_files_on_signals() { os::on_termination(discard_and_end); }

void protect_input_file(const FileIdentity& identity) { protected_input = identity; }

// The one writer of standard error: the pieces, cut to the line's fixed room, after the
// program's name, as one line.
void write_error_line(std::span<const std::string_view> pieces) {
  for (Unit& u : units) {
    if (u.bound()) drain(u);
  }
  static char line[kMaxProgramName + 2 + 2 * (kMaxNameLength + 1) + 512];
  char* out = line;
  append(out, {program.prefix, program.length});
  for (const std::string_view piece : pieces) {
    const auto room = static_cast<std::size_t>(line + sizeof line - 1 - out);
    append(out, piece.substr(0, room));
  }
  *out++ = '\n';
  os::write_all(os::standard_error(), line, static_cast<std::size_t>(out - line));
}

void set_failure_handler(FailureHandler handler) { failure_handler = handler; }

void set_program_name(std::string_view name) { program = named(name); }

void report_error(std::initializer_list<std::string_view> pieces) {
  write_error_line({pieces.begin(), pieces.size()});
}

void fail_io(int unit, std::initializer_list<std::string_view> what, std::string_view file,
             std::string_view hint) {
  if (file.empty() && is_bound(unit)) file = units[static_cast<std::size_t>(unit)].file_name();
  // The name outlives the unit it came from.
  static char kept_name[kMaxNameLength + 1];
  const std::size_t kept = std::min(file.size(), kMaxNameLength);
  std::copy_n(file.begin(), kept, kept_name);
  file = {kept_name, kept};
  discard_staged_files();
  // Files staged at places no unit holds (a tool's output) go too.
  for (int place = 0; place < os::kStagedFiles; ++place) os::discard_staged_file(place);
  // After the files took their names, a refused console write must not hide that they did.
  const std::string_view what_was_written =
      !staging_replacements ? ""
      : output_committed    ? "; the output was written"
                            : "; no output was written";
  NumberText number;
  const std::string_view unit_number = number.of(unit);
  constexpr std::size_t kMostPieces = 16;
  // Room for the unit, the file and the note after the description.
  std::array<std::string_view, kMostPieces> pieces;
  std::size_t n = 0;
  for (const std::string_view piece : what) {
    if (n < kMostPieces - 5) pieces[n++] = piece;
  }
  pieces[n++] = ", unit ";
  pieces[n++] = unit_number;
  if (!file.empty()) {
    pieces[n++] = ", file ";
    pieces[n++] = file;
  }
  pieces[n++] = what_was_written;
  write_error_line({pieces.data(), n});
  if (!hint.empty()) report_error({hint});
  if (failure_handler != nullptr) failure_handler(kIoFailureExit);
  std::_Exit(kIoFailureExit);
}

void fail_io(int unit, std::string_view what, std::string_view file, std::string_view hint) {
  fail_io(unit, {what}, file, hint);
}

}  // namespace io
