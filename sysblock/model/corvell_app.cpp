#include "sysblock/model/corvell_app.h"

#include <algorithm>
#include <iterator>

#include "sysblock/model/modules/module_list_page.h"

namespace corvell {

namespace {

void PageOut(const PageMap& pages, int page, const uint8_t** data, int* size) {
  if (data != nullptr) *data = nullptr;
  if (size != nullptr) *size = 0;
  if (!IsStoredPageNumber(page)) return;
  auto it = pages.find(page);
  if (it == pages.end() || it->second.empty()) return;
  if (data != nullptr) *data = it->second.data();
  if (size != nullptr) *size = static_cast<int>(it->second.size());
}

}  // namespace

CCorvellApp::CCorvellApp() { InitInstance(); }

void CCorvellApp::InitInstance() {
  // The password block is converted to the simplified-Chinese code page explicitly (iconv),
  // so the process-wide C locale of the host program is left alone.
  Language = 1;
  DialogIdBase = 100;
  CommandIdBase = 1000;
  DigitalInputBase = 14;
  DigitalOutputBase = 0;
  BuildSamplePages();
}

void CCorvellApp::SetLang(int language) {
  if (language == 1) {
    Language = 1;
    DialogIdBase = 100;
    CommandIdBase = 1000;
  } else if (language == 2) {
    Language = 2;
    DialogIdBase = 200;
    CommandIdBase = 2000;
  }
}

bool CCorvellApp::CheckPageCompatible(int page, const uint8_t* /*data*/, int size) {
  switch (page) {
    case 0:
    case 1:
    case 3:
    case 4:
      return true;
    case 2:
      return size == 16;
    default:
      return false;
  }
}

void CCorvellApp::SetPageData(int page, const uint8_t* data, int size) {
  if (!IsStoredPageNumber(page) || size < 0) return;
  if (data == nullptr || size == 0) {
    CurrentPages[page] = PageBytes();
    return;
  }
  CurrentPages[page] = PageBytes(data, data + size);
}

void CCorvellApp::GetPageData(int page, const uint8_t** data, int* size) const {
  PageOut(CurrentPages, page, data, size);
}

void CCorvellApp::GetPageSample(int page, const uint8_t** data, int* size) const {
  PageOut(SamplePages, page, data, size);
}

void CCorvellApp::BuildSamplePages() {
  SamplePages.clear();
  SamplePages[kPortSettingsPageNumber] = BuildSamplePortSettingsPage();
  SamplePages[kSystemConfigPageNumber] = BuildSampleSystemConfigPage();
  SamplePages[kForceTablePageNumber] = BuildSampleForceTablePage();
  SamplePages[kModuleListPageNumber] = BuildSampleModuleListPage(DigitalInputBase, DigitalOutputBase);
}

PageBytes BuildSamplePortSettingsPage() {
  PageBytes page = {
      // port 0: Modbus slave, address 1, 38400 bps, 8 data bits, no parity, 1 stop bit,
      // response timeout 10 x 100 ms, frame delay 3 ms
      0x00, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x03,
      // port 1: the same
      0x00, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0A, 0x03,
      // network: 192.168.1.2, 255.255.255.0, 192.168.1.1, TCP port 2000, TCP address 1,
      // reserved byte 4
      0xC0, 0xA8, 0x01, 0x02, 0xFF, 0xFF, 0xFF, 0x00, 0xC0, 0xA8, 0x01, 0x01, 0xD0, 0x07, 0x01, 0x04};
  // Modbus master image: a header without entries.
  page.insert(page.end(), 14, 0x00);
  return page;
}

PageBytes BuildSampleSystemConfigPage() {
  const uint8_t rest[] = {0x00, 0x00,   // execution cycle 0
                          0xC8, 0xC8,   // timed interrupts 200 ms
                          0xD0, 0x07,   // retentive M start 2000
                          0xFF, 0x0B};  // retentive M end 3071
  PageBytes page(16 + std::size(rest), 0xFF);  // 16 bytes of no password
  std::copy(std::begin(rest), std::end(rest), page.begin() + 16);
  return page;
}

PageBytes BuildSampleForceTablePage() { return PageBytes(16, 0xFF); }

PageBytes BuildSampleModuleListPage(int digitalInputBase, int digitalOutputBase) {
  const ModuleRecord controller = BuildControllerRecord(AddressBases{digitalInputBase, digitalOutputBase});
  const auto header = ModuleListPageHeader(kModuleListPageHeaderSize + controller.size());
  PageBytes page(header.size() + controller.size());
  std::copy(controller.begin(), controller.end(), std::copy(header.begin(), header.end(), page.begin()));
  return page;
}

}  // namespace corvell
