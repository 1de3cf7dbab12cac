#include "sysblock/ui/plc_sub_dlg_digital_output.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

const DigitalOutputLayout kVoskelLayout = {
    L"Voskel", 30524, 30525, 30526, {L"Communication Failures Output", L"通讯故障输出"}, 30527, 30528,
    {L"All Choose", L"全选"}, 30529, {L"Address Range：", L"地址范围："}, 30530, 30680, {L"Force", L"强制"}, 30681,
    {30689, 0, 0, 0}};

// Dorvane has Belquin's layout with every id 45 higher.
DigitalOutputLayout SixteenOutputLayout(const wchar_t* model, int shift) {
  return {model,
          30741 + shift,
          30742 + shift,
          30743 + shift,
          {L"Communication Failures Output", L"通讯故障输出"},
          30744 + shift,
          30745 + shift,
          {L"All Choose", L"全选"},
          30746 + shift,
          {L"Address Range：", L"地址范围："},
          30747 + shift,
          30763 + shift,
          {L"Force", L"强制"},
          30766 + shift,
          {30764 + shift, 30765 + shift, 0, 0}};
}

const DigitalOutputLayout kGlostraLayout = {
    L"Glostra", 30741, 50051, 30743, {L"Communication Error", L"通讯故障输出"}, 50117, 50052,
    {L"Select all", L"全选"}, 30746, {L"Address：", L"地址范围："}, 50053, 30763, {L"Forced", L"强制"}, 50085,
    {50118, 50119, 50120, 50121}};

}  // namespace

template <size_t Points>
CDigitalOutputSubDlg<Points>::CDigitalOutputSubDlg(DigitalOutputParams<Points>& params,
                                                   const DigitalOutputLayout& ids, int language, QWidget* parent)
    : CDigitalModuleSubDlg(language, parent), params_(params) {
  constexpr int kRows = static_cast<int>(Points / 8);
  auto* layout = new QVBoxLayout(this);
  QGroupBox* outer = Group(this, QString::fromWCharArray(ids.model), ids.outerGroup);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);

  QGroupBox* commFail = Group(outer, T(ids.commFailCaption[0], ids.commFailCaption[1]), ids.commFailGroup);
  auto* commLayout = new QVBoxLayout(commFail);
  auto* head = new QHBoxLayout;
  head->addWidget(Text(commFail, T(ids.rangeCaptionText[0], ids.rangeCaptionText[1]), ids.rangeCaption));
  head->addWidget(BoundLabel(commFail, params_.addressRangeLabel, ids.rangeLabel));
  head->addStretch(1);
  selectAll_ = TwoStateBox(commFail, T(ids.selectAllCaption[0], ids.selectAllCaption[1]), params_.selectAll,
                           ids.selectAll);
  connect(selectAll_, &QCheckBox::clicked, this, [this] { OnSelectAll(); });
  head->addWidget(selectAll_);
  commLayout->addLayout(head);
  auto* commGrid = new QGridLayout;
  commLayout->addLayout(commGrid);
  for (int row = 0; row < kRows; ++row) {
    PointRow(commGrid, row, nullptr, std::span<int>(params_.commFailStates).subspan(row * 8, 8),
             ids.firstCommFailBox + row * 8);
  }
  for (size_t i = 0; i < Points; ++i)
    commFailBoxes_[i] = commFail->findChild<QCheckBox*>(CPropertyPage::ControlName(ids.firstCommFailBox + int(i)));
  body->addWidget(commFail);

  QGroupBox* force = Group(outer, T(ids.forceCaption[0], ids.forceCaption[1]), ids.forceGroup);
  auto* forceGrid = new QGridLayout(force);
  for (int row = 0; row < kRows; ++row) {
    PointRow(forceGrid, row, BoundLabel(force, params_.forceRowLabels[row], ids.forceRowLabels[row]),
             std::span<int>(params_.forceStates).subspan(row * 8, 8), ids.firstForceBox + row * 8);
  }
  body->addWidget(force);
  body->addWidget(MakeDefaultButton(outer, ids.defaultButton), 0, Qt::AlignLeft);
  UpdateData(false);
}

template <size_t Points>
void CDigitalOutputSubDlg<Points>::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

template <size_t Points>
void CDigitalOutputSubDlg<Points>::OnSelectAll() {
  const Qt::CheckState state = selectAll_->isChecked() ? Qt::Checked : Qt::Unchecked;
  for (QCheckBox* box : commFailBoxes_) box->setCheckState(state);
}

template class CDigitalOutputSubDlg<8>;
template class CDigitalOutputSubDlg<16>;
template class CDigitalOutputSubDlg<32>;

CPlcSubDlgDOCls::CPlcSubDlgDOCls(DigitalOutputParams<8>& params, int language, QWidget* parent)
    : CDigitalOutputSubDlg<8>(params, kVoskelLayout, language, parent) {}

CPlcSubDlgDO16Cls::CPlcSubDlgDO16Cls(DigitalOutputParams<16>& params, int language, QWidget* parent)
    : CDigitalOutputSubDlg<16>(params, SixteenOutputLayout(L"Belquin", 0), language, parent) {}

CPlcSubDlgDO16RCls::CPlcSubDlgDO16RCls(DigitalOutputParams<16>& params, int language, QWidget* parent)
    : CDigitalOutputSubDlg<16>(params, SixteenOutputLayout(L"Dorvane", 45), language, parent) {}

PlcSubDlgGlostra::PlcSubDlgGlostra(DigitalOutputParams<32>& params, int language, QWidget* parent)
    : CDigitalOutputSubDlg<32>(params, kGlostraLayout, language, parent) {}

}  // namespace corvell
