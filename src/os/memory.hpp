// Storage offered to the system for huge pages, where it has them.
#pragma once

#include <cstddef>

namespace os {

// Where storage offered for huge pages starts: their size where the system has them, a page
// elsewhere; set by the build for each system.
inline constexpr std::size_t kHugePageAlignment = ZZ_HUGE_PAGE_ALIGNMENT;

// Offers storage that is about to be filled whole to the system for huge pages; false when it
// has none, or declined.
bool advise_huge_pages(void* start, std::size_t size);

}  // namespace os
