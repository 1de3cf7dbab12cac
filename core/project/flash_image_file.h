// The flash image file "Flash.DAT": the compiled data pages, system pages, program constants,
// argument words and instruction words of a project laid end to end behind a 16-byte header of
// part lengths.
//
// Header (eight unsigned 16-bit little-endian numbers): data length, the lengths of system
// pages 0 to 3, constant length, argument length, instruction length. Then the data part (every
// data page in ascending key order, each word as 4 bytes least significant first), the system
// part (every system page in ascending key order, bytes as they are), the constant part, the
// argument part and the instruction part (pages in ascending key order, 4 bytes per word).
//
// The header cannot describe a part of 65536 bytes or more, nor a fifth system page with bytes;
// such an image is refused with ExceptionParseBinaryError naming the part, instead of being
// written with a header that does not match its body. Empty pages after the fourth are left out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Brenno {

inline constexpr wchar_t kFlashImageFileName[] = L"Flash.DAT";
inline constexpr size_t kFlashHeaderSize = 16;
inline constexpr size_t kFlashSystemPageSlots = 4;

// The parts of a compiled image, in file order. The compiler's image has the same five members,
// so either can be handed to the templates below.
struct FlashImageParts {
  std::map<int, std::vector<uint32_t>> DataPages;
  std::map<int, std::vector<uint8_t>> SystemPages;
  std::vector<uint32_t> ProgramConsts;
  std::map<int, std::vector<uint32_t>> ProgramArguments;
  std::map<int, std::vector<uint32_t>> ProgramInstructions;
};

// The body parts as bytes, before the header is put in front.
struct FlashImageBody {
  std::vector<uint8_t> Data;
  std::vector<std::vector<uint8_t>> SystemPages;  // in ascending key order
  std::vector<uint8_t> Consts;
  std::vector<uint8_t> Arguments;
  std::vector<uint8_t> Instructions;
};

// Appends every word as 4 bytes, least significant first.
void AppendFlashWords(std::vector<uint8_t>& bytes, const std::vector<uint32_t>& words);

// Header and body as one byte vector; throws ExceptionParseBinaryError when a part is too long
// for its 16-bit length or a system page after the fourth holds bytes.
std::vector<uint8_t> AssembleFlashImage(const FlashImageBody& body);

template <class Image>
FlashImageBody MakeFlashImageBody(const Image& image) {
  FlashImageBody body;
  for (const auto& [key, words] : image.DataPages) AppendFlashWords(body.Data, words);
  for (const auto& [key, bytes] : image.SystemPages) {
    body.SystemPages.emplace_back(bytes.begin(), bytes.end());
  }
  AppendFlashWords(body.Consts, image.ProgramConsts);
  for (const auto& [key, words] : image.ProgramArguments) AppendFlashWords(body.Arguments, words);
  for (const auto& [key, words] : image.ProgramInstructions) AppendFlashWords(body.Instructions, words);
  return body;
}

template <class Image>
std::vector<uint8_t> BuildFlashImageBytes(const Image& image) {
  return AssembleFlashImage(MakeFlashImageBody(image));
}

// Writes the bytes as the whole file: an existing file is replaced only once the new content is
// complete on disk. Throws ExceptionParseStreamError naming the path when it cannot be written.
void WriteFlashImageBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

template <class Image>
void WriteFlashImageFile(const std::wstring& path, const Image& image) {
  WriteFlashImageBytes(path, BuildFlashImageBytes(image));
}

}  // namespace Brenno
