#include "zadaza/soil_model.hpp"

#include <cstddef>

#include "os/files.hpp"

namespace zadaza {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// The model fills 2 MiB pages of its own, which the kernel may back with one huge page: the
// reader then fills it after one page fault instead of some 340, each of which costs more than
// reading the page's data.
struct alignas(kHugePage) HugePagedSoilModel {
  SoilModel model;
  std::array<char, (sizeof(SoilModel) + kHugePage - 1) / kHugePage * kHugePage -
                       sizeof(SoilModel)>
      rest_of_page{};
};

HugePagedSoilModel storage;

// Asked before anything touches the model; where the system has no huge pages or declines,
// ordinary pages serve.
const bool huge_page_asked = [] {
  return os::advise_huge_pages(&storage, sizeof storage);
}();

}  // namespace

SoilModel& SOIL_MODEL = storage.model;

}  // namespace zadaza
