// Numbered file units for text output: the console and the text files bound by open_unit.
//
// Every unit writes through a fixed buffer of its own; nothing is allocated per line. Lines
// end in CR LF. A write to a unit that no file is bound to goes nowhere.
#pragma once

#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "format/layout.hpp"

namespace io {

inline constexpr int CONSOLE_IN = 5;
inline constexpr int CONSOLE_OUT = 6;
inline constexpr int MAX_UNIT = 99;

// Status number of an opening refused because the file is the protected input file or is
// already open on another unit (the operating system's "device or resource busy").
inline constexpr int FILE_IN_USE = EBUSY;

// Writes the lines of `layout`, driven by `values`, on `unit`. A layout ending in $ leaves the
// last line open: the next write on the unit continues it. A write the operating system
// refuses ends the program through fail_io.
void write(int unit, const Layout& layout, std::initializer_list<Value> values = {});
void write(int unit, const Layout& layout, std::span<const Value> values);

// Hands every buffered line of every unit to the operating system.
void flush_all();

// Whether a file (or the console) is bound to the unit.
bool is_bound(int unit);

// Binds a text file for sequential writing. Returns 0, or a positive status number when the
// operating system refuses the opening (its errno) or the file may not be opened because it
// is the protected input file or already open on another unit (FILE_IN_USE); nothing is
// written to or removed from a refused file. `replace` empties an existing regular file. A
// unit already bound is closed first, so it is unbound after a refusal. The console units
// cannot be rebound (FILE_IN_USE).
int bind_text_file(int unit, std::string_view name, bool must_exist, bool must_not_exist,
                   bool replace);

// Binds a nameless temporary file, removed when the program ends. Returns 0 or a positive
// status number as bind_text_file does.
int bind_scratch_file(int unit);

// Flushes the unit's lines and unbinds it; nothing when it is not bound.
void close_unit(int unit);

// Marks the file that must never be opened for writing (the ZADAZA input), by identity of its
// open descriptor, so that no other name for the same file can be bound to a text unit.
void protect_input_file(int descriptor);

// Writes out what every unit holds (a refusal is passed over: the program is about to end),
// then one line "zadaza2krano: " followed by the pieces on standard error.
void report_error(std::initializer_list<std::string_view> pieces);

// Ends the program after an input/output failure: flushes every unit, writes one line
// "zadaza2krano: <what>, unit <unit>[, file <name>]" on standard error and exits with status 2.
// An empty `file` names the file bound to the unit, if any.
[[noreturn]] void fail_io(int unit, std::string_view what, std::string_view file = {});

// Exit status after an input/output failure.
inline constexpr int IO_FAILURE_EXIT = 2;

// For harnesses that run the program's routines many times in one process (the fuzz targets):
// when set, fail_io calls the handler with the exit status after writing its message, instead
// of ending the program. The handler must not return; it throws or jumps back to the harness,
// which then resets the units (close_unit, close_binary_file, forget_console_input). Null, the
// default, ends the program.
using FailureHandler = void (*)(int exit_status);
void set_failure_handler(FailureHandler handler);

}  // namespace io
