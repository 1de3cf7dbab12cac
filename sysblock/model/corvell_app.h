// The library's application object: language, resource-id bases, the two page stores and the
// controller's digital I/O bases. The exported entry points are thin wrappers around it.
#pragma once

#include <cstdint>

#include "sysblock/model/page_map.h"

namespace corvell {

class CCorvellApp {
 public:
  // Builds the object and runs InitInstance, as loading the library does.
  CCorvellApp();

  // Start-up: default language and bases, the sample pages. Always succeeds.
  void InitInstance();

  // 1 English (bases 100 / 1000), 2 Chinese (bases 200 / 2000); any other value is ignored.
  void SetLang(int language);

  // Whether a page the workbench holds suits this library. The bytes are never read.
  static bool CheckPageCompatible(int page, const uint8_t* data, int size);

  // Replaces a current page (0 to 5) by a copy of the bytes; null data or length 0 makes the
  // page present and empty. Other page numbers and negative lengths are ignored.
  void SetPageData(int page, const uint8_t* data, int size);

  // Null and 0 first; then the library's own copy of a non-empty current / sample page.
  // Null out-pointers are tolerated (nothing is written through them).
  void GetPageData(int page, const uint8_t** data, int* size) const;
  void GetPageSample(int page, const uint8_t** data, int* size) const;

  // Fills SamplePages with the default pages 0 to 3.
  void BuildSamplePages();

  int Language = 1;
  int DialogIdBase = 100;
  int CommandIdBase = 1000;
  PageMap CurrentPages;
  PageMap SamplePages;  // destroyed before CurrentPages (reverse member order)
  int DigitalInputBase = 14;
  int DigitalOutputBase = 0;
};

// The default contents of pages 0 to 3.
PageBytes BuildSamplePortSettingsPage();
PageBytes BuildSampleSystemConfigPage();
PageBytes BuildSampleForceTablePage();
// Page 3 holding only the controller record built from the controller model.
PageBytes BuildSampleModuleListPage(int digitalInputBase, int digitalOutputBase);

}  // namespace corvell
