#include "ui/shell/modbus_address_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "core/env/language.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// Dialog units of the layout to pixels (the usual 8-point dialog font).
int Dx(int units) { return units * 3 / 2; }
int Dy(int units) { return units * 13 / 8; }
QRect DialogRect(int x, int y, int width, int height) { return QRect(Dx(x), Dy(y), Dx(width), Dy(height)); }

// A 16 x 16 bit picture: a sunken empty box, or the same box filled for a covered bit.
QPixmap BitIcon(bool covered) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(96, 96, 96));
  painter.setBrush(covered ? QColor(0, 160, 0) : QColor(255, 255, 255));
  painter.drawRect(1, 1, 13, 13);
  return pixmap;
}

}  // namespace

CModbusAddressQueryDlg::CModbusAddressQueryDlg(QWidget* parent, const MemoryAreaManager& manager,
                                               ModbusOperandPicker picker)
    : QDialog(parent), manager_(manager), picker_(std::move(picker)), bitIcon_(BitIcon(false)),
      coveredIcon_(BitIcon(true)) {
  setWindowTitle(Pick(L"MODBUS Address Query", L"MODBUS地址查询"));
  // The bit cells start at x = 94 unless the widest row label ("4xxxxx:0yyyyy") needs more room
  // in this font.
  const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("400001:000001")) + 4;
  const int gridX = std::max(94, Dx(4) + labelWidth + 4);
  setFixedSize(std::max(Dx(276), gridX + 18 * kModbusQueryColumns + Dx(4)), Dy(116));

  typeList_ = new QComboBox(this);
  typeList_->setObjectName(QStringLiteral("TypeList"));
  typeList_->setGeometry(DialogRect(34, 5, 56, 13));
  typeList_->addItems({QStringLiteral("BOOL"), QStringLiteral("BYTE"), QStringLiteral("WORD"), QStringLiteral("DWORD")});
  operand_ = new QLineEdit(this);
  operand_->setObjectName(QStringLiteral("Operand"));
  operand_->setGeometry(DialogRect(96, 5, 91, 13));
  reference_ = new QPushButton(Pick(L"Reference", L"参照"), this);
  reference_->setObjectName(QStringLiteral("Reference"));
  reference_->setAutoDefault(false);
  reference_->setGeometry(DialogRect(190, 4, 50, 14));

  for (int c = 0; c < kModbusQueryColumns; ++c) {
    auto* header = new QLabel(QString::number(c), this);
    header->setAlignment(Qt::AlignCenter);
    // Centred over the bit cells below.
    header->setGeometry(gridX + 18 * c - 1, Dy(25), 18, Dy(8) + 2);
  }
  for (int r = 0; r < kModbusQueryRows; ++r) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Row%1").arg(r));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(Dx(4), 60 + 20 * r, labelWidth, 16);
    rowLabels_[static_cast<size_t>(r)] = label;
    for (int c = 0; c < kModbusQueryColumns; ++c) {
      auto* cell = new QLabel(this);
      cell->setObjectName(QStringLiteral("Cell%1").arg(100 + kModbusQueryColumns * r + c));
      cell->setGeometry(gridX + 18 * c, 60 + 20 * r, 16, 16);
      cell->setPixmap(bitIcon_);
      cells_[static_cast<size_t>(kModbusQueryColumns * r + c)] = cell;
    }
  }
  auto* ok = new QPushButton(Pick(L"OK", L"确认"), this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setDefault(true);
  ok->setGeometry(DialogRect(112, 94, 50, 14));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  typeList_->setCurrentIndex(0);
  Recompute();
  // QComboBox::activated is the end of a selection made by the user.
  connect(typeList_, &QComboBox::activated, this, [this](int) { Recompute(); });
  connect(operand_, &QLineEdit::textChanged, this, [this](const QString&) { Recompute(); });
  connect(reference_, &QPushButton::clicked, this, &CModbusAddressQueryDlg::OnReference);
}

bool CModbusAddressQueryDlg::CellCovered(int row, int column) const { return view_.IsCovered(row, column); }

QLabel* CModbusAddressQueryDlg::Cell(int row, int column) const {
  return cells_[static_cast<size_t>(kModbusQueryColumns * row + column)];
}

void CModbusAddressQueryDlg::Recompute() {
  // Changes made while the display is rebuilt do not start another rebuild.
  if (recomputing_) return;
  recomputing_ = true;
  view_ = ComputeModbusAddressView(manager_, typeList_->currentIndex(), operand_->text().toStdWString());
  for (int r = 0; r < kModbusQueryRows; ++r) {
    rowLabels_[static_cast<size_t>(r)]->setText(QString::fromStdWString(view_.RowLabels[static_cast<size_t>(r)]));
    for (int c = 0; c < kModbusQueryColumns; ++c) Cell(r, c)->setPixmap(view_.IsCovered(r, c) ? coveredIcon_ : bitIcon_);
  }
  recomputing_ = false;
}

void CModbusAddressQueryDlg::OnReference() {
  const wchar_t* format = ModbusQueryFormat(typeList_->currentIndex());
  if (format == nullptr || !picker_) return;
  std::wstring operand = operand_->text().toStdWString();
  if (picker_(this, format, operand)) operand_->setText(QString::fromStdWString(operand));
}

bool RunModbusAddressQuery(QWidget* owner, const MemoryAreaManager& manager, ModbusOperandPicker picker) {
  CModbusAddressQueryDlg dialog(owner, manager, std::move(picker));
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace Brenno
