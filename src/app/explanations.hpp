// Why a run failed, told on standard error one line at a time, each naming the file or the
// answer at fault and what to check. Standard output is never touched.
#pragma once

#include <cstdint>
#include <string_view>

#include "format/layout.hpp"

namespace app {

// The ZADAZA file could not be opened for reading (`error` is the system's error number).
void explain_unopened_input(std::string_view name, int error);

// The output file or the echo file could not be opened; `result` is the opener's negative
// result. `then` says what happens next: the run goes on without that file, or the question
// is asked again.
void explain_unopened_output(std::string_view what, std::string_view name, std::int32_t result,
                             std::string_view then);
inline constexpr std::string_view kGoesOnWithout =
    "the run goes on without it and ends \"Conversion Feiled!\"";

// The orientation answered begins with `first`, neither P nor N (typed at a terminal: the
// question comes again).
void explain_unknown_orientation(std::string_view question, char first);

// The output format answered is neither 1 nor 2.
void explain_unknown_format(std::int32_t output_format);

// A scaling factor answered zero or below; the run goes on.
void explain_scale_not_positive(std::string_view question, double factor);

// The ZADAZA file broke a size limit (its lines are on the console).
void explain_size_limit(std::string_view zadaza_name);

// The conversion failed although the output file was opened: `skipped` diameters were not
// converted, or the lines of another failure are in the output file.
void explain_failed_conversion(std::string_view output_name, std::int32_t skipped,
                               std::int32_t active_diameters);

// Number fields of a written file show asterisks, their values too wide for the fields: the
// first is named by its line, columns, form and value, and the others are counted. In the
// output file that is a failure, in the echo report a warning.
enum class AsteriskWeight { Failure, Warning };
void explain_asterisk_fields(std::string_view what, std::string_view name,
                             const format::AsteriskFields& asterisks, AsteriskWeight weight);

}  // namespace app
