// Answers typed on the console (unit 5), read a line at a time. A line ending in CR LF reads
// as if it ended in LF. Before any read, every buffered output line is flushed, so the
// question is on the screen. Answers given beforehand (the command line) are read by the same
// rules, one preset line per answer, instead of the console.
//
// The end of console input during a read, and a number that cannot be read as its variable's
// kind, end the program through io::fail_io.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace io {

// The longest console line read whole, without its line end; a number answer on a longer line
// ends the program through fail_io, naming its question.
inline constexpr std::size_t kLongestConsoleLine = 8190;

// From now on every answer is read from these lines, in order, not from the console; running
// out of them is the end of console input. The lines must outlive the run.
void preset_answers(std::span<const std::string_view> lines);

// Whether the answers come from preset lines rather than from the console.
bool answers_are_preset();

// Whether each answer is typed at a terminal as its question is asked (not preset, not piped
// or from a file): an answer that cannot be used is then asked again instead of ending the run.
bool answers_are_typed();

// Reads one line into the fixed-length text `variable`: cut to its length, or filled up with
// blanks. An empty line gives an all-blank variable.
void read_text_answer(std::span<char> variable);

// Reads one line into `variable` whole: a line that, without its trailing blanks, is longer
// than the variable, or that holds a NUL byte, ends the program through fail_io, naming the
// `question`; nothing is cut.
void read_whole_text_answer(std::span<char> variable, std::string_view question);

// Reads one number in free form (blanks, commas and line ends separate values; a line with no
// value does not end the read). Every read starts on a fresh line; text left on the line after
// the value is ignored, with a warning on standard error naming the `question`, the value
// taken and the text ignored (a decimal comma is the usual cause). A slash, or a comma before
// any value, ends the read and leaves the variable unchanged. An unreadable number names the
// `question` in its message.
void read_number_answer(double& variable, std::string_view question = {});
void read_number_answer(std::int32_t& variable, std::string_view question = {});

// The same for an answer typed at a terminal, where nothing is guessed: an unreadable number,
// or text left on the line after the value, is not taken. The reason goes to standard error,
// the variable stays as it was and the result is false, so that the question is asked again.
bool read_usable_number_answer(double& variable, std::string_view question);
bool read_usable_number_answer(std::int32_t& variable, std::string_view question);

// Drops every console character read ahead but not yet handed out, and any preset answers, so
// that the next read starts afresh on standard input; for harnesses that run the dialogue many times in one
// process.
void forget_console_input();

// The reading of one typed line for a number, apart from the console, so that each rule can
// be checked on its own.
namespace answer_parsing {

enum class LineItem : std::uint8_t {
  None,   // blanks only: the read goes on with the next line
  Slash,  // ends the read, variable unchanged
  Null,   // a comma before any value: ends the read, variable unchanged
  Value,  // `token` holds the characters of the first value
};

struct FirstItem {
  LineItem item = LineItem::None;
  std::string_view token;
};

// The first item of the line; values are separated by blanks, commas and the line end.
FirstItem first_item(std::string_view line);

// Whether the whole token reads as the kind; `value` is set only when it does.
// Integer: an optionally signed whole number within 32 bits. Real: optionally signed, with or
// without a point, with or without an exponent (E or D, either case, and an optionally signed
// power); a value beyond the largest real does not read, one below the smallest reads as zero.
bool parse_integer(std::string_view token, std::int32_t& value);
bool parse_real(std::string_view token, double& value);

}  // namespace answer_parsing

}  // namespace io
