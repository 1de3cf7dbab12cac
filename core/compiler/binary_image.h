// The word image of a project that the PLC runs: the compiled data pages, the system pages, the
// program constant table and the argument and instruction words of every program page. The
// encoders fill one image from the current project; an upload fills one from the PLC and the
// decoders rebuild the project from it. All maps iterate in ascending key order; words are host
// integers (their byte order on the wire belongs to the link).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace Brenno {

class BinaryImage {
 public:
  BinaryImage() = default;
  ~BinaryImage();
  BinaryImage(const BinaryImage&) = default;
  BinaryImage& operator=(const BinaryImage&) = default;
  BinaryImage(BinaryImage&&) = default;
  BinaryImage& operator=(BinaryImage&&) = default;

  // Data block key -> pairs of operand word and value word.
  std::map<int, std::vector<uint32_t>> DataPages;
  // System page key -> the page's bytes unchanged.
  std::map<int, std::vector<uint8_t>> SystemPages;
  // The constant table shared by all program pages.
  std::vector<uint32_t> ProgramConsts;
  // Program page key -> argument words.
  std::map<int, std::vector<uint32_t>> ProgramArguments;
  // Program page key -> network and instruction words.
  std::map<int, std::vector<uint32_t>> ProgramInstructions;

  bool operator==(const BinaryImage&) const = default;
};

// Frees one page map of an image.
template <class Map>
void DestroyImagePageMap(Map& map) {
  Map().swap(map);
}

// Number of words (or bytes) of all entries of a page map.
template <class Map>
long long CountImageItems(const Map& map) {
  long long count = 0;
  for (const auto& entry : map) count += static_cast<long long>(entry.second.size());
  return count;
}

}  // namespace Brenno
