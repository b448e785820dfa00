// Hostile ZADAZA files run through the real converter: each ends with its documented message
// and exit status, and the ZADAZA file, whatever it is, is left as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::TempDir;

constexpr int kCompleted = 0;
constexpr int kIoFailure = 2;
constexpr int kSizeLimit = 3;

constexpr char kIllegalStructure[] = "illegal structure for unformatted file";
constexpr char kTooManyBytes[] = "too many bytes read from unformatted record";
constexpr char kEndOfFileMark[] = "end of file encountered";
constexpr char kPhysicalEnd[] = "end-of-file during read";

// The counts record's three integers start after the first byte, the framed 80-byte label and
// the counts record's leading length byte.
constexpr std::size_t kCountsAt = 1 + 82 + 1;
enum Count { kLayers = 0, kDsp = 1, kDiameters = 2 };
// The framed displacement record, last before the end-of-file mark: 3200 bytes in 25 blocks.
constexpr std::size_t kDisplacementBytes = 25 * (128 + 2);

struct Outcome {
  int status = -1;
  std::string console;
  std::string errors;
};

// One conversion of the file `zadaza` (a name in the folder, or a path), SESAM output to
// out.fem, echo on.
Outcome convert(const TempDir& dir, const std::string& zadaza) {
  const test_support::ProgramRun ran = test_support::run_converter(
      dir.dir(), "N\n" + zadaza + "\nNEG\n0.0\n1.0\n1.0\n0\n1\nout.fem\nY\n");
  return {ran.exited ? ran.exit_status : 128 + ran.signal, ran.console, ran.errors};
}

// The diagnostic line of a failed read; a hint may follow it.
std::string diagnostic(const std::string& what, const std::string& file = "f.zdz") {
  return "zadaza2krano: " + what + ", unit 89, file " + file + "; no output was written\n";
}

std::string first_line(const std::string& errors) {
  return errors.substr(0, errors.find('\n') + 1);
}

constexpr char kBeyondLimits[] =
    "zadaza2krano: ZADAZA file 'f.zdz' is beyond the size limits (the lines above say which); "
    "no output was written\n";

// Every file a run may leave besides the ZADAZA file itself: no staged temporary file stays.
bool only_expected_files(const TempDir& dir) {
  const std::set<std::string> allowed = {"f.zdz", "base.zdz", "cut.zdz", "out.fem", "f.zdz.echo"};
  for (const auto& entry : std::filesystem::directory_iterator(dir.dir())) {
    if (allowed.count(entry.path().filename().string()) == 0) return false;
  }
  return true;
}

// Runs the bytes as f.zdz and checks the file and the folder are as they were.
Outcome convert_bytes(const TempDir& dir, const Bytes& zdz) {
  test_support::write_bytes(dir.path("f.zdz"), zdz);
  Outcome run = convert(dir, "f.zdz");
  EXPECT_EQ(test_support::read_bytes(dir.path("f.zdz")), zdz) << "the ZADAZA file was changed";
  EXPECT_TRUE(only_expected_files(dir));
  return run;
}

// Positions of every length byte of the records (leading and trailing), in file order.
std::vector<std::size_t> length_byte_positions(const Bytes& zdz) {
  std::vector<std::size_t> positions;
  std::size_t at = 1;
  while (at < zdz.size() && zdz[at] != 130) {
    const std::size_t data = zdz[at] == 129 ? 128 : zdz[at];
    positions.push_back(at);
    positions.push_back(at + 1 + data);
    at += data + 2;
  }
  return positions;
}

void put_count(Bytes& zdz, Count count, std::int32_t value) {
  std::memcpy(zdz.data() + kCountsAt + 4 * count, &value, 4);
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::make_zadaza("--synthetic --layers 1 --diameters 1 --in-use 1 --dsp 1 " +
                             dir_.path("base.zdz"));
    base_ = test_support::read_bytes(dir_.path("base.zdz"));
  }

  TempDir dir_;
  Bytes base_;
};

struct Damage {
  const char* name;
  std::function<void(Bytes&)> apply;
  int status;
  const char* diagnostic;  // nullptr: the conversion completes
};

TEST_F(HostileFiles, CountsAndCutsEndWithTheirDiagnostic) {
  const Damage damages[] = {
      {"more layers than held", [](Bytes& b) { put_count(b, kLayers, 2); }, kIoFailure,
       kEndOfFileMark},
      {"more diameters than held", [](Bytes& b) { put_count(b, kDiameters, 2); }, kIoFailure,
       kEndOfFileMark},
      {"displacements not held",
       [](Bytes& b) {
         b.erase(b.end() - kDisplacementBytes - 1, b.end());
         b.push_back(130);
       },
       kIoFailure, kEndOfFileMark},
      {"label record shorter than asked",
       [](Bytes& b) {
         b[1] = b[82] = 40;
         b.erase(b.begin() + 42, b.begin() + 82);
       },
       kIoFailure, kTooManyBytes},
      {"zero layers in a file with one", [](Bytes& b) { put_count(b, kLayers, 0); }, kIoFailure,
       kTooManyBytes},
      {"zero diameters", [](Bytes& b) { put_count(b, kDiameters, 0); }, kIoFailure,
       kTooManyBytes},
      {"zero displacement rows", [](Bytes& b) { put_count(b, kDsp, 0); }, kCompleted, nullptr},
      {"layers beyond the limit", [](Bytes& b) { put_count(b, kLayers, INT_MAX); }, kSizeLimit,
       nullptr},
      {"diameters beyond the limit", [](Bytes& b) { put_count(b, kDiameters, 1000); }, kSizeLimit,
       nullptr},
      {"negative layers", [](Bytes& b) { put_count(b, kLayers, -1); }, kIoFailure, kTooManyBytes},
      {"most negative layers", [](Bytes& b) { put_count(b, kLayers, INT_MIN); }, kIoFailure,
       kTooManyBytes},
      {"negative diameters", [](Bytes& b) { put_count(b, kDiameters, -7); }, kIoFailure,
       kTooManyBytes},
      {"negative displacement rows", [](Bytes& b) { put_count(b, kDsp, INT_MIN); }, kCompleted,
       nullptr},
      {"empty file", [](Bytes& b) { b.clear(); }, kIoFailure, kPhysicalEnd},
      {"first byte only", [](Bytes& b) { b.resize(1); }, kIoFailure, kPhysicalEnd},
      {"ends after a leading length byte", [](Bytes& b) { b.resize(2); }, kIoFailure, kPhysicalEnd},
      {"ends inside the label", [](Bytes& b) { b.resize(40); }, kIoFailure, kPhysicalEnd},
      {"ends before a trailing length byte", [](Bytes& b) { b.resize(82); }, kIoFailure,
       kPhysicalEnd},
      {"ends inside the displacements", [](Bytes& b) { b.erase(b.end() - 1000, b.end()); },
       kIoFailure, kPhysicalEnd},
      {"no end-of-file mark", [](Bytes& b) { b.pop_back(); }, kCompleted, nullptr},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    Bytes zdz = base_;
    damage.apply(zdz);
    std::filesystem::remove(dir_.path("out.fem"));
    const Outcome run = convert_bytes(dir_, zdz);
    EXPECT_EQ(run.status, damage.status);
    if (damage.status == kSizeLimit) {
      EXPECT_TRUE(run.errors.ends_with(kBeyondLimits)) << run.errors;
      EXPECT_FALSE(std::filesystem::exists(dir_.path("out.fem")));
    } else {
      EXPECT_EQ(first_line(run.errors),
                damage.diagnostic == nullptr ? "" : diagnostic(damage.diagnostic));
    }
    const bool completed = run.console.find("  Conversion Completed ") != std::string::npos;
    EXPECT_EQ(completed, damage.status == kCompleted);
  }
}

// Every length byte, and the first byte and the end-of-file mark, replaced in turn by each of
// the values that mean something to the framing or nothing at all.
TEST_F(HostileFiles, EveryLengthByteReplacedEndsNormallyOrWithAFramingDiagnostic) {
  test_support::make_zadaza("--synthetic --layers 1 --diameters 1 --in-use 1 --dsp 0 " +
                           dir_.path("base.zdz"));
  const Bytes small = test_support::read_bytes(dir_.path("base.zdz"));
  std::vector<std::size_t> positions = length_byte_positions(small);
  positions.push_back(0);
  positions.push_back(small.size() - 1);
  const std::set<std::string> framing_diagnostics = {
      diagnostic(kIllegalStructure), diagnostic(kTooManyBytes), diagnostic(kEndOfFileMark),
      diagnostic(kPhysicalEnd)};
  for (const std::size_t at : positions) {
    for (const std::uint8_t value : {0, 128, 129, 130, 255}) {
      if (small[at] == value) continue;
      SCOPED_TRACE("byte " + std::to_string(at) + " = " + std::to_string(value));
      Bytes zdz = small;
      zdz[at] = value;
      const Outcome run = convert_bytes(dir_, zdz);
      if (run.status == kCompleted) {
        EXPECT_EQ(run.errors, "");
      } else {
        EXPECT_EQ(run.status, kIoFailure);
        EXPECT_EQ(framing_diagnostics.count(first_line(run.errors)), 1U) << run.errors;
      }
    }
  }
}

TEST_F(HostileFiles, TenMegabytesOfRandomBytesEndWithAFramingDiagnostic) {
  std::mt19937 random(1234567U);
  Bytes zdz(10 * 1024 * 1024);
  for (std::uint8_t& b : zdz) b = static_cast<std::uint8_t>(random());
  zdz[0] = 'K';
  Outcome run = convert_bytes(dir_, zdz);
  EXPECT_EQ(run.status, kIoFailure);
  EXPECT_NE(run.errors.find(", unit 89, file f.zdz; no output was written\n"), std::string::npos)
      << run.errors;
  zdz[0] = 0;
  run = convert_bytes(dir_, zdz);
  EXPECT_EQ(run.status, kIoFailure);
  EXPECT_EQ(first_line(run.errors), diagnostic(kIllegalStructure));
}

TEST_F(HostileFiles, DevicesReadAsTheirBytes) {
  if (!test_support::make_device(dir_.path("null"), test_support::Device::Null) ||
      !test_support::make_device(dir_.path("zero"), test_support::Device::Zero)) {
    GTEST_SKIP() << "a device node can be made only by root on Linux";
  }
  Outcome run = convert(dir_, "null");
  EXPECT_EQ(run.status, kIoFailure);
  EXPECT_EQ(first_line(run.errors), diagnostic(kPhysicalEnd, "null"));
  run = convert(dir_, "zero");
  EXPECT_EQ(run.status, kIoFailure);
  EXPECT_EQ(first_line(run.errors), diagnostic(kIllegalStructure, "zero"));
}

// The writer is started first and waits for the converter to open the pipe.
TEST_F(HostileFiles, NamedPipeIsReadAsItsWriterWritesIt) {
  const std::string pipe = dir_.path("f.zdz");
  if (test_support::kOnWindows) GTEST_SKIP() << "Windows has no named pipes in its folders";
  ASSERT_TRUE(test_support::make_fifo(pipe));
  test_support::write_bytes(dir_.path("cut.zdz"), Bytes(base_.begin(), base_.begin() + 1000));
  struct Case {
    const char* writer;
    int status;
    const char* diagnostic;
  };
  const Case cases[] = {
      {"cat base.zdz", kCompleted, nullptr},
      {"cat cut.zdz", kIoFailure, kPhysicalEnd},
      {"true", kIoFailure, kPhysicalEnd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.writer);
    const std::string writer =
        "cd '" + dir_.dir() + "' && (timeout 20 " + c.writer + " > f.zdz &)";
    ASSERT_EQ(std::system(writer.c_str()), 0);
    const Outcome run = convert(dir_, "f.zdz");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(first_line(run.errors), c.diagnostic == nullptr ? "" : diagnostic(c.diagnostic));
  }
}

}  // namespace
