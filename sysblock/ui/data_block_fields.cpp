#include "sysblock/ui/data_block_fields.h"

namespace corvell {

std::optional<std::wstring> DataBlockFields::Check() const {
  if (Length < 1 || Length > 125) return L"数据长度必须在1到125之间！";
  if (ReferenceStart > 2000) return L"引用首地址必须在0到2000之间！";
  if (FirstAddress < 1 || FirstAddress > 65535) return L"首地址必须在1到65535之间！";
  return std::nullopt;
}

}  // namespace corvell
