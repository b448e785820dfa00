#include "zadaza_writer.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "io/binary_records.hpp"

namespace zadaza_make {
namespace {

using Bytes = std::vector<std::uint8_t>;

class Record {
 public:
  Record& integer(int v) {
    const auto value = static_cast<std::int32_t>(v);
    return raw(&value, sizeof value);
  }
  Record& real(double v) { return raw(&v, sizeof v); }
  Record& text(const std::string& s, std::size_t length) {
    std::string padded = s.substr(0, std::min(s.size(), length));
    padded.resize(length, ' ');
    return raw(padded.data(), length);
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  // Native little-endian form, as the reader copies it.
  Record& raw(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    for (std::size_t k = 0; k < n; ++k) bytes_.push_back(b[k]);
    return *this;
  }
  Bytes bytes_;
};

void put_block(Bytes& out, std::uint8_t lead, const Bytes& data, std::size_t at, std::size_t n) {
  out.push_back(lead);
  for (std::size_t k = at; k < at + n; ++k) out.push_back(data[k]);
  out.push_back(lead);
}

void frame(Bytes& out, const Bytes& data, BlockStyle style) {
  const std::size_t full = io::kBlockDataBytes;
  std::size_t at = 0;
  // Full style keeps the last up to 128 bytes for a final block led by their count.
  while (data.size() - at > full || (style == BlockStyle::LeadZero && data.size() - at == full)) {
    put_block(out, io::kContinuedBlock, data, at, full);
    at += full;
  }
  put_block(out, static_cast<std::uint8_t>(data.size() - at), data, at, data.size() - at);
}

void add_curve_heading(Record& r, const SlotCurves& c) {
  r.integer(c.py.npts).integer(c.tz.npts).integer(c.qz.npts);
  r.integer(c.py.iorg).integer(c.tz.iorg).integer(c.qz.iorg);
}

void add_points(Record& r, const Curve& c) {
  for (int k = 0; k < kCurvePoints; ++k) {
    const bool given = k < static_cast<int>(c.points.size());
    r.real(given ? c.points[static_cast<std::size_t>(k)].first : 0.0);
    r.real(given ? c.points[static_cast<std::size_t>(k)].second : 0.0);
  }
}

// The Old generation has no diameter count: its reader takes 4 groups per layer, so fewer
// diameters are padded with empty groups (diameter 0, zero curves), unless the model names
// its groups (a decoded file keeps the groups it had).
std::size_t diameter_groups(const ToolModel& m) {
  const auto named = static_cast<std::size_t>(std::max(m.diameter_groups(), 0));
  return m.old_generation && !m.groups ? std::max(named, kOldDiameterGroups) : named;
}

std::vector<Bytes> records_of(const ToolModel& m) {
  std::vector<Bytes> records;
  records.push_back(Record{}.text(m.label, 80).bytes());
  Record counts;
  counts.integer(m.num_layers()).integer(m.num_dsp());
  if (!m.old_generation) counts.integer(m.num_diameters());
  records.push_back(counts.bytes());

  const SlotCurves no_curves{};
  for (std::size_t j = 0; j < m.layers.size(); ++j) {
    const Layer& layer = m.layers[j];
    Record heading;
    heading.integer(static_cast<int>(j + 1)).real(layer.zbot);
    for (double v : layer.soil) heading.real(v);
    records.push_back(heading.bytes());
    for (std::size_t i = 0; i < diameter_groups(m); ++i) {
      const SlotCurves& c = i < layer.slots.size() ? layer.slots[i] : no_curves;
      Record group;
      group.integer(static_cast<int>(j + 1)).integer(static_cast<int>(i + 1));
      add_curve_heading(group, c);
      records.push_back(group.bytes());
      Record py_tz;
      add_points(py_tz, c.py);
      add_points(py_tz, c.tz);
      records.push_back(py_tz.bytes());
      Record qz;
      add_points(qz, c.qz);
      for (int par = 0; par < 3; ++par) {
        const auto p = static_cast<std::size_t>(par);
        qz.real(c.py.par[p]).real(c.tz.par[p]).real(c.qz.par[p]);
      }
      records.push_back(qz.bytes());
    }
  }

  Record general;
  general.real(m.scour_z);
  for (int i = 0; i < kDiameterSlots; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    general.real(slot < m.diameters.size() ? m.diameters[slot] : 0.0);
  }
  general.real(m.soil_e0).real(m.soil_ez).real(m.soil_nu);
  records.push_back(general.bytes());

  if (!m.dsp.empty()) {
    Record dsp;
    for (std::size_t r = 0; r < kDisplacementRows; ++r) dsp.real(r < m.dsp.size() ? m.dsp[r].z : 0.0);
    for (std::size_t r = 0; r < kDisplacementRows; ++r) {
      for (std::size_t v = 0; v < kDisplacementValues; ++v) {
        dsp.real(r < m.dsp.size() ? m.dsp[r].values[v] : 0.0);
      }
    }
    records.push_back(dsp.bytes());
  }
  return records;
}

}  // namespace

std::string zadaza_file_bytes(const ToolModel& model, BlockStyle style) {
  Bytes out{io::kFileStartByte};
  for (const Bytes& record : records_of(model)) frame(out, record, style);
  out.push_back(io::kEndOfFileMark);
  return {out.begin(), out.end()};
}

}  // namespace zadaza_make
