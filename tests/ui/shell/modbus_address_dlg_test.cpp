// The MODBUS address query: the numbers and covered bits for operands of the test catalog's
// memory maps, and the dialog run offscreen.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "tests/support/test_paths.h"
#include "ui/shell/modbus_address_dlg.h"
#include "ui/shell/modbus_address_query.h"

namespace Brenno {
namespace {

MemoryAreaManager LoadMap(const std::string& type) {
  const std::string path = testsupport::FixturePath("catalog/Orvisto/" + type + "/ManagerVar.xml");
  MemoryAreaManager manager;
  ReadManagerVar(manager, std::wstring(path.begin(), path.end()));
  return manager;
}

// The covered cells as bit k = 16 * row + column.
uint64_t Cells(int first, int count) {
  uint64_t mask = 0;
  for (int k = first; k < first + count; ++k) mask |= uint64_t{1} << k;
  return mask;
}

TEST(ModbusAddressQuery, NumbersAndCoveredBits) {
  const MemoryAreaManager map = LoadMap("TypeA");
  struct Case {
    int width;
    const wchar_t* operand;
    std::array<const wchar_t*, 4> labels;
    uint64_t covered;
  };
  const Case cases[] = {
      // A coil bit: b = 2 * 8 + 3 = 19, group 16.
      {0, L"Q2.3", {L"000017", L"000033", L"000049", L"000065"}, Cells(3, 1)},
      // Coils continue after Q in M (area begin 16): M0.0 is coil bit 128.
      {0, L"m0.0", {L"000129", L"000145", L"000161", L"000177"}, Cells(0, 1)},
      {1, L"IB3", {L"100017", L"100033", L"100049", L"100065"}, Cells(8, 8)},
      // A word on an odd byte starts at column 8; a double word runs into the third row.
      {2, L"VW1", {L"400001", L"400002", L"400003", L"400004"}, Cells(8, 16)},
      {3, L"VD1", {L"400001", L"400002", L"400003", L"400004"}, Cells(8, 32)},
      {2, L"AIW2", {L"300002", L"300003", L"300004", L"300005"}, Cells(0, 16)},
      // A bit of a holding register, also numbered as a coil after the last coil region (end 80).
      {0, L"V2.1", {L"400002:000657", L"400003:000673", L"400004:000689", L"400005:000705"}, Cells(1, 1)},
  };
  for (const Case& c : cases) {
    const ModbusAddressView view = ComputeModbusAddressView(map, c.width, c.operand);
    ASSERT_TRUE(view.Valid) << c.operand;
    for (size_t r = 0; r < 4; ++r) EXPECT_EQ(view.RowLabels[r], c.labels[r]) << c.operand << " row " << r;
    EXPECT_EQ(view.Covered, c.covered) << c.operand;
  }
  // Nothing that leads to a Modbus number: no width, empty, malformed, wrong width for the
  // operand, a region without a Modbus table.
  const std::pair<int, const wchar_t*> failures[] = {{-1, L"Q0.0"}, {0, L""},    {0, L"#?"},
                                                      {0, L"VW0"},   {2, L"Q0.0"}, {0, L"L0.0"}, {4, L"Q0.0"}};
  for (const auto& [width, operand] : failures) {
    const ModbusAddressView view = ComputeModbusAddressView(map, width, operand);
    EXPECT_FALSE(view.Valid) << operand;
    EXPECT_EQ(view.Covered, 0u) << operand;
    for (const std::wstring& label : view.RowLabels) EXPECT_TRUE(label.empty()) << operand;
  }
  EXPECT_EQ(FormatModbusNumber(1234567, L'4'), L"4234567");
}

TEST(ModbusAddressQuery, DigitGroupsCoverFourBitsEach) {
  const MemoryAreaManager map = LoadMap("TypeFx");
  // K2M3: 8 bits from M3; M starts at byte 16 of the coils.
  const ModbusAddressView view = ComputeModbusAddressView(map, 2, L"K2M3");
  ASSERT_TRUE(view.Valid);
  EXPECT_EQ(view.RowLabels[0], L"000129");
  EXPECT_EQ(view.Covered, Cells(3, 8));
}

TEST(ModbusAddressQuery, DialogRecomputesOnEveryChange) {
  SetCurrentLanguage(kLanguageEnglish);
  const MemoryAreaManager map = LoadMap("TypeA");
  std::wstring askedFormat;
  CModbusAddressQueryDlg dialog(nullptr, map, [&](QWidget*, const std::wstring& format, std::wstring& operand) {
    askedFormat = format;
    operand = L"VD1";
    return true;
  });
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("MODBUS Address Query"));
  EXPECT_EQ(dialog.TypeList()->currentText(), QStringLiteral("BOOL"));
  EXPECT_TRUE(dialog.OperandEdit()->text().isEmpty());
  for (int r = 0; r < 4; ++r) {
    EXPECT_TRUE(dialog.RowLabel(r)->text().isEmpty());
    for (int c = 0; c < 16; ++c) EXPECT_FALSE(dialog.CellCovered(r, c));
  }
  EXPECT_NE(dialog.findChild<QLabel*>(QStringLiteral("Cell163")), nullptr);  // 100 + 16 * 3 + 15

  dialog.OperandEdit()->setText(QStringLiteral("Q2.3"));
  EXPECT_EQ(dialog.RowLabel(0)->text(), QStringLiteral("000017"));
  EXPECT_EQ(dialog.RowLabel(3)->text(), QStringLiteral("000065"));
  EXPECT_TRUE(dialog.CellCovered(0, 3));
  EXPECT_FALSE(dialog.CellCovered(0, 4));
  EXPECT_NE(dialog.Cell(0, 3)->pixmap().toImage(), dialog.Cell(0, 4)->pixmap().toImage());

  // A width that does not fit the operand empties the display.
  dialog.TypeList()->setCurrentIndex(2);
  emit dialog.TypeList()->activated(2);
  EXPECT_TRUE(dialog.RowLabel(0)->text().isEmpty());
  EXPECT_FALSE(dialog.CellCovered(0, 3));

  dialog.TypeList()->setCurrentIndex(3);
  emit dialog.TypeList()->activated(3);
  dialog.ReferenceButton()->click();
  EXPECT_EQ(askedFormat, L"Dv:");
  EXPECT_EQ(dialog.OperandEdit()->text(), QStringLiteral("VD1"));
  EXPECT_TRUE(dialog.CellCovered(2, 7));
  EXPECT_FALSE(dialog.CellCovered(2, 8));

  QTimer::singleShot(0, [&] { dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);

  SetCurrentLanguage(kLanguageChinese);
  CModbusAddressQueryDlg chinese(nullptr, map);
  EXPECT_EQ(chinese.windowTitle(), QStringLiteral("MODBUS地址查询"));
  EXPECT_EQ(chinese.ReferenceButton()->text(), QStringLiteral("参照"));
  chinese.ReferenceButton()->click();  // without a picker nothing happens
  SetCurrentLanguage(kLanguageEnglish);
}

}  // namespace
}  // namespace Brenno
