#include "core/compiler/system_words.h"

namespace Brenno {

void EncodeSystemPage(const std::vector<uint8_t>& page, std::vector<uint8_t>& bytes) {
  bytes.insert(bytes.end(), page.begin(), page.end());
}

void DecodeSystemPage(std::vector<uint8_t>& page, const std::vector<uint8_t>& bytes) { page = bytes; }

}  // namespace Brenno
