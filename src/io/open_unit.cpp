#include "io/open_unit.hpp"

#include <algorithm>

#include "format/layout.hpp"
#include "io/units.hpp"

namespace io {
namespace {

constexpr auto kFailureBanner = format::layout<"(/,/,/,' *** ERROR DURING OPENING OF FILE UNIT',I5)">;
constexpr auto kIllegalUnit = format::layout<"(5X,'ILLEGAL FILE UNIT')">;
constexpr auto kIllegalRecordLength = format::layout<"(5X,'ILLEGAL RECORD LENGTH =',I5)">;
constexpr auto kErrorCode = format::layout<"(5X,'ERROR CODE =',I5,'  (SYSTEM PARAMETER)')">;
constexpr auto kNamedFileOpened = format::layout<"(/,/,/,5X,'FILE  ',A,/,5X,'IS OPENED ON UNIT NO.',I4)">;
constexpr auto kScratchFileOpened = format::layout<"(/,/,/,5X,'A SCRATCH FILE IS OPENED ON UNIT NO.',I4)">;
constexpr auto kCharacteristics = format::layout<
    "(5X,'FILE CHARACTERISTICS :',/,10X,'STATUS =',A7,/,10X,'ACCESS =',A10,/,10X,'FORM   =',A11,"
    "/,10X,'LENGTH =',I5,' WORDS/BYTES PER RECORD (SECTOR)')">;
constexpr auto kBlankMode = format::layout<"(10X,'BLANK  =',A4)">;

// The attribute words, blank-padded to their fixed widths.
constexpr std::string_view kUnknown = "UNKNOWN";
constexpr std::string_view kOld = "OLD    ";
constexpr std::string_view kNew = "NEW    ";
constexpr std::string_view kScratch = "SCRATCH";
constexpr std::string_view kSequential = "SEQUENTIAL";
constexpr std::string_view kDirect = "DIRECT    ";
constexpr std::string_view kFormatted = "FORMATTED  ";
constexpr std::string_view kUnformatted = "UNFORMATTED";
constexpr std::string_view kNull = "NULL";
constexpr std::string_view kZero = "ZERO";

constexpr std::int32_t kDirectGivenLength = 20;
constexpr std::int32_t kDirect128 = 30;
constexpr std::int32_t kFixedDirectLength = 128;

struct OpenAttributes {
  std::string_view status = kUnknown;
  std::string_view access = kSequential;
  std::string_view form = kFormatted;
  std::string_view blank = kNull;
  std::int32_t record_length = 0;
};

std::string_view status_word(std::int32_t status_code) {
  switch (status_code) {
    case 2: return kOld;
    case 3: return kNew;
    case 4: return kScratch;
    default: return kUnknown;
  }
}

std::string_view form_word(std::int32_t access_code, std::int32_t form_code) {
  if (form_code == 1) return kFormatted;
  if (form_code == 2) return kUnformatted;
  if (access_code == kDirectGivenLength || access_code == kDirect128) return kUnformatted;
  return kFormatted;
}

// Formatted direct records are counted in characters, four to a word.
std::int32_t open_record_length(std::int32_t access_code, std::int32_t form_code,
                                std::int32_t record_length) {
  if (access_code == kDirectGivenLength) return form_code == 1 ? record_length * 4 : record_length;
  if (access_code == kDirect128) return kFixedDirectLength;
  return 0;
}

OpenAttributes attributes_of(std::int32_t status_code, std::int32_t access_code,
                             std::int32_t form_code, std::int32_t blank_code,
                             std::int32_t record_length) {
  OpenAttributes attributes;
  attributes.status = status_word(status_code);
  attributes.form = form_word(access_code, form_code);
  attributes.record_length = open_record_length(access_code, form_code, record_length);
  if (access_code == kDirectGivenLength || access_code == kDirect128) attributes.access = kDirect;
  if (attributes.form == kFormatted) attributes.blank = blank_code == 1 ? kZero : kNull;
  return attributes;
}

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// Returns 0 or the positive status number of the refusal.
int bind(const OpenAttributes& attributes, std::string_view name, std::int32_t unit) {
  if (attributes.status == kScratch) return bind_scratch_file(unit);
  const bool sequential = attributes.access == kSequential;
  const bool replace = sequential && (attributes.status == kUnknown || attributes.status == kOld);
  return bind_text_file(unit, without_trailing_blanks(name), attributes.status == kOld,
                        attributes.status == kNew, replace);
}

void report_opening(const OpenAttributes& attributes, std::string_view declared_name,
                    std::int32_t unit, std::int32_t message_unit) {
  if (attributes.status == kScratch) {
    write(message_unit, kScratchFileOpened, {unit});
  } else {
    write(message_unit, kNamedFileOpened, {declared_name, unit});
  }
  write(message_unit, kCharacteristics,
        {attributes.status, attributes.access, attributes.form, attributes.record_length});
  if (attributes.form == kFormatted) write(message_unit, kBlankMode, {attributes.blank});
}

}  // namespace

void open_unit(std::string_view name, std::int32_t name_length, std::int32_t unit,
               std::int32_t status_code, std::int32_t access_code, std::int32_t form_code,
               std::int32_t blank_code, std::int32_t record_length, std::int32_t report_switch,
               std::int32_t message_unit, std::int32_t& result) {
  result = 0;
  const bool reporting = message_unit > 0;
  if (unit < 1 || unit > kMaxUnit) {
    if (reporting) {
      write(message_unit, kFailureBanner, {unit});
      write(message_unit, kIllegalUnit);
    }
    result = kIllegalUnitResult;
    return;
  }
  if (access_code == kDirectGivenLength && record_length <= 0) {
    if (reporting) {
      write(message_unit, kFailureBanner, {unit});
      write(message_unit, kIllegalRecordLength, {record_length});
    }
    result = kIllegalRecordLengthResult;
    return;
  }
  const OpenAttributes attributes =
      attributes_of(status_code, access_code, form_code, blank_code, record_length);
  const std::size_t declared = static_cast<std::size_t>(std::max(name_length, 0));
  const std::string_view declared_name = name.substr(0, std::min(declared, name.size()));

  const int status_number = bind(attributes, declared_name, unit);
  if (status_number > 0) {
    if (reporting) {
      write(message_unit, kFailureBanner, {unit});
      write(message_unit, kErrorCode, {status_number});
    }
    result = -status_number;
    return;
  }
  if (report_switch > 0 && reporting) report_opening(attributes, declared_name, unit, message_unit);
}

}  // namespace io
