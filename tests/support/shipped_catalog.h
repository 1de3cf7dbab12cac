// A program directory holding the shipped PLC type as the build lays it out ("Orvisto/<type>"
// with its description files, image and its own system-block and exchange libraries) and a
// configuration that selects it. Test programs that use it depend on the target
// orvisto_catalog.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/env/plc_config.h"
#include "platform/text_codec.h"

namespace testsupport {

inline constexpr wchar_t kShippedTypeName[] = L"CPU-Feldrin-CM3";

// Call it under ASSERT_NO_FATAL_FAILURE: a catalog that is not laid out fails there.
inline void MakeShippedProgramDir(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  const fs::path shipped = fs::path(ORVISTO_DIST_DIR) / "Orvisto" / kShippedTypeName;
  ASSERT_TRUE(fs::exists(shipped / "libCorvell.so")) << shipped << " is not laid out";
  const fs::path type = dir / "Orvisto" / kShippedTypeName;
  fs::create_directories(type);
  fs::copy(shipped, type, fs::copy_options::recursive);
  Brenno::PlcConfig config;
  config.PlcName = kShippedTypeName;
  config.WritePlcConfig((dir / "Orvisto.xml").wstring());
}

}  // namespace testsupport
