#include "app/explanations.hpp"

#include "convert/settings.hpp"
#include "io/text.hpp"
#include "io/units.hpp"
#include "os/errors.hpp"

namespace app {
namespace {

std::string_view reason_of(std::int32_t result) {
  switch (-result) {
    case io::kInputFileInUse:
      return "it is the ZADAZA file being read; give another name";
    case io::kFileInUse:
      if (!io::refused_for_another_unit()) {
        return "another program holds it open; close it there or give another name";
      }
      return "it is the output file of this run; give another output name";
    case os::kNoSuchFile:
      return "No such file or directory; check that its folder exists";
    case os::kAccessDenied:
      return "Permission denied; check that the file and its folder may be written";
    case os::kIsAFolder:
      return "it is a folder; give a file name";
    default:
      return os::describe(-result);
  }
}

std::string_view form_letters(format::Edit edit) {
  switch (edit) {
    case format::Edit::Integer: return "I";
    case format::Edit::Fixed: return "F";
    case format::Edit::ScaledExponent: return "1PE";
    default: return "E";
  }
}

}  // namespace

void explain_unopened_input(std::string_view name, int error) {
  io::report_error({"cannot open ZADAZA file '", name, "': ", os::describe(error),
                    "; check the name and that it is a readable file"});
}

void explain_unopened_output(std::string_view what, std::string_view name, std::int32_t result,
                             std::string_view then) {
  io::report_error({"cannot open ", what, " '", name, "': ", reason_of(result), "; ", then});
}

void explain_unknown_orientation(std::string_view question, char first) {
  io::report_error({"answer '", {&first, 1}, "' to \"", question,
                    "\" is neither P nor N (only the first letter counts); answer P for a "
                    "positive or N for a negative soil axis (an empty answer is N)"});
}

void explain_unknown_format(std::int32_t output_format) {
  io::NumberText number;
  io::report_error({"output format ", number.of(output_format),
                    " is not known; answer 1 (SESAM records) or 2 (KNF)"});
}

void explain_scale_not_positive(std::string_view question, double factor) {
  io::NumberText number;
  io::report_error({"warning: \"", question, "\" is ", number.of(factor),
                    ", not a positive factor; it is written into every SOILCHAR block as given"});
}

void explain_size_limit(std::string_view zadaza_name) {
  io::report_error({"ZADAZA file '", zadaza_name,
                    "' is beyond the size limits (the lines above say which); no output was "
                    "written"});
}

void explain_failed_conversion(std::string_view output_name, std::int32_t skipped,
                               std::int32_t active_diameters) {
  io::NumberText first;
  io::NumberText second;
  if (skipped > 0) {
    io::report_error({"output file '", output_name, "' holds error banners: ", first.of(skipped),
                      " of ", second.of(active_diameters),
                      " diameters skipped, their identifiers out of range or already used by "
                      "another diameter (see \"*** ERROR IN G2KRANO ***\")"});
  } else {
    io::report_error({"output file '", output_name,
                      "' holds error banners (\"*** ERROR IN\"); the conversion failed there"});
  }
}

void explain_asterisk_fields(std::string_view what, std::string_view name,
                             const format::AsteriskFields& asterisks, AsteriskWeight weight) {
  io::NumberText line;
  io::NumberText first_column;
  io::NumberText last_column;
  io::NumberText width;
  io::NumberText digits;
  io::NumberText value;
  io::NumberText others;
  const bool integer = asterisks.edit == format::Edit::Integer;
  const std::size_t more = asterisks.count - 1;
  const bool failure = weight == AsteriskWeight::Failure;
  io::report_error(
      {failure ? "" : "warning: ", what, " '", name, "' line ", line.of(asterisks.line),
       ", columns ", first_column.of(asterisks.column + 1), "-",
       last_column.of(asterisks.column + asterisks.width), " (", form_letters(asterisks.edit),
       width.of(asterisks.width), integer ? "" : ".", integer ? "" : digits.of(asterisks.digits),
       "): the value ", value.of(asterisks.value),
       " is too wide for its field and shows as asterisks",
       more == 0 ? "" : more == 1 ? "; so does " : "; so do ", more == 0 ? "" : others.of(more),
       more == 0 ? "" : more == 1 ? " more field" : " more fields",
       failure ? "; KRANO cannot read them: check the ZADAZA file's values and the scaling factors"
               : "; the report shows asterisks there"});
}

}  // namespace app
