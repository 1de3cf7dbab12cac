#include "ui/views/instruction/instruction_refer_model.h"

namespace Brenno {

namespace {

struct WidthName {
  int flag;
  const wchar_t* text;
};
constexpr WidthName kWidths[] = {
    {kLadVariantBit, L"BOOL"}, {kLadVariantByte, L"BYTE"}, {kLadVariantWord, L"WORD"}, {kLadVariantDword, L"DWORD"}};

}  // namespace

InstructionReferModel::InstructionReferModel(const InstructionLibrary& library) : library_(library) {}

std::vector<std::wstring> InstructionReferModel::GroupLines() const {
  std::vector<std::wstring> lines;
  for (const LadInstructionGroup& group : library_.LadInstructionCatalog) lines.push_back(group.Name);
  return lines;
}

std::vector<std::wstring> InstructionReferModel::EntryLines(int group) const {
  std::vector<std::wstring> lines;
  if (group < 0 || group >= static_cast<int>(library_.LadInstructionCatalog.size())) return lines;
  for (const LadInstructionItem& item : library_.LadInstructionCatalog[group].Items) {
    lines.push_back(item.Description.empty() ? item.Name : item.Name + L"    [" + item.Description + L"]");
  }
  return lines;
}

const LadInstructionItem* InstructionReferModel::Entry(int group, int entry) const {
  if (group < 0 || group >= static_cast<int>(library_.LadInstructionCatalog.size())) return nullptr;
  const auto& items = library_.LadInstructionCatalog[group].Items;
  if (entry < 0 || entry >= static_cast<int>(items.size())) return nullptr;
  return &items[entry];
}

std::wstring InstructionReferModel::Mnemonic(const LadInstructionVariant& variant) const {
  if (variant.Definition < 0 || variant.Definition >= static_cast<int>(library_.FunLadList.size())) return {};
  return library_.FunLadList[variant.Definition].Name;
}

std::vector<std::wstring> InstructionReferModel::WidthLines(int mask) {
  std::vector<std::wstring> lines;
  for (const WidthName& width : kWidths) {
    if ((mask & width.flag) != 0) lines.emplace_back(width.text);
  }
  return lines;
}

int InstructionReferModel::WidthLineForFlags(int mask, int flags) {
  const std::vector<std::wstring> lines = WidthLines(mask);
  if (lines.empty()) return -1;
  const wchar_t* chosen = nullptr;
  for (const WidthName& width : kWidths) {
    if ((flags & width.flag) != 0) chosen = width.text;
  }
  if (chosen == nullptr) return 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == chosen) return static_cast<int>(i);
  }
  return 0;
}

int InstructionReferModel::WidthFlagOfText(const std::wstring& text) {
  for (const WidthName& width : kWidths) {
    if (text == width.text) return width.flag;
  }
  return 0;
}

std::optional<ReferChoice> InstructionReferModel::Recognize(const std::wstring& text) const {
  const auto& groups = library_.LadInstructionCatalog;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (std::size_t e = 0; e < groups[g].Items.size(); ++e) {
      const LadInstructionItem& item = groups[g].Items[e];
      if (item.Name != text) continue;
      const int flags = item.Variants.empty() ? 0 : item.Variants.front().Flags;
      return ReferChoice{static_cast<int>(g), static_cast<int>(e), flags};
    }
  }
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (std::size_t e = 0; e < groups[g].Items.size(); ++e) {
      for (const LadInstructionVariant& variant : groups[g].Items[e].Variants) {
        if (Mnemonic(variant) == text) return ReferChoice{static_cast<int>(g), static_cast<int>(e), variant.Flags};
      }
    }
  }
  return std::nullopt;
}

std::optional<ReferChoice> InstructionReferModel::FirstEntryOf(int group) const {
  const LadInstructionItem* item = Entry(group, 0);
  if (item == nullptr) return std::nullopt;
  return ReferChoice{group, 0, item->Variants.empty() ? 0 : item->Variants.front().Flags};
}

std::wstring InstructionReferModel::Resolve(const std::wstring& text, const std::wstring& widthText, bool pulse) const {
  const int flags = WidthFlagOfText(widthText) | (pulse ? kLadVariantPulse : 0);
  for (const LadInstructionGroup& group : library_.LadInstructionCatalog) {
    for (const LadInstructionItem& item : group.Items) {
      if (item.Name != text) continue;
      for (const LadInstructionVariant& variant : item.Variants) {
        if (variant.Flags == flags) return Mnemonic(variant);
      }
    }
  }
  return text;
}

}  // namespace Brenno
