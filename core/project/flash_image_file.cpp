#include "core/project/flash_image_file.h"

#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/project/project_file.h"
#include "platform/file_util.h"

namespace Brenno {

namespace {

[[noreturn]] void ThrowImageError(const std::wstring& detail) {
  ExceptionParseBinaryError error;
  error.AppendDetail(L"\r\n  " + detail);
  throw error;
}

uint16_t PartLength(size_t length, const wchar_t* english, const wchar_t* chinese) {
  if (length > 0xFFFF) {
    ThrowImageError(std::wstring(PickText(english, chinese)) +
                    PickText(L": too long for the flash image file (", L": 超出闪存映像文件的长度限制 (") +
                    std::to_wstring(length) + PickText(L" bytes, at most 65535)", L" 字节, 最多 65535)"));
  }
  return static_cast<uint16_t>(length);
}

void AppendPart(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part) {
  bytes.insert(bytes.end(), part.begin(), part.end());
}

}  // namespace

void AppendFlashWords(std::vector<uint8_t>& bytes, const std::vector<uint32_t>& words) {
  bytes.reserve(bytes.size() + 4 * words.size());
  for (uint32_t word : words) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(word >> (8 * i)));
  }
}

std::vector<uint8_t> AssembleFlashImage(const FlashImageBody& body) {
  // Pages beyond the fourth have no length field; an empty one loses nothing when left out.
  for (size_t i = kFlashSystemPageSlots; i < body.SystemPages.size(); ++i) {
    if (body.SystemPages[i].empty()) continue;
    ThrowImageError(PickText(L"the flash image file has room for four system pages, the image holds bytes in page ",
                             L"闪存映像文件只能容纳四个系统页, 映像中有数据的系统页 ") +
                    std::to_wstring(i + 1));
  }
  uint16_t lengths[8] = {};
  lengths[0] = PartLength(body.Data.size(), L"data part", L"数据部分");
  for (size_t i = 0; i < body.SystemPages.size() && i < kFlashSystemPageSlots; ++i) {
    lengths[1 + i] = PartLength(body.SystemPages[i].size(), L"system page", L"系统页");
  }
  lengths[5] = PartLength(body.Consts.size(), L"constant part", L"常量部分");
  lengths[6] = PartLength(body.Arguments.size(), L"argument part", L"参数部分");
  lengths[7] = PartLength(body.Instructions.size(), L"instruction part", L"指令部分");

  std::vector<uint8_t> bytes;
  size_t total = kFlashHeaderSize;
  for (uint16_t length : lengths) total += length;
  bytes.reserve(total);
  for (uint16_t length : lengths) {
    bytes.push_back(static_cast<uint8_t>(length));
    bytes.push_back(static_cast<uint8_t>(length >> 8));
  }
  AppendPart(bytes, body.Data);
  for (size_t i = 0; i < body.SystemPages.size() && i < kFlashSystemPageSlots; ++i) {
    AppendPart(bytes, body.SystemPages[i]);
  }
  AppendPart(bytes, body.Consts);
  AppendPart(bytes, body.Arguments);
  AppendPart(bytes, body.Instructions);
  return bytes;
}

void WriteFlashImageBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  platform::FileWriteFailure failure;
  if (!platform::WriteFileBytes(path, bytes.data(), bytes.size(), failure)) ThrowFileWriteError(path, failure);
}

}  // namespace Brenno
