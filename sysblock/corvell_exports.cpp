#include "sysblock/corvell_exports.h"

#include "corvell_version.h"
#include "sysblock/model/corvell_app.h"
#include "sysblock/ui/system_block_editor.h"

namespace {

// The application object: built when the library is loaded, destroyed when it is unloaded.
corvell::CCorvellApp theApp;

}  // namespace

static_assert(sizeof(bool) == 1, "bool results cross the boundary as one byte");

const char16_t* GetPlcName() { return CORVELL_PLC_TYPE; }

const char16_t* GetPlcInfor() { return CORVELL_PLC_INFOR; }

void SetLang(int language) { theApp.SetLang(language); }

void SetFolder(const char16_t* /*folder*/) {
  // The library keeps no files, so the type folder is not needed.
}

bool CheckPageCompatible(int page, const uint8_t* data, int size) {
  return corvell::CCorvellApp::CheckPageCompatible(page, data, size);
}

void SetPageData(int page, const uint8_t* data, int size) {
  try {
    theApp.SetPageData(page, data, size);
  } catch (...) {
    // Out of memory for the copy: the page keeps its previous bytes.
  }
}

void GetPageData(int page, const uint8_t** data, int* size) { theApp.GetPageData(page, data, size); }

void GetPageSample(int page, const uint8_t** data, int* size) { theApp.GetPageSample(page, data, size); }

bool ExcuteUserConfig(void* /*parentWindow*/) {
  // The sheet has no parent window: the host's window handle is not used.
  try {
    return corvell::RunSystemBlockEditor(theApp);
  } catch (...) {
    // Nothing is stored unless the whole sheet was stored.
    return false;
  }
}
