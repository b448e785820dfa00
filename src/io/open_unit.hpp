// The file unit opener: binds a numbered unit to a text file from a few small integer codes,
// and reports the outcome through a result code and, when asked, on a message unit.
#pragma once

#include <cstdint>
#include <string_view>

namespace io {

inline constexpr std::int32_t kIllegalUnitResult = -901;
inline constexpr std::int32_t kIllegalRecordLengthResult = -902;

// Arguments, in order:
//   name, name_length  the file name and its declared length; trailing blanks are not part of
//                      the name; not used for a scratch file
//   unit               1 to 99
//   status_code        2 OLD, 3 NEW, 4 SCRATCH, anything else UNKNOWN
//   access_code        20 direct (record length from record_length), 30 direct (128),
//                      anything else sequential; both direct codes imply unformatted
//   form_code          1 formatted, 2 unformatted, anything else as the access code implies
//   blank_code         formatted files: 1 ZERO, anything else NULL
//   record_length      access code 20 only: 4-byte words, at least 1
//   report_switch      > 0: report a successful opening
//   message_unit       > 0: unit that receives every report line; otherwise nothing is written
//   result             0; kIllegalUnitResult; kIllegalRecordLengthResult; or minus the status number of a
//                      refused opening (an errno; kInputFileInUse for the protected input;
//                      kFileInUse for a file already open on another unit)
// The unit stays unbound after every failure. An existing file opened UNKNOWN or OLD for
// sequential writing has its former contents replaced.
void open_unit(std::string_view name, std::int32_t name_length, std::int32_t unit,
               std::int32_t status_code, std::int32_t access_code, std::int32_t form_code,
               std::int32_t blank_code, std::int32_t record_length, std::int32_t report_switch,
               std::int32_t message_unit, std::int32_t& result);

}  // namespace io
