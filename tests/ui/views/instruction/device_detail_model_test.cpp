// The candidate rows, option states and results of the device detail dialog, on the fixture
// memory maps.
#include "ui/views/instruction/device_detail_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/env/operand_address.h"
#include "ui/views/instruction/instruction_test_support.h"

using namespace Brenno;
using instructiontest::InstructionEnvFixture;

namespace {

int FindLine(const std::vector<std::wstring>& lines, const std::wstring& line) {
  const auto found = std::find(lines.begin(), lines.end(), line);
  return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

}  // namespace

TEST_F(InstructionEnvFixture, BitGroupChoicesFollowTheFormatWidth) {
  Load("TypeFx");
  const struct {
    const wchar_t* format;
    std::size_t groups;
  } cases[] = {{L"Tv:", 0}, {L"Bv:", 2}, {L"Wv:", 4}, {L"Dv:", 8}};
  for (const auto& c : cases) {
    const DeviceDetailModel model(Project().MemoryAreas, c.format, -1);
    ASSERT_EQ(model.BitGroupLines().size(), c.groups) << c.format;
    if (c.groups > 0) {
      EXPECT_EQ(model.BitGroupLines().back(), L"K" + std::to_wstring(c.groups));
    }
  }
  const std::vector<std::wstring> index = DeviceDetailModel::IndexRegisterLines();
  ASSERT_EQ(index.size(), 17u);
  EXPECT_EQ(index[0], L"NONE");
  EXPECT_EQ(index[1], L"Z");
  EXPECT_EQ(index[8], L"Z7");
  EXPECT_EQ(index[9], L"V");
  EXPECT_EQ(index[16], L"V7");
}

TEST_F(InstructionEnvFixture, RowsListValuesThenAddressesThenPointersThenTheConstantRange) {
  Load("TypeA");
  const DeviceDetailModel model(Project().MemoryAreas, L"Dvapc:", 6);
  const std::vector<std::wstring>& lines = model.RowLines();
  ASSERT_EQ(lines.size(), model.Rows().size());
  const int value = FindLine(lines, L"VD0 ~ VD8188");
  const int address = FindLine(lines, L"&VB0 ~ &VB8191");
  const int pointer = FindLine(lines, L"*VD0 ~ *VD8188");
  ASSERT_NE(value, -1);
  ASSERT_NE(address, -1);
  ASSERT_NE(pointer, -1);
  EXPECT_LT(value, address);
  EXPECT_LT(address, pointer);
  EXPECT_EQ(lines.back(), L"-2147483648 ~ 2147483647");
  EXPECT_EQ(model.Rows().back().Kind, kCandidateConstant);
  EXPECT_EQ(model.Rows()[address].Kind, kKindAddress);
}

TEST_F(InstructionEnvFixture, AnAddressOperandIsShownWithoutItsMarkAndComesBackWithIt) {
  Load("TypeA");
  const DeviceDetailModel model(Project().MemoryAreas, L"Dvap:", -1);
  const DeviceDetailView view = model.ShowOperand(L"&VB100");
  ASSERT_TRUE(view.Valid);
  EXPECT_EQ(model.RowLines()[view.CurrentRow], L"&VB0 ~ &VB8191");
  EXPECT_EQ(view.EditText, L"VB100");
  EXPECT_EQ(view.AsAddress, (ToggleState{true, true}));
  EXPECT_EQ(view.AsValue, ToggleState{});
  EXPECT_EQ(view.AsPointer, ToggleState{});
  EXPECT_FALSE(view.BitGroup.Enabled);
  EXPECT_FALSE(view.IndexRegister.Enabled);

  DeviceDetailOptions options;
  options.AsAddress = true;
  EXPECT_EQ(model.ComposeResult(L"VB100", options), L"&VB100");
  // Typing in the edit keeps the address form the buttons show.
  const DeviceDetailView typed = model.ApplyOptions(L"VB200", options);
  EXPECT_TRUE(typed.Valid);
  EXPECT_EQ(typed.CurrentRow, view.CurrentRow);
  EXPECT_FALSE(typed.EditText.has_value());

  const DeviceDetailView pointer = model.ShowOperand(L"*VD4");
  ASSERT_TRUE(pointer.Valid);
  EXPECT_EQ(model.RowLines()[pointer.CurrentRow], L"*VD0 ~ *VD8188");
  EXPECT_EQ(pointer.AsPointer, (ToggleState{true, true}));
}

TEST_F(InstructionEnvFixture, BitGroupsAndIndexRegistersMoveBetweenTextAndControls) {
  Load("TypeFx");
  const DeviceDetailModel model(Project().MemoryAreas, L"Wvz:", 5);
  const DeviceDetailView grouped = model.ShowOperand(L"K4M10");
  ASSERT_TRUE(grouped.Valid);
  EXPECT_EQ(grouped.EditText, L"M10");
  EXPECT_EQ(grouped.BitGroup, (ChoiceState{true, 3}));
  EXPECT_EQ(grouped.AsValue, (ToggleState{true, true}));
  DeviceDetailOptions options;
  options.AsValue = true;
  options.BitGroupLine = 3;
  EXPECT_EQ(model.ComposeResult(L"M10", options), L"K4M10");

  const DeviceDetailView indexed = model.ShowOperand(L"D0Z1");
  ASSERT_TRUE(indexed.Valid);
  EXPECT_EQ(indexed.EditText, L"D0");
  EXPECT_EQ(indexed.IndexRegister, (ChoiceState{true, 2}));
  EXPECT_FALSE(indexed.BitGroup.Enabled);  // D counts in words, no digit groups
  options = DeviceDetailOptions{};
  options.AsValue = true;
  options.IndexLine = 10;  // "V1"
  EXPECT_EQ(model.ComposeResult(L"D0", options), L"D0V1");
  // A register written in the text takes precedence over the list.
  EXPECT_EQ(model.ComposeResult(L"D0Z3", options), L"D0Z3");
  options.IndexLine = 0;
  EXPECT_TRUE(model.ApplyOptions(L"D0Z3", options).Valid);
  // A typed digit group takes precedence over the list too.
  options = DeviceDetailOptions{};
  options.AsValue = true;
  options.BitGroupLine = 1;
  EXPECT_EQ(model.ComposeResult(L"K3M0", options), L"K3M0");

  const DeviceDetailView plain = model.ShowOperand(L"D5");
  EXPECT_EQ(plain.IndexRegister, (ChoiceState{true, 0}));
}

TEST_F(InstructionEnvFixture, ConstantsMatchTheConstantRowOnlyWhereTheFormatAdmitsThem) {
  Load("TypeA");
  const DeviceDetailModel withConstants(Project().MemoryAreas, L"Wvc:", 5);
  EXPECT_EQ(withConstants.RowLines().back(), L"-32768 ~ 32767");
  const DeviceDetailView constant = withConstants.ShowOperand(L"-5");
  EXPECT_TRUE(constant.Valid);
  EXPECT_EQ(constant.CurrentRow, static_cast<int>(withConstants.Rows().size()) - 1);
  EXPECT_EQ(constant.EditText, L"-5");
  EXPECT_FALSE(constant.AsValue.Enabled);
  EXPECT_FALSE(withConstants.ShowOperand(L"40000").Valid);
  const DeviceDetailView zero = withConstants.SelectRow(constant.CurrentRow);
  EXPECT_EQ(zero.EditText, L"0");
  EXPECT_TRUE(zero.Valid);
  // Returned as typed: a constant is no address.
  EXPECT_EQ(withConstants.ComposeResult(L"-5", DeviceDetailOptions{}), L"-5");

  const DeviceDetailModel withoutConstants(Project().MemoryAreas, L"Wv:", 5);
  EXPECT_NE(withoutConstants.RowLines().back(), L"-32768 ~ 32767");
  EXPECT_FALSE(withoutConstants.ShowOperand(L"-5").Valid);
  // The last row of such a list is matched like every other.
  const int last = static_cast<int>(withoutConstants.Rows().size()) - 1;
  const DeviceDetailView lastRow = withoutConstants.SelectRow(last);
  ASSERT_TRUE(lastRow.EditText.has_value());
  EXPECT_EQ(withoutConstants.ShowOperand(*lastRow.EditText).CurrentRow, last);
}

TEST_F(InstructionEnvFixture, ChoosingARowPutsTheFirstOperandOfItsRange) {
  Load("TypeFx");
  const DeviceDetailModel model(Project().MemoryAreas, L"Wvz:", 5);
  int row = -1;
  for (std::size_t i = 0; i < model.Rows().size() && row == -1; ++i) {
    if (model.Rows()[i].Region->Name == L"M") row = static_cast<int>(i);
  }
  ASSERT_NE(row, -1);
  const DeviceDetailView view = model.SelectRow(row);
  ASSERT_TRUE(view.EditText.has_value());
  OperandAddress address;
  ASSERT_TRUE(ScanOperandText(*view.EditText, address));
  EXPECT_EQ(address.prefix, L"M");
  EXPECT_EQ(address.groups, -1);
  EXPECT_EQ(view.BitGroup, (ChoiceState{true, 0}));
  EXPECT_EQ(view.AsValue, (ToggleState{true, true}));
}

TEST_F(InstructionEnvFixture, UnreadableTextsAndMalformedFormatsOnlyShowNotValid) {
  Load("TypeA");
  const DeviceDetailModel model(Project().MemoryAreas, L"Bv:", 1);
  const DeviceDetailView view = model.ShowOperand(L"what?");
  EXPECT_FALSE(view.Valid);
  EXPECT_EQ(view.CurrentRow, -1);
  EXPECT_EQ(view.EditText, L"what?");
  EXPECT_FALSE(view.AsValue.Enabled || view.AsAddress.Enabled || view.AsPointer.Enabled);
  EXPECT_EQ(model.ComposeResult(L"what?", DeviceDetailOptions{}), L"what?");

  const DeviceDetailModel broken(Project().MemoryAreas, L"Q", 1);
  EXPECT_TRUE(broken.Rows().empty());
  EXPECT_TRUE(broken.BitGroupLines().empty());
  EXPECT_FALSE(broken.ShowOperand(L"VB0").Valid);
  EXPECT_EQ(broken.ComposeResult(L"VB0", DeviceDetailOptions{}), L"VB0");
  // A data type without a range leaves out the constant row instead of failing.
  const DeviceDetailModel badType(Project().MemoryAreas, L"Bvc:", 42);
  EXPECT_FALSE(badType.Rows().empty());
  EXPECT_NE(badType.Rows().back().Kind, kCandidateConstant);
}

TEST_F(InstructionEnvFixture, SymbolsOfferTheBlockLocalsFirstThenTheGlobals) {
  Load("TypeA");
  const std::vector<AddressSymbol> withBlock = ListAddressSymbols(Project(), 0);
  ASSERT_EQ(withBlock.size(), 3u);
  EXPECT_EQ(withBlock[0], (AddressSymbol{L"#speed", L"VW20"}));
  EXPECT_EQ(withBlock[1], (AddressSymbol{L"start", L"I0.0"}));
  EXPECT_EQ(withBlock[2], (AddressSymbol{L"level", L"VW10"}));
  const std::vector<AddressSymbol> noBlock = ListAddressSymbols(Project(), -1);
  ASSERT_EQ(noBlock.size(), 2u);
  EXPECT_EQ(noBlock[0].Line, L"start");
}
