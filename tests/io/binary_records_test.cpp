#include "io/binary_records.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/test_support.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test_support::TempDir;

constexpr int kUnit = 89;

// A framed file built block by block, so that tests choose every length byte.
class Framed {
 public:
  Framed() : bytes_{75} {}
  explicit Framed(std::uint8_t first) : bytes_{first} {}

  Framed& block(std::uint8_t lead, const Bytes& data, std::size_t from, std::size_t count) {
    bytes_.push_back(lead);
    bytes_.insert(bytes_.end(), data.begin() + static_cast<long>(from),
                  data.begin() + static_cast<long>(from + count));
    bytes_.push_back(lead);
    return *this;
  }
  // Full 128-byte blocks, then a last block of the rest; `empty_last` ends a record of a
  // multiple of 128 bytes with an empty block instead of a full one.
  Framed& record(const Bytes& data, bool empty_last = false) {
    std::size_t at = 0;
    while (data.size() - at > 128 || (empty_last && data.size() - at == 128)) {
      block(129, data, at, 128);
      at += 128;
    }
    return block(static_cast<std::uint8_t>(data.size() - at), data, at, data.size() - at);
  }
  Framed& raw(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  Framed& end_mark() { return raw({130}); }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

Bytes reals_data(std::size_t count, double first) {
  Bytes data(count * 8);
  for (std::size_t n = 0; n < count; ++n) {
    const double v = first + static_cast<double>(n) * 0.5;
    std::memcpy(data.data() + 8 * n, &v, 8);
  }
  return data;
}

class BinaryRecords : public testing::Test {
 protected:
  void open(const Framed& file) {
    test_support::write_bytes(path_, file.bytes());
    os::FileIdentity identity;
    ASSERT_EQ(io::open_binary_file(kUnit, path_, identity), 0);
  }
  void TearDown() override { io::close_binary_file(kUnit); }

  TempDir dir_;
  std::string path_ = dir_.path("records.bin");
};

struct Division {
  std::size_t reals;
  bool empty_last;
};

// A record of a 4-byte integer (7) and then the reals, so that every real straddles the 128-byte
// block boundaries, and after it a record of one real, -3.0, that must still be found.
class EveryDivision : public BinaryRecords, public testing::WithParamInterface<Division> {
 protected:
  void open_division(const Division& d) {
    Bytes data = reals_data(d.reals, 1.25);
    const std::array<std::uint8_t, 4> seven{7, 0, 0, 0};
    data.insert(data.begin(), seven.begin(), seven.end());
    open(Framed{}.record(data, d.empty_last).record(reals_data(1, -3.0), d.empty_last).end_mark());
  }
};

TEST_P(EveryDivision, ReadsTheSameValuesWhereverTheBlocksEnd) {
  const Division d = GetParam();
  open_division(d);

  std::int32_t leading = 0;
  std::vector<double> values(d.reals, 0.0);
  io::read_record(kUnit, {io::item(leading), io::items_from(values.data(), values.size())});
  EXPECT_EQ(leading, 7);
  for (std::size_t n = 0; n < d.reals; ++n) EXPECT_EQ(values[n], 1.25 + 0.5 * double(n)) << n;

  double next = 0.0;
  io::read_record(kUnit, {io::item(next)});
  EXPECT_EQ(next, -3.0);
}

// The same record read as pairs split into two arrays, the odd real left over skipped.
TEST_P(EveryDivision, SplitsPairsWhereverTheBlocksEnd) {
  const Division d = GetParam();
  open_division(d);

  std::int32_t leading = 0;
  const std::size_t pairs = d.reals / 2;
  std::vector<double> firsts(pairs, 0.0), seconds(pairs, 0.0);
  io::read_record(kUnit, {io::item(leading), io::pairs_into(firsts.data(), seconds.data(), pairs)});
  EXPECT_EQ(leading, 7);
  for (std::size_t n = 0; n < pairs; ++n) {
    EXPECT_EQ(firsts[n], 1.25 + 0.5 * double(2 * n)) << n;
    EXPECT_EQ(seconds[n], 1.25 + 0.5 * double(2 * n + 1)) << n;
  }

  double next = 0.0;
  io::read_record(kUnit, {io::item(next)});
  EXPECT_EQ(next, -3.0);
}

INSTANTIATE_TEST_SUITE_P(Blocks, EveryDivision,
                         testing::Values(Division{0, false}, Division{0, true},
                                         Division{1, false}, Division{15, false},
                                         Division{31, false}, Division{31, true},
                                         Division{16, false}, Division{399, true},
                                         Division{399, false}, Division{1000, false}));

TEST_F(BinaryRecords, RecordOf3200BytesReadsAlikeInBothDivisions) {
  const Bytes data = reals_data(400, 0.125);
  Framed file;
  file.record(data, false).record(data, true).end_mark();
  open(file);
  std::array<double, 400> first{};
  std::array<double, 400> second{};
  io::read_record(kUnit, {io::item(first)});
  io::read_record(kUnit, {io::item(second)});
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[399], 0.125 + 399 * 0.5);
}

TEST_F(BinaryRecords, LabelOf80CharactersInOneBlock) {
  const std::string label(80, 'L');
  open(Framed{}.record(Bytes(label.begin(), label.end())).end_mark());
  std::array<char, 80> read{};
  io::read_record(kUnit, {io::item(read)});
  EXPECT_EQ(std::string(read.begin(), read.end()), label);
}

TEST_F(BinaryRecords, RestOfRecordIsSkippedAcrossBlocksAndEmptyReadsConsumeARecord) {
  open(Framed{}
           .record(reals_data(100, 1.0))
           .record(reals_data(3, 2.0))
           .record(reals_data(2, 9.0))
           .end_mark());
  double a = 0.0;
  io::read_record(kUnit, {io::item(a)});
  io::read_record(kUnit, std::initializer_list<io::ReadItem>{});
  double b = 0.0;
  io::read_record(kUnit, {io::item(b)});
  EXPECT_EQ(a, 1.0);
  EXPECT_EQ(b, 9.0);
}

TEST_F(BinaryRecords, EightOfTwelveBytesSucceeds) {
  open(Framed{}.record(Bytes{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}).record(Bytes{5, 0, 0, 0}));
  std::array<std::int32_t, 2> two{};
  std::int32_t next = 0;
  io::read_record(kUnit, {io::item(two)});
  io::read_record(kUnit, {io::item(next)});
  EXPECT_EQ(two[1], 2);
  EXPECT_EQ(next, 5);
}

// Each damaged file with the diagnostic that must end the program at the first read.
struct Damage {
  const char* name;
  Framed file;
  std::size_t bytes_asked;
  const char* diagnostic;
};

// Asks for `bytes` bytes from the first record, then for a real from the next.
void read_twice(std::size_t bytes) {
  std::array<std::uint8_t, 400> sink{};
  io::read_record(kUnit, {io::ReadItem{sink.data(), bytes}});
  double after = 0.0;
  io::read_record(kUnit, {io::item(after)});
}

class DamagedFrame : public BinaryRecords, public testing::WithParamInterface<Damage> {};

TEST_P(DamagedFrame, EndsTheProgramWithTheDiagnostic) {
  open(GetParam().file);
  EXPECT_EXIT(read_twice(GetParam().bytes_asked), testing::ExitedWithCode(2),
              GetParam().diagnostic);
}

Damage damage(const char* name, Framed file, std::size_t asked, const char* diagnostic) {
  return {name, std::move(file), asked, diagnostic};
}

const Bytes kTwelve(12, 1);
const Bytes kBig = reals_data(40, 1.0);  // 320 bytes: blocks 129, 129, 64

INSTANTIATE_TEST_SUITE_P(
    Frames, DamagedFrame,
    testing::Values(
        damage("WrongFirstByte", Framed{76}.record(kTwelve).record(kTwelve).end_mark(), 4,
               "illegal structure for unformatted file, unit 89"),
        damage("MismatchedTrailer", Framed{}.raw({12}).raw(kTwelve).raw({11}).end_mark(), 4,
               "illegal structure for unformatted file"),
        damage("MismatchedTrailerOfSkippedBlock",
               Framed{}.raw({129}).raw(Bytes(128, 0)).raw({128, 0, 0}).end_mark(), 4,
               "illegal structure for unformatted file"),
        damage("LeadAboveEndMark", Framed{}.raw({131, 0, 131}), 4,
               "illegal structure for unformatted file"),
        damage("TooManyBytes", Framed{}.record(Bytes(8, 0)).record(kTwelve).end_mark(), 12,
               "too many bytes read from unformatted record"),
        damage("MarkInsteadOfRecord", Framed{}.record(kTwelve).end_mark(), 4,
               "end of file encountered"),
        damage("MarkInsteadOfContinuation", Framed{}.block(129, kBig, 0, 128).end_mark(), 200,
               "end of file encountered"),
        damage("PhysicalEndInBlock", Framed{}.raw({12, 1, 2, 3}), 4,
               "end-of-file during read, unit 89, file .*records.bin"),
        damage("PhysicalEndAfterRecord", Framed{}.record(kTwelve), 4,
               "end-of-file during read, unit 89, file .*records.bin"),
        damage("OnlyFirstByte", Framed{}, 0, "end-of-file during read, unit 89")),
    [](const testing::TestParamInfo<Damage>& info) { return info.param.name; });

TEST_F(BinaryRecords, EmptyFileFailsAtTheFirstRead) {
  test_support::write_file(path_, "");
  os::FileIdentity identity;
  ASSERT_EQ(io::open_binary_file(kUnit, path_, identity), 0);
  EXPECT_EXIT(io::read_record(kUnit, {}), testing::ExitedWithCode(2),
              "^zadaza2krano: end-of-file during read, unit 89, file .*records\\.bin\n$");
}

TEST_F(BinaryRecords, OpeningNeverCreatesAndRefusesFolders) {
  os::FileIdentity identity;
  const std::string missing = dir_.path("missing.zdz");
  EXPECT_EQ(io::open_binary_file(kUnit, missing, identity), os::kNoSuchFile);
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_EQ(io::open_binary_file(kUnit, dir_.dir(), identity), os::kIsAFolder);
}

}  // namespace

namespace {

// Looking at the start of a file consumes nothing: the records read as if it had not been
// looked at, whatever was asked for (nothing, part of the file, more than the file), and the
// bytes given are the file's own; the rest of the file, taken as bytes, is the whole file.
TEST_F(BinaryRecords, LookingAtTheStartConsumesNothing) {
  const Bytes data = reals_data(40, 2.5);
  Framed file;
  file.record(data).record(reals_data(1, -3.0)).end_mark();
  const Bytes& bytes = file.bytes();
  for (const std::size_t asked : {std::size_t{0}, std::size_t{1}, std::size_t{200}, bytes.size(),
                                  bytes.size() + 1000}) {
    SCOPED_TRACE(asked);
    open(file);
    const std::string_view start = io::peek_start(kUnit, asked);
    ASSERT_EQ(start.size(), std::min(asked, bytes.size()));
    EXPECT_EQ(std::string(start), std::string(bytes.begin(), bytes.begin() + start.size()));
    std::array<double, 40> values{};
    io::read_record(kUnit, {io::items_from(values.data(), values.size())});
    EXPECT_EQ(values[39], 2.5 + 0.5 * 39);
    double next = 0.0;
    io::read_record(kUnit, {io::item(next)});
    EXPECT_EQ(next, -3.0);

    open(file);
    io::peek_start(kUnit, asked);
    std::string rest;
    for (std::string_view piece = io::next_bytes(kUnit); !piece.empty();
         piece = io::next_bytes(kUnit)) {
      rest += piece;
    }
    EXPECT_EQ(rest, std::string(bytes.begin(), bytes.end()));
  }
}

}  // namespace
