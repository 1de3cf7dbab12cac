#include "sysblock/ui/plc_sub_dlg_analog_output_fixed.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

const FixedRangeOutputLayout kSolvindLayout = {L"Solvind", 50124, 50148};
const FixedRangeOutputLayout kTrevasseLayout = {L"Trevasse", 50149, 50167};

QLabel* RightAligned(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

template <size_t Channels>
CFixedRangeOutputSubDlg<Channels>::CFixedRangeOutputSubDlg(FixedRangeOutputParams<Channels>& params,
                                                           const FixedRangeOutputLayout& ids, int language,
                                                           QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QString::fromWCharArray(ids.model), this);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);
  auto* columns = new QHBoxLayout;
  body->addLayout(columns);

  // Row caption, the fixed range 0 to 100 and the stop output of each channel.
  auto* grid = new QGridLayout;
  columns->addLayout(grid);
  grid->addWidget(new QLabel(T(L"Project Floor：", L"工程下限："), outer), 0, 1);
  grid->addWidget(new QLabel(T(L"Project Cap：", L"工程上限："), outer), 0, 2);
  grid->addWidget(new QLabel(T(L"Output：", L"停机输出："), outer), 0, 3);

  auto* force = new QGroupBox(T(L"Force", L"强制"), outer);
  columns->addWidget(force);
  auto* forceGrid = new QGridLayout(force);

  for (size_t i = 0; i < Channels; ++i) {
    const int row = static_cast<int>(i) + 1;
    const int id = ids.firstStopOutput + 3 * static_cast<int>(i);
    // Fixed captions: they do not follow the module's output addresses.
    grid->addWidget(new QLabel(QStringLiteral("AO%1").arg(i), outer), row, 0);
    grid->addWidget(RightAligned(outer, QStringLiteral("0")), row, 1);
    grid->addWidget(RightAligned(outer, QStringLiteral("100")), row, 2);
    stopEdits_[i] = Edit(outer, id);
    grid->addWidget(stopEdits_[i], row, 3);

    forceEdits_[i] = Edit(force, id + 1);
    forceGrid->addWidget(forceEdits_[i], static_cast<int>(i), 0);
    forceBoxes_[i] =
        this->AddForceBox(force, forceGrid, static_cast<int>(i), 1, id + 2, [this, i] { OnForceBox(i); });
  }
  body->addWidget(MakeDefaultButton(outer, ids.defaultButton, L"Defalut", L"默认"), 0, Qt::AlignLeft);
  UpdateData(false);
}

template <size_t Channels>
bool CFixedRangeOutputSubDlg<Channels>::UpdateData(bool save) {
  for (size_t i = 0; i < Channels; ++i)
    if (!ExchangeByte(stopEdits_[i], save, params_.stopOutputs[i])) return false;
  for (size_t i = 0; i < Channels; ++i)
    if (!ExchangeFloat(forceEdits_[i], save, params_.forceValues[i])) return false;
  for (size_t i = 0; i < Channels; ++i) {
    this->ExchangeCheck(forceBoxes_[i], save, params_.forceFlags[i]);
  }
  if (!save) ShowForceEdits();
  return true;
}

template <size_t Channels>
void CFixedRangeOutputSubDlg<Channels>::ShowForceEdits() {
  for (size_t i = 0; i < Channels; ++i) forceEdits_[i]->setVisible(params_.forceFlags[i] == 1);
}

template <size_t Channels>
void CFixedRangeOutputSubDlg<Channels>::OnForceBox(size_t channel) {
  this->FollowForceBox(forceBoxes_[channel], forceEdits_[channel], params_.forceFlags[channel]);
}

template <size_t Channels>
void CFixedRangeOutputSubDlg<Channels>::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
  for (QLineEdit* edit : forceEdits_) edit->hide();
}

template class CFixedRangeOutputSubDlg<8>;
template class CFixedRangeOutputSubDlg<6>;

CPlcSubDlgSolvind::CPlcSubDlgSolvind(FixedRangeOutputParams<8>& params, int language, QWidget* parent)
    : CFixedRangeOutputSubDlg<8>(params, kSolvindLayout, language, parent) {}

CPlcSubDlgTrevasse::CPlcSubDlgTrevasse(FixedRangeOutputParams<6>& params, int language, QWidget* parent)
    : CFixedRangeOutputSubDlg<6>(params, kTrevasseLayout, language, parent) {}

}  // namespace corvell
