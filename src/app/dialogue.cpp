#include "app/dialogue.hpp"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

#include "app/explanations.hpp"
#include "format/layout.hpp"
#include "io/answers.hpp"
#include "io/text.hpp"
#include "io/units.hpp"

namespace app {

using io::ADDEXT;
using io::IFIRST;
using io::trimmed;
using io::UPCASE;

namespace {

constexpr int kQuestionLength = 32;
constexpr int kOrientationLength = 64;

constexpr std::string_view kGenerationQuestion = "New or Old ZADAZA data  /New/ ? ";
constexpr std::string_view kZadazaFileQuestion = "Give ZADAZA data file         : ";
constexpr std::string_view kOrientationQuestion = "Orientation of soil (POS/NEG) : ";
// "Origo" is the converter's own word, kept on purpose.
constexpr std::string_view kOrigoQuestion = "Origo of soil axis system     : ";
constexpr std::string_view kForceScaleQuestion = "Scaling Factor, Force  Unit   : ";
constexpr std::string_view kLengthScaleQuestion = "Scaling Factor, Length Unit   : ";
constexpr std::string_view kIdOffsetQuestion = "Number to be added to ID      : ";
constexpr std::string_view kOutputFormatQuestion = "Output format, 1:SESAM, 2:KNF : ";
constexpr std::string_view kOutputFileQuestion = "Give KRANO soil file (output) : ";
constexpr std::string_view kEchoQuestion = "Echo of ZADAZA data   /No/    ? ";

constexpr auto kNewBanner = format::layout<
    "(/,/,/,/,"
    "'---------------------------------------------',/,"
    "'---------------------------------------------',/,"
    "'-------  Z I Z A D E --> K R A N O   --------',/,"
    "'-------         Version 1.3          --------',/,"
    "/,"
    "'---------------------------------------------',/,"
    "'---------------------------------------------')">;

constexpr auto kOldBanner = format::layout<
    "(/,/,/,/,"
    "'---------------------------------------------',/,"
    "'-------  Z I Z A D E --> K R A N O   --------',/,"
    "'-------       Version 1.0b           --------',/,"
    "'-------                              --------',/,"
    "'-------   To be used together with   --------',/,"
    "'-------     1999 version or older    --------',/,"
    "'-------               of             --------',/,"
    "'-------             ZADAZA           --------',/,"
    "'-------                              --------',/,"
    "/,"
    "'---------------------------------------------',/,"
    "'---------------------------------------------')">;

// Writes a question: one blank and the first min(length, 80) characters of the text, without
// a line end, so the typed answer follows on the same line.
void ASK(int unit, std::string_view text, int length) {
  static constexpr auto kQuestion = format::layout<"(' ',A,$)">;
  char line[80];
  std::fill(std::begin(line), std::end(line), ' ');
  const std::size_t shown = static_cast<std::size_t>(std::clamp(length, 0, 80));
  std::copy_n(text.begin(), std::min(shown, text.size()), line);
  io::write(unit, kQuestion, {std::string_view(line, shown)});
}

// Answers given on the command line are not asked for: the console shows no question.
void ask(std::string_view question) {
  if (!io::answers_are_preset()) ASK(io::kConsoleOut, question, kQuestionLength);
}

// Only the first typed character counts; an empty line gives a blank.
char ask_letter(std::string_view question) {
  std::array<char, 1> answer{' '};
  ask(question);
  io::read_text_answer(answer);
  return answer[0];
}

// A blank answer means `default_letter`; the letter is returned in upper case.
char ask_letter_or(std::string_view question, char default_letter) {
  std::array<char, 1> answer{ask_letter(question)};
  if (answer[0] == ' ') answer[0] = default_letter;
  UPCASE(answer, 1);
  return answer[0];
}

// The question without its closing blanks and colon, for messages about the answer.
std::string_view question_name(std::string_view question) {
  return question.substr(0, question.find_last_not_of(" :?") + 1);
}

void ask_file_name(std::string_view question, FileName& name) {
  name.fill(' ');
  ask(question);
  io::read_whole_text_answer(name, question_name(question));
}

// ADDEXT, but a name that would not be kept whole is refused, never cut.
void add_extension(FileName& name, std::string_view extension, std::string_view question) {
  if (!fits_with_extension({name.data(), name.size()}, extension)) {
    io::NumberText digits;
    io::fail_io(io::kConsoleIn, {"answer refused, the ZADAZA file name with \"", extension,
                                 "\" added is longer than ", digits.of(kFileNameLength),
                                 " characters, to \"", question_name(question), "\""});
  }
  ADDEXT(name, kFileNameLength, extension, static_cast<int>(extension.size()));
}

// At a terminal, a number that cannot be read, or one followed by more text, is asked again.
template <typename Number>
void ask_number(std::string_view question, Number& variable) {
  ask(question);
  if (!io::answers_are_typed()) {
    io::read_number_answer(variable, question_name(question));
    return;
  }
  while (!io::read_usable_number_answer(variable, question_name(question))) ask(question);
}

// The factor is written into every SOILCHAR block as given; one that is not positive is
// rarely meant.
void ask_scale(std::string_view question, double& factor) {
  ask_number(question, factor);
  if (factor <= 0.0) explain_scale_not_positive(question_name(question), factor);
}

// 1 or 2. At a terminal any other number is asked again; otherwise the run cannot go on.
bool ask_output_format(std::int32_t& format) {
  for (;;) {
    ask_number(kOutputFormatQuestion, format);
    if (format == convert::kSesamFormat || format == convert::kKnfFormat) return true;
    explain_unknown_format(format);
    if (!io::answers_are_typed()) return false;
  }
}

// -1.0 for N (also an empty answer), +1.0 for P; any other first character asks again, with
// its reason at a terminal.
double ask_orientation() {
  for (;;) {
    std::array<char, kOrientationLength> orientation;
    orientation.fill(' ');
    orientation[0] = 'N';
    const char answer = ask_letter(kOrientationQuestion);
    if (answer != ' ') orientation[0] = answer;
    UPCASE(orientation, kOrientationLength);
    const std::string_view part = trimmed({orientation.data(), orientation.size()});
    if (part == "N") return -1.0;
    if (part == "P") return +1.0;
    if (io::answers_are_typed()) {
      explain_unknown_orientation(question_name(kOrientationQuestion), answer);
    }
  }
}

}  // namespace

bool fits_with_extension(std::string_view name, std::string_view extension) {
  return trimmed(name).size() + extension.size() <= static_cast<std::size_t>(kFileNameLength);
}

zadaza::Generation ask_generation() {
  return ask_letter_or(kGenerationQuestion, 'N') == 'O' ? zadaza::Generation::Old
                                                         : zadaza::Generation::New;
}

void write_banner(zadaza::Generation generation) {
  if (generation == zadaza::Generation::Old) {
    io::write(io::kConsoleOut, kOldBanner);
  } else {
    io::write(io::kConsoleOut, kNewBanner);
  }
}

void ask_zadaza_file(FileName& name) { ask_file_name(kZadazaFileQuestion, name); }

bool ask_settings(convert::ConversionSettings& settings) {
  settings.COORD_FACTOR = ask_orientation();
  ask_number(kOrigoQuestion, settings.MUDLINE_Z);
  ask_scale(kForceScaleQuestion, settings.FORCE_SCALE);
  ask_scale(kLengthScaleQuestion, settings.LENGTH_SCALE);
  ask_number(kIdOffsetQuestion, settings.ID_OFFSET);
  return ask_output_format(settings.OUTPUT_FORMAT);
}

void ask_output_file(FileName& name, const FileName& zadaza_file) {
  ask_file_name(kOutputFileQuestion, name);
  if (IFIRST({name.data(), name.size()}, kFileNameLength) != 0) return;
  name = zadaza_file;
  add_extension(name, kOutputExtension, kOutputFileQuestion);
}

bool ask_echo() { return ask_letter_or(kEchoQuestion, 'N') == 'Y'; }

void name_echo_file(FileName& name) { add_extension(name, kEchoExtension, kEchoQuestion); }

}  // namespace app
