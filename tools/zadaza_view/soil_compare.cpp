#include "soil_compare.hpp"

#include <algorithm>
#include <cmath>
#include <map>

#include "convert/material_store.hpp"

namespace view {
namespace {

using soil::Written;

bool same(const Written& a, const Written& b, double tolerance) {
  if (!soil::readable(a) || !soil::readable(b)) return a.text == b.text;
  if (!std::isfinite(a.value) || !std::isfinite(b.value) || tolerance == 0.0) {
    return a.value == b.value;
  }
  return std::fabs(a.value - b.value) <= tolerance * std::max(std::fabs(a.value), std::fabs(b.value));
}

std::string shown(const Written& w) { return w.text.empty() ? std::string("nothing") : w.text; }

class Comparer {
 public:
  Comparer(double tolerance, SoilComparison& result) : tolerance_(tolerance), result_(result) {}

  void value(const std::string& where, const Written& a, const Written& b) {
    if (!same(a, b, tolerance_)) add(where + ": " + shown(a) + " vs " + shown(b));
  }
  void number(const std::string& where, long long a, long long b) {
    if (a != b) add(where + ": " + std::to_string(a) + " vs " + std::to_string(b));
  }
  void text(const std::string& where, const std::string& a, const std::string& b) {
    if (a != b) add(where + ": " + a + " vs " + b);
  }
  void add(std::string difference) {
    result_.differences.push_back(std::move(difference));
    ++count_;
  }
  std::size_t count() const { return count_; }

 private:
  double tolerance_;
  SoilComparison& result_;
  std::size_t count_ = 0;
};

void compare_layers(Comparer& c, const std::string& where, const ModelBlock& a,
                    const ModelBlock& b, SoilComparison& result) {
  const std::size_t common = std::min(a.layers.size(), b.layers.size());
  for (std::size_t j = 0; j < std::max(a.layers.size(), b.layers.size()); ++j) {
    const std::string layer = where + " layer " + std::to_string(j + 1);
    if (j >= common) {
      c.add(layer + " only in " + (j < a.layers.size() ? "A" : "B"));
      continue;
    }
    ++result.matched_layers;
    const ModelLayer& in_a = a.layers[j];
    const ModelLayer& in_b = b.layers[j];
    c.value(layer + " top level", top_level(in_a), top_level(in_b));
    c.value(layer + " bottom level", bottom_level(in_a), bottom_level(in_b));
    for (std::size_t t = 0; t < std::min(in_a.springs.size(), in_b.springs.size()); ++t) {
      c.text(layer + " " + std::string(curve_name(in_a.springs[t].type)) + " material",
             soil::identifier_text(in_a.springs[t].material_id),
             soil::identifier_text(in_b.springs[t].material_id));
    }
  }
}

// The first entry of the key, in the order the file writes them; repeated keys pair in order.
template <class Map>
typename Map::iterator first_of(Map& map, const typename Map::key_type& key) {
  const auto it = map.lower_bound(key);
  return it != map.end() && it->first == key ? it : map.end();
}

// A block without a readable soil identifier is keyed as the reader gives it.
std::int32_t block_key(const ModelBlock& block) {
  return block.soil_id.value_or(soil::kUnreadableIdentifier);
}

// The blocks of a file by soil identifier; a repeated identifier keeps its order of writing.
std::multimap<std::int32_t, const ModelBlock*> blocks_by_id(const ViewModel& view) {
  std::multimap<std::int32_t, const ModelBlock*> blocks;
  for (const ModelBlock& block : view.blocks) blocks.emplace(block_key(block), &block);
  return blocks;
}

void compare_soilchar(Comparer& c, const std::string& where, const WrittenSoilchar& a,
                      const WrittenSoilchar& b) {
  c.number(where + " type", a.type, b.type);
  c.value(where + " mudline level", a.mudline, b.mudline);
  c.value(where + " reference diameter", a.diameter, b.diameter);
  c.value(where + " force factor", a.force_factor, b.force_factor);
  c.value(where + " length factor", a.length_factor, b.length_factor);
}

void compare_blocks(Comparer& c, const ViewModel& a, const ViewModel& b, SoilComparison& result) {
  const auto in_a = blocks_by_id(a);
  auto in_b = blocks_by_id(b);
  for (const auto& [id, block] : in_a) {
    const std::string where = "SOILCHAR " + soil::identifier_text(id);
    const auto match = first_of(in_b, id);
    if (match == in_b.end()) {
      c.add(where + " only in A");
      continue;
    }
    const ModelBlock& other = *match->second;
    in_b.erase(match);
    ++result.matched_blocks;
    compare_soilchar(c, where, block->written.value_or(WrittenSoilchar{}),
                     other.written.value_or(WrittenSoilchar{}));
    compare_layers(c, where, *block, other, result);
  }
  for (const auto& [id, block] : in_b) {
    c.add("SOILCHAR " + soil::identifier_text(id) + " only in B");
  }
}

// The points that differ go into `differing`, with those only one of the two holds.
void compare_points(Comparer& c, const std::string& where, const soil::Material& a,
                    const soil::Material& b, std::set<std::size_t>& differing) {
  c.number(where + " point count", static_cast<long long>(a.points.size()),
           static_cast<long long>(b.points.size()));
  const std::size_t common = std::min(a.points.size(), b.points.size());
  for (std::size_t k = 0; k < common; ++k) {
    const std::string point = where + " point " + std::to_string(k + 1);
    const std::size_t before = c.count();
    c.value(point + " force", a.points[k].force, b.points[k].force);
    c.value(point + " displacement", a.points[k].displacement, b.points[k].displacement);
    if (c.count() != before) differing.insert(k);
  }
  for (std::size_t k = common; k < std::max(a.points.size(), b.points.size()); ++k) {
    differing.insert(k);
  }
}

void compare_material(Comparer& c, const soil::Material& a, const soil::Material& b,
                      std::set<std::size_t>& differing_points) {
  const std::string where = "material " + soil::identifier_text(a.id) + " (" + a.keyword + ")";
  if (a.kind == convert::kSpringCurveKind) {
    c.text(where + " curve law", a.elastoplastic ? "elasto-plastic" : "hyper-elastic",
           b.elastoplastic ? "elasto-plastic" : "hyper-elastic");
  }
  if (!a.law.text.empty() && !b.law.text.empty()) c.value(where + " curve law code", a.law, b.law);
  for (std::size_t i = 0; i < std::min(a.zero_fields.size(), b.zero_fields.size()); ++i) {
    c.value(where + " " + a.zero_fields[i].name, a.zero_fields[i].value, b.zero_fields[i].value);
  }
  compare_points(c, where, a, b, differing_points);
  c.number(where + " value count", static_cast<long long>(a.values.size()),
           static_cast<long long>(b.values.size()));
  for (std::size_t i = 0; i < std::min(a.values.size(), b.values.size()); ++i) {
    c.value(where + " value " + std::to_string(i + 1), a.values[i], b.values[i]);
  }
}

using MaterialKey = std::pair<std::int32_t, std::int32_t>;

std::multimap<MaterialKey, const soil::Material*> materials_by_key(const ViewModel& view) {
  std::multimap<MaterialKey, const soil::Material*> materials;
  for (const soil::Material& m : view.materials) materials.emplace(MaterialKey{m.id, m.kind}, &m);
  return materials;
}

// A material only one file holds: a difference, and so is every point of it.
void add_only_in(Comparer& c, const soil::Material& m, const char* file, SoilComparison& result) {
  c.add("material " + soil::identifier_text(m.id) + " (" + m.keyword + ") only in " + file);
  const MaterialKey key{m.id, m.kind};
  result.differing_materials.insert(key);
  for (std::size_t k = 0; k < m.points.size(); ++k) result.differing_points[key].insert(k);
}

void compare_materials(Comparer& c, const ViewModel& a, const ViewModel& b,
                       SoilComparison& result) {
  auto in_b = materials_by_key(b);
  for (const soil::Material& m : a.materials) {
    const MaterialKey key{m.id, m.kind};
    const auto match = first_of(in_b, key);
    if (match == in_b.end()) {
      add_only_in(c, m, "A", result);
      continue;
    }
    const std::size_t before = c.count();
    std::set<std::size_t> points;
    compare_material(c, m, *match->second, points);
    in_b.erase(match);
    ++result.matched_materials;
    if (c.count() != before) result.differing_materials.insert(key);
    if (!points.empty()) result.differing_points[key].insert(points.begin(), points.end());
  }
  for (const auto& [key, m] : in_b) add_only_in(c, *m, "B", result);
}

std::string problem_at(const soil::Problem& p) {
  return "line " + std::to_string(p.line) + ": " + p.what;
}

// What one file could not read is no value to compare: unreadable identifiers would all be
// taken as equal. Each problem is matched, in order, with the other file's by what it says
// and the text of its line.
void compare_problems(Comparer& c, const ViewModel& a, const ViewModel& b) {
  const std::size_t common = std::min(a.problems.size(), b.problems.size());
  for (std::size_t k = 0; k < common; ++k) {
    const soil::Problem& in_a = a.problems[k];
    const soil::Problem& in_b = b.problems[k];
    const std::string which = "unreadable " + std::to_string(k + 1) + ": ";
    if (in_a.what != in_b.what) {
      c.add(which + "A " + problem_at(in_a) + " vs B " + problem_at(in_b));
    } else if (in_a.text != in_b.text) {
      c.add(which + in_a.what + ": A line " + std::to_string(in_a.line) + " '" + in_a.text +
            "' vs B line " + std::to_string(in_b.line) + " '" + in_b.text + "'");
    }
  }
  for (std::size_t k = common; k < a.problems.size(); ++k) {
    c.add("unreadable in A only: " + problem_at(a.problems[k]));
  }
  for (std::size_t k = common; k < b.problems.size(); ++k) {
    c.add("unreadable in B only: " + problem_at(b.problems[k]));
  }
}

}  // namespace

SoilComparison compare_soil_views(const ViewModel& a, const ViewModel& b, double tolerance) {
  SoilComparison result;
  Comparer c(tolerance, result);
  compare_blocks(c, a, b, result);
  compare_materials(c, a, b, result);
  compare_problems(c, a, b);
  return result;
}

}  // namespace view
