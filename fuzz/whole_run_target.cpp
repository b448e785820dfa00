// The whole run on arbitrary ZADAZA bytes: the dialogue answered from the first byte, the
// framed record reader, the echo report and the conversion in either output format.
//
// Input: one byte of choices, then the ZADAZA file. Bits of the choices byte:
//   0  Old generation (else New)        1  KNF output (else SESAM records)
//   2  orientation POS (else NEG)       3-4  identifier offset, one of kIdOffsets
//   5  mudline far out (else -20.0)
// The echo report is always written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/run.hpp"
#include "harness.hpp"

namespace {

constexpr const char* kIdOffsets[] = {"0", "1000000", "2147483647", "-2147483648"};

std::string answers_for(std::uint8_t choices) {
  std::string answers;
  answers += (choices & 1U) != 0 ? "O\n" : "N\n";
  answers += "in.zdz\n";
  answers += (choices & 4U) != 0 ? "POS\n" : "NEG\n";
  answers += (choices & 32U) != 0 ? "1.0E300\n" : "-20.0\n";
  answers += "1.0\n1.0\n";
  answers += kIdOffsets[(choices >> 3U) & 3U];
  answers += '\n';
  answers += (choices & 2U) != 0 ? "2\n" : "1\n";
  answers += "\nY\n";
  return answers;
}

void whole_run() { app::run_converter(); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::set_up_harness();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  fuzz::feed_standard_input(answers_for(data[0]));
  fuzz::write_scratch_file("in.zdz", {reinterpret_cast<const char*>(data) + 1, size - 1});
  app::reset_run_storage();
  fuzz::run_catching(whole_run);
  return 0;
}
