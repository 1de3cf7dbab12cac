#include "core/project/system_block_table.h"

#include <climits>
#include <utility>

#include "core/env/exception_error.h"
#include "core/env/plc_type.h"
#include "core/project/project.h"
#include "platform/plugin_abi.h"

namespace Brenno {

namespace {

const PlcType& CurrentPlcType() {
  const Project& project = CurrentProject();
  if (project.Type == nullptr) throw ExceptionLogicError();
  return *project.Type;
}

}  // namespace

TablePage<uint8_t> MakeSystemPage(std::wstring name, std::wstring address, std::wstring comment,
                                  std::vector<uint8_t> bytes) {
  TablePage<uint8_t> page;
  page.Name = std::move(name);
  page.Address = std::move(address);
  page.Comment = std::move(comment);
  page.Rows = std::move(bytes);
  return page;
}

std::vector<uint8_t> GetSystemPageSample(const PlcType& type, int page) {
  const auto getSample = type.SystemBlockLibrary.Entry<SysBlockGetPageSampleFn>(kSbGetPageSample);
  if (getSample == nullptr) return {};
  const uint8_t* data = nullptr;
  int size = 0;
  getSample(page, &data, &size);
  if (data == nullptr || size <= 0) return {};
  return std::vector<uint8_t>(data, data + size);
}

bool CheckSystemPageWithLibrary(const PlcType& type, int page, const std::vector<uint8_t>& bytes) {
  const auto check = type.SystemBlockLibrary.Entry<SysBlockCheckPageCompatibleFn>(kSbCheckPageCompatible);
  if (check == nullptr) return true;
  if (bytes.size() > static_cast<size_t>(INT_MAX)) return false;  // no length the library could be told
  return check(page, bytes.empty() ? nullptr : bytes.data(), static_cast<int>(bytes.size()));
}

int BuildSystemReferencePages(SystemBlockTable& table) { return BuildSystemReferencePages(table, CurrentPlcType()); }

int BuildSystemReferencePages(SystemBlockTable& table, const PlcType& type) {
  table = SystemBlockTable();
  table.PageCount = type.Description.SystemBlockSizePage;
  for (int key = 0; key < table.PageCount; ++key) {
    const std::wstring number = std::to_wstring(key);
    table.Reference.insert_or_assign(key, MakeSystemPage(kSystemBlockPagePrefix + (L"_" + number),
                                                         kSystemBlockPagePrefix + number, std::wstring(),
                                                         GetSystemPageSample(type, key)));
  }
  return table.PageCount;
}

void CopyDefaultSystemPages(SystemBlockTable& table) {
  for (const int key : ListReferencePageKeys(table)) AddTablePageFromReference(table, key);
}

bool IsSystemPageCompatible(SystemBlockTable& table, int key) {
  return IsSystemPageCompatible(table, key, CurrentPlcType());
}

bool IsSystemPageCompatible(SystemBlockTable& table, int key, const PlcType& type) {
  if (!SyncPageTitlesFromReference(table, key) || !PageTitlesMatchReference(table, key)) return false;
  return CheckSystemPageWithLibrary(type, key, table.GetPage(key));
}

void CheckSystemPagesCompatible(SystemBlockTable& table) { CheckSystemPagesCompatible(table, CurrentPlcType()); }

void CheckSystemPagesCompatible(SystemBlockTable& table, const PlcType& type) {
  PruneSystemPages(table);
  for (const int key : ListReferencePageKeys(table)) {
    if (!IsSystemPageCompatible(table, key, type)) ResetSystemPage(table, key);
  }
}

int ResetSystemPage(SystemBlockTable& table, int key) { return AddTablePageFromReference(table, key); }

void PruneSystemPages(SystemBlockTable& table) { PruneTablePages(table); }

bool RunSystemBlockConfig(SystemBlockTable& table, const PlcType& type, void* parentWindow) {
  const auto setPage = type.SystemBlockLibrary.Entry<SysBlockSetPageDataFn>(kSbSetPageData);
  const auto getPage = type.SystemBlockLibrary.Entry<SysBlockGetPageDataFn>(kSbGetPageData);
  const auto edit = type.SystemBlockLibrary.Entry<SysBlockExcuteUserConfigFn>(kSbExcuteUserConfig);
  if (setPage == nullptr || getPage == nullptr || edit == nullptr) return false;

  const std::vector<int> keys = ListReferencePageKeys(table);
  for (const int key : keys) table.GetWorkingPage(key);  // every page must be there before any is handed over
  for (const int key : keys) {
    const std::vector<uint8_t>& bytes = table.GetPage(key);
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) {
      setPage(key, nullptr, 0);
    } else {
      setPage(key, bytes.data(), static_cast<int>(bytes.size()));
    }
  }
  if (!edit(parentWindow)) return false;

  // Every page is copied out first, so the table changes only when all of them were read.
  std::vector<std::vector<uint8_t>> pages;
  pages.reserve(keys.size());
  for (const int key : keys) {
    const uint8_t* data = nullptr;
    int size = 0;
    getPage(key, &data, &size);
    pages.push_back(data == nullptr || size <= 0 ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size));
  }
  for (size_t i = 0; i < keys.size(); ++i) table.GetPage(keys[i]) = std::move(pages[i]);
  return true;
}

}  // namespace Brenno
