// An in-memory clipboard for tests: installed for the lifetime of the object, it holds at most
// one item (text or private block) like the real clipboard, and can be told to refuse opening
// or to lack the private format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/env/clipboard.h"

namespace testsupport {

class MemoryClipboard : public Brenno::ClipboardService {
 public:
  MemoryClipboard() { Brenno::InstallClipboardService(this); }
  ~MemoryClipboard() override { Brenno::InstallClipboardService(nullptr); }
  MemoryClipboard(const MemoryClipboard&) = delete;
  MemoryClipboard& operator=(const MemoryClipboard&) = delete;

  bool PutText(const std::wstring& value) override {
    if (open_fails) return false;
    block.reset();
    text = value;
    return true;
  }
  std::optional<std::wstring> GetText() override {
    if (open_fails) return std::nullopt;
    return text;
  }
  bool HasPrivateFormat() const override { return private_format; }
  bool PutPrivateBlock(const std::vector<uint8_t>& value) override {
    if (open_fails) return false;
    text.reset();
    block = value;
    return true;
  }
  std::optional<std::vector<uint8_t>> GetPrivateBlock() override {
    if (open_fails) return std::nullopt;
    return block;
  }

  // What the clipboard holds; tests may also plant data "from another program" here.
  std::optional<std::wstring> text;
  std::optional<std::vector<uint8_t>> block;
  bool open_fails = false;
  bool private_format = true;
};

}  // namespace testsupport
