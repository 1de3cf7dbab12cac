#include "ui/views/project_tree/table_page_operations.h"

namespace Brenno {

bool ChangeSymbolTableAddress(SymbolTable& table, const std::wstring& text, int key, int& newKey) {
  return ChangeTablePageAddress(table, text, key, newKey);
}

bool ChangeDataBlockAddress(DataBlockTable& table, const std::wstring& text, int key, int& newKey) {
  return ChangeTablePageAddress(table, text, key, newKey);
}

bool ChangeStatusChartAddress(StatusChart& chart, const std::wstring& text, int key, int& newKey) {
  return ChangeTablePageAddress(chart, text, key, newKey);
}

void ListStlDefsOfGroup(std::vector<const FunStlRecord*>& out, const InstructionLibrary& library,
                        const std::wstring& group) {
  out.clear();
  for (const FunStlRecord& record : library.FunStlList) {
    if (record.Parent == group) out.push_back(&record);
  }
}

void ListLadDefsOfGroup(std::vector<const FunLadRecord*>& out, const InstructionLibrary& library,
                        const std::wstring& group) {
  out.clear();
  for (const FunLadRecord& record : library.FunLadList) {
    if (record.Parent == group) out.push_back(&record);
  }
}

}  // namespace Brenno
