// Numbered file units for text output: the console and the text files bound by open_unit.
//
// Every unit writes through a fixed buffer of its own; nothing is allocated per line. Lines
// end in CR LF. A write to a unit that no file is bound to goes nowhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "format/layout.hpp"
#include "os/errors.hpp"
#include "os/files.hpp"

namespace io {

inline constexpr int kConsoleIn = 5;
inline constexpr int kConsoleOut = 6;
inline constexpr int kMaxUnit = 99;

// Status numbers of an opening refused because the file is already open on another unit (the
// operating system's "device or resource busy"), or is the protected input file ("text file
// busy").
inline constexpr int kFileInUse = os::kBusy;
inline constexpr int kInputFileInUse = os::kTextFileBusy;

// Room for `size` more characters in the unit's buffer, making it by handing the buffered
// lines to the operating system; nullptr when no file is bound to the unit. Then `commit`
// keeps the characters written up to `end`: `line_ends` lines ended there, showing
// `asterisks`.
char* reserve(int unit, std::size_t size);
void commit(int unit, const char* end, std::size_t line_ends,
            const format::AsteriskFields& asterisks);

// Writes the lines of `layout`, driven by `values`, on `unit`. A layout ending in $ leaves the
// last line open: the next write on the unit continues it. A write the operating system
// refuses ends the program through fail_io.
template <format::CompiledLayout L>
void write(int unit, const L&, const typename L::Values& values = {}) {
  if (char* out = reserve(unit, L::size(values))) {
    format::AsteriskFields asterisks;
    char* const end = L::render(values, out, asterisks);
    commit(unit, end, L::kLineEnds, asterisks);
  }
}

// The number fields written as asterisks on the unit since its file was bound, the first with
// its line number in the file (from 1). Kept after the unit is closed, until it is bound again.
const format::AsteriskFields& asterisk_fields(int unit);

// Hands every buffered line of every unit to the operating system.
void flush_all();

// From now on the console output unit writes on standard error, after handing out what it
// holds: for a tool whose standard output carries data, so that the reader's lines stay apart.
void write_console_on_standard_error();

// Whether a file (or the console) is bound to the unit.
bool is_bound(int unit);

// Binds a text file for sequential writing. Returns 0, or a positive status number when the
// operating system refuses the opening (its number, os/errors.hpp) or the file may not be opened because it
// is the protected input file (kInputFileInUse) or already open on another unit
// (kFileInUse); nothing is
// written to or removed from a refused file. `replace` empties an existing regular file. A
// unit already bound is closed first, so it is unbound after a refusal. The console units
// cannot be rebound (kFileInUse).
int bind_text_file(int unit, std::string_view name, bool must_exist, bool must_not_exist,
                   bool replace);

// Whether the last refused binding was refused because another unit of this program writes
// the file (kFileInUse from the unit table, not from the operating system).
bool refused_for_another_unit();

// While on (from this call until it is called with false), an existing regular file that an
// opening would replace, or a file it would create, is written under a temporary name in the
// same folder (os/staged_files.hpp) and takes its real name only at commit_staged_files() or
// close_unit(); until then no file of that name is created, emptied or written through a
// symbolic link. A replaced regular file's permissions are kept. A name that exists and is not
// a regular file (a device, a pipe) is written directly. The refusals the real name would get
// (a missing folder, a folder or file that may not be written, a name that is a folder, a file
// in use) still come at the opening.
void stage_replaced_files(bool on = true);

// Writes out every staged file, then gives each its real name (a symbolic link there is
// replaced, not followed); the units stay bound to them. A refusal ends the program through
// fail_io. From the first name taken, a termination waits until end_commit_step(), so that
// either no file or every file took its name when the program ends.
void commit_staged_files();

// Writes out the console (the outcome line) and lets a termination that came during the
// commit step end the program: it then says that the output was written.
void end_commit_step();

// For tests of the commit step: called after each staged file took its name. Null, the
// default, calls nothing.
using CommitObserver = void (*)(int unit);
void set_commit_observer(CommitObserver observer);

// Removes every staged file unwritten and unbinds its unit.
void discard_staged_files();

// Every termination the system lets a program catch (os/termination.hpp) removes every staged
// file, says on standard error whether output was written (a crash signal says nothing), and
// then ends the program as the termination would have. A write past the file size limit is a
// refused write.
void discard_staged_files_on_signals();

// Binds a nameless temporary file, removed when the program ends. Returns 0 or a positive
// status number as bind_text_file does.
int bind_scratch_file(int unit);

// Flushes the unit's lines, gives a staged file its name, and unbinds the unit; nothing when it
// is not bound.
void close_unit(int unit);

// Marks the file that must never be opened for writing (the ZADAZA input), by its identity,
// so that no other name for the same file can be bound to a text unit.
void protect_input_file(const os::FileIdentity& identity);

// The program's name, which begins every line written on standard error ("zadaza2krano" until
// set; at most 32 characters are kept). Set once at the start, before any signal can come.
void set_program_name(std::string_view name);

// Writes out what every unit holds (a refusal is passed over: the program is about to end),
// then one line "<program>: " followed by the pieces on standard error.
void report_error(std::initializer_list<std::string_view> pieces);

// Ends the program after an input/output failure: removes every staged file, flushes every
// other unit, writes one line "<program>: <what>, unit <unit>[, file <name>]" on standard
// error, followed by "; no output was written" when files are staged and none was committed
// ("; the output was written" once one was), and exits with status 2. An empty `file` names the file bound to the unit, if any. A `hint`
// follows as a second line "<program>: <hint>".
[[noreturn]] void fail_io(int unit, std::string_view what, std::string_view file = {},
                          std::string_view hint = {});
// The same, with the description given in pieces.
[[noreturn]] void fail_io(int unit, std::initializer_list<std::string_view> what,
                          std::string_view file = {}, std::string_view hint = {});

// Exit status after an input/output failure.
inline constexpr int kIoFailureExit = 2;

// For harnesses that run the program's routines many times in one process (the fuzz targets):
// when set, fail_io calls the handler with the exit status after writing its message, instead
// of ending the program. The handler must not return; it throws or jumps back to the harness,
// which then resets the units (close_unit, close_binary_file, forget_console_input). Null, the
// default, ends the program.
using FailureHandler = void (*)(int exit_status);
void set_failure_handler(FailureHandler handler);

}  // namespace io
