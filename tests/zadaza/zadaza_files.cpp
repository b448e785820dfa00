#include "zadaza_files.hpp"

#include <gtest/gtest.h>

#include "io/units.hpp"
#include "support/process.hpp"
#include "support/test_support.hpp"
#include "zadaza/soil_model.hpp"

namespace zadaza_test {

void reset_model() {
  static const zadaza::SoilModel zero{};
  zadaza::SOIL_MODEL = zero;
}

ReadOutcome read_model(const std::string& path, zadaza::Generation generation) {
  reset_model();
  ReadOutcome outcome;
  if (zadaza::open_zadaza_file(path) != 0) {
    ADD_FAILURE() << "cannot open " << path;
    return outcome;
  }
  io::flush_all();
  // The console lines byte for byte, CR LF ends included on every system.
  const test_support::TempDir folder;
  {
    const test_support::StreamOnFile console(test_support::Stream::Output, folder.path("console"));
    outcome.limits_met = zadaza::read_zadaza_file(generation);
    io::flush_all();
  }
  outcome.console = test_support::read_file(folder.path("console"));
  return outcome;
}

}  // namespace zadaza_test
