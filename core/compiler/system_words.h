// A system page inside the binary image is the page's bytes exactly as the system block table
// holds them: the workbench never looks inside (the PLC type's system-block library does).
#pragma once

#include <cstdint>
#include <vector>

namespace Brenno {

// Appends the page's bytes unchanged.
void EncodeSystemPage(const std::vector<uint8_t>& page, std::vector<uint8_t>& bytes);
// The page's bytes from the image, unchanged.
void DecodeSystemPage(std::vector<uint8_t>& page, const std::vector<uint8_t>& bytes);

}  // namespace Brenno
