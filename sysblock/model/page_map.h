// The system pages as Corvell keeps them: page number to byte block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace corvell {

using PageBytes = std::vector<uint8_t>;

// Ordered map from page number to the page's bytes. An absent page and a page present with no
// bytes mean the same to every reader.
using PageMap = std::map<int, PageBytes>;

// Page numbers the library stores: 0 ports, 1 system configuration, 2 force table, 3 module
// list, 4 and 5 carried without a known format.
constexpr int kFirstPage = 0;
constexpr int kLastPage = 5;

constexpr int kPortSettingsPageNumber = 0;
constexpr int kSystemConfigPageNumber = 1;
constexpr int kForceTablePageNumber = 2;
constexpr int kModuleListPageNumber = 3;

inline bool IsStoredPageNumber(int page) { return page >= kFirstPage && page <= kLastPage; }

// The bytes of a page, or an empty block when the page is absent.
inline const PageBytes& PageOrEmpty(const PageMap& pages, int page) {
  static const PageBytes empty;
  auto it = pages.find(page);
  return it == pages.end() ? empty : it->second;
}

}  // namespace corvell
