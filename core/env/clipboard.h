// The system clipboard as the core sees it. The shell installs one implementation at start-up
// (on top of the toolkit's clipboard); tests install an in-memory one. The core's clipboard
// helpers (PutClipboardText and friends in utilities.h) are the only callers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Brenno {

// Name under which the workbench's private clipboard format is registered.
inline constexpr const char* kPrivateClipboardFormatName = "BRENNO";

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;

  // Empties the clipboard and puts the text as Unicode text. False when the clipboard cannot be
  // opened or the data cannot be placed.
  virtual bool PutText(const std::wstring& text) = 0;
  // The clipboard's Unicode text; nullopt when none is offered or the clipboard cannot be read.
  virtual std::optional<std::wstring> GetText() = 0;

  // Whether the private format could be registered (its id is not 0).
  virtual bool HasPrivateFormat() const = 0;
  // Empties the clipboard and puts the block, as given, under the private format.
  virtual bool PutPrivateBlock(const std::vector<uint8_t>& block) = 0;
  // The whole memory of the clipboard's private-format data, exactly as placed (possibly by
  // another program); nullopt when none is offered or the clipboard cannot be read.
  virtual std::optional<std::vector<uint8_t>> GetPrivateBlock() = 0;
};

// Installs the service (null removes it). The caller keeps ownership and must remove it before
// destroying it.
void InstallClipboardService(ClipboardService* service);
ClipboardService* InstalledClipboardService();

}  // namespace Brenno
