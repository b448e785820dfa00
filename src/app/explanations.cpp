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

}  // namespace

void explain_unopened_input(std::string_view name, int error) {
  io::report_error({"cannot open ZADAZA file '", name, "': ", os::describe(error),
                    "; check the name and that it is a readable file"});
}

void explain_unopened_output(std::string_view what, std::string_view name, std::int32_t result) {
  io::report_error({"cannot open ", what, " '", name, "': ", reason_of(result),
                    "; the run goes on without it and ends \"Conversion Feiled!\""});
}

void explain_size_limit(std::string_view zadaza_name) {
  io::report_error({"ZADAZA file '", zadaza_name,
                    "' is beyond the size limits (the lines above say which); no output was "
                    "written"});
}

void explain_failed_conversion(std::string_view output_name, std::int32_t skipped,
                               std::int32_t active_diameters, std::int32_t output_format) {
  io::NumberText first;
  io::NumberText second;
  if (skipped > 0) {
    io::report_error({"output file '", output_name, "' holds error banners: ", first.of(skipped),
                      " of ", second.of(active_diameters),
                      " diameters skipped, their identifiers out of range or already used by "
                      "another diameter (see \"*** ERROR IN G2KRANO ***\")"});
  }
  if (output_format != convert::kSesamFormat && output_format != convert::kKnfFormat) {
    io::report_error({"output format ", first.of(output_format),
                      " is not known; answer 1 (SESAM records) or 2 (KNF) to \"Output format, "
                      "1:SESAM, 2:KNF\"; output file '",
                      output_name, "' holds no material table"});
  } else if (skipped == 0) {
    io::report_error({"output file '", output_name,
                      "' holds error banners (\"*** ERROR IN\"); the conversion failed there"});
  }
}

}  // namespace app
