#include "sysblock/model/system_block_codec.h"

#include "sysblock/model/modules/module_list_page.h"

namespace corvell {

void LoadPagesToSheet(PageMap& currentPages, const PageMap& samplePages, SystemBlockSheetFields& sheet) {
  sheet.PortPage.Decode(PageOrEmpty(currentPages, kPortSettingsPageNumber),
                        PageOrEmpty(samplePages, kPortSettingsPageNumber));
  sheet.ConfigPage.Decode(PageOrEmpty(currentPages, kSystemConfigPageNumber),
                          PageOrEmpty(samplePages, kSystemConfigPageNumber));

  const PageBytes& sampleForces = PageOrEmpty(samplePages, kForceTablePageNumber);
  if (PageOrEmpty(currentPages, kForceTablePageNumber).size() != sampleForces.size())
    currentPages[kForceTablePageNumber] = sampleForces;
  sheet.ForceStates = DecodeForceTablePage(PageOrEmpty(currentPages, kForceTablePageNumber));

  ModuleListDecodeResult modules = DecodeModuleListPage(PageOrEmpty(currentPages, kModuleListPageNumber));
  if (!modules.ok()) modules = DecodeModuleListPage(PageOrEmpty(samplePages, kModuleListPageNumber));
  sheet.ModuleList = std::move(modules.modules);
}

void StorePagesFromSheet(const SystemBlockSheetFields& sheet, const PageMap& samplePages, PageMap& currentPages) {
  PageBytes page0 = sheet.PortPage.Encode(PageOrEmpty(samplePages, kPortSettingsPageNumber));
  PageBytes page1 = sheet.ConfigPage.Encode(PageOrEmpty(samplePages, kSystemConfigPageNumber));
  PageBytes page2 = EncodeForceTablePage(sheet.ForceStates);
  std::optional<PageBytes> page3 = EncodeModuleListPage(sheet.ModuleList);
  currentPages[kPortSettingsPageNumber] = std::move(page0);
  currentPages[kSystemConfigPageNumber] = std::move(page1);
  currentPages[kForceTablePageNumber] = std::move(page2);
  if (page3) currentPages[kModuleListPageNumber] = std::move(*page3);
}

}  // namespace corvell
