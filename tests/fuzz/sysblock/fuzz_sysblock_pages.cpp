// Feeds arbitrary bytes as a system page of any number through the page store and the page
// decoders, then encodes the decoded fields again and decodes the result once more.
//
// Input: byte 0 chooses the page number (-1 to 6), the rest is the page.
#include <cstddef>
#include <cstdint>

#include "sysblock/model/corvell_app.h"
#include "sysblock/model/modbus_master_image.h"
#include "sysblock/model/system_block_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int page = static_cast<int>(data[0] % 8) - 1;
  const uint8_t* bytes = size > 1 ? data + 1 : nullptr;
  const int length = static_cast<int>(size - 1);

  static corvell::CCorvellApp app;
  app.CurrentPages.clear();
  app.SetPageData(page, bytes, length);
  const uint8_t* out = nullptr;
  int outSize = 0;
  app.GetPageData(page, &out, &outSize);
  if (outSize > 0 && (out == nullptr || outSize != length)) __builtin_trap();
  app.GetPageSample(page, &out, &outSize);
  (void)corvell::CCorvellApp::CheckPageCompatible(page, bytes, length);

  // Every decoder reads the same bytes as its own page, whatever number they came with.
  for (int p = 0; p <= 2; ++p) {
    if (bytes != nullptr) app.CurrentPages[p].assign(bytes, bytes + length);
  }
  corvell::SystemBlockSheetFields sheet;
  corvell::LoadPagesToSheet(app.CurrentPages, app.SamplePages, sheet);

  corvell::CControllerDataCls controller;
  corvell::FillMasterTree(corvell::SplitMasterImage(sheet.PortPage.ModbusMasterImage), controller);
  corvell::MasterRecordList records;
  if (corvell::BuildMasterRecords(controller, records)) {
    sheet.PortPage.ModbusMasterImage = corvell::JoinMasterImage(records);
  }
  sheet.PortPage.BuildNetworkBlock();
  (void)sheet.PortPage.ValidatePortFields(1);
  (void)sheet.ConfigPage.CheckPasswordFields(2);
  (void)sheet.ConfigPage.CheckInterruptTimes(2);

  corvell::StorePagesFromSheet(sheet, app.SamplePages, app.CurrentPages);
  if (app.CurrentPages[0].size() < 32 || app.CurrentPages[1].size() != 24 || app.CurrentPages[2].size() != 16)
    __builtin_trap();
  corvell::SystemBlockSheetFields again;
  corvell::LoadPagesToSheet(app.CurrentPages, app.SamplePages, again);
  return 0;
}
