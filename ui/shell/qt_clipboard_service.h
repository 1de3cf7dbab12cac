// The system clipboard for the core, on the toolkit's clipboard: Unicode text, and the
// workbench's private block under the format "BRENNO". GUI thread only.
#pragma once

#include "core/env/clipboard.h"

namespace Brenno {

class QtClipboardService : public ClipboardService {
 public:
  bool PutText(const std::wstring& text) override;
  std::optional<std::wstring> GetText() override;
  bool HasPrivateFormat() const override { return true; }
  bool PutPrivateBlock(const std::vector<uint8_t>& block) override;
  std::optional<std::vector<uint8_t>> GetPrivateBlock() override;
};

}  // namespace Brenno
