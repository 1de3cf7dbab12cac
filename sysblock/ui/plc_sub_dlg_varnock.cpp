#include "sysblock/ui/plc_sub_dlg_varnock.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sysblock/ui/plc_sub_dlg_analog_input.h"
#include "sysblock/ui/plc_sub_dlg_temperature.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

struct RowIds {
  int typeList, lower, upper, label, forceValue, forceBox;
};

// Channel k's controls: bank 1 (k < 6) shares its ids with the six-channel thermocouple module.
RowIds ChannelIds(size_t k) {
  static constexpr int kBank1Lists[6] = {30583, 30584, 30585, 30586, 30593, 30594};
  static constexpr int kBank2Lists[6] = {30588, 30589, 30590, 30591, 30595, 30596};
  const int i = static_cast<int>(k % 6);
  if (k < 6) return {kBank1Lists[i], 30597 + i, 30625 + i, 30646 + i, 30714 + i, 30720 + i};
  return {kBank2Lists[i], 33001 + i, 33007 + i, 33079 + i, 33032 + i, 33039 + i};
}

// The captions of the rows: "TC0：" to "TC9：", then "TC10:" and "TC11:".
QString RowCaption(size_t k) { return k < 10 ? QStringLiteral("TC%1：").arg(k) : QStringLiteral("TC%1:").arg(k); }

}  // namespace

CPlcSubDlgVarnock::CPlcSubDlgVarnock(VarnockParams& params, int language, QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  auto named = [](QWidget* w, int id) {
    w->setObjectName(CPropertyPage::ControlName(id));
    return w;
  };
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QStringLiteral("Varnock"), this);
  named(outer, 30580);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);
  auto* columns = new QHBoxLayout;
  body->addLayout(columns);

  auto* channels = new QGroupBox(T(L"Analogue Input", L"模拟量输入"), outer);
  named(channels, 30582);
  columns->addWidget(channels);
  auto* grid = new QGridLayout(channels);
  grid->addWidget(named(new QLabel(T(L"Signal Type：", L"信号类型："), channels), 30587), 0, 1);
  grid->addWidget(named(new QLabel(T(L"Temperature Floor：", L"温度下限："), channels), 30631), 0, 2);
  grid->addWidget(named(new QLabel(T(L"Temperature Cap：", L"温度上限："), channels), 30632), 0, 3);

  auto* force = new QGroupBox(T(L"Force", L"强制"), outer);
  named(force, 30713);
  columns->addWidget(force);
  auto* forceGrid = new QGridLayout(force);
  forceGrid->addWidget(new QLabel(QString(), force), 0, 0);

  // Bank 2 below bank 1, in a frame of its own that the Chinese form keeps hidden.
  bank2_ = new QWidget(outer);
  auto* bank2Grid = new QGridLayout(bank2_);
  bank2Grid->setContentsMargins(0, 0, 0, 0);
  body->addWidget(bank2_);
  bank2_->setVisible(language_ == 1);

  for (size_t k = 0; k < kChannels; ++k) {
    const RowIds ids = ChannelIds(k);
    const bool first = k < kBank;
    QWidget* rowParent = first ? static_cast<QWidget*>(channels) : bank2_;
    QWidget* forceParent = first ? static_cast<QWidget*>(force) : bank2_;
    QGridLayout* rows = first ? grid : bank2Grid;
    QGridLayout* forceRows = first ? forceGrid : bank2Grid;
    const int row = first ? static_cast<int>(k) + 1 : static_cast<int>(k - kBank);
    const int forceColumn = first ? 0 : 4;

    labels_[k] = new QLabel(RowCaption(k), rowParent);
    named(labels_[k], ids.label);
    rows->addWidget(labels_[k], row, 0);

    QComboBox* list = MakeTypeList(rowParent, ids.typeList);
    for (const auto& entry : kThermocoupleTypes) list->addItem(T(entry[0], entry[1]));
    typeLists_[k] = list;
    rows->addWidget(list, row, 1);

    lowerEdits_[k] = Edit(rowParent, ids.lower);
    upperEdits_[k] = Edit(rowParent, ids.upper);
    rows->addWidget(lowerEdits_[k], row, 2);
    rows->addWidget(upperEdits_[k], row, 3);

    forceValues_[k] = Edit(forceParent, ids.forceValue);
    forceRows->addWidget(forceValues_[k], row, forceColumn);
    forceBoxes_[k] =
        AddForceBox(forceParent, forceRows, row, forceColumn + 1, ids.forceBox, [this, k] { OnForceBox(k); });
  }

  auto* bottom = new QHBoxLayout;
  body->addLayout(bottom);
  coldJunction_ = AddColdJunctionList(outer, bottom);
  bottom->addStretch(1);
  bottom->addWidget(MakeDefaultButton(outer, 30581, L"Default", L"默认"));
  UpdateData(false);
}

bool CPlcSubDlgVarnock::UpdateData(bool save) {
  for (size_t k = 0; k < kChannels; ++k) {
    if (save)
      params_.sensorIndex[k] = ListIndex(typeLists_[k]);
    else
      PutListIndex(typeLists_[k], params_.sensorIndex[k]);
  }
  for (size_t k = 0; k < kChannels; ++k)
    if (!ExchangeFloat(lowerEdits_[k], save, params_.lowerLimits[k])) return false;
  for (size_t k = 0; k < kChannels; ++k)
    if (!ExchangeFloat(upperEdits_[k], save, params_.upperLimits[k])) return false;
  for (size_t k = 0; k < kChannels; ++k)
    if (!ExchangeFloat(forceValues_[k], save, params_.forceValues[k])) return false;
  if (save)
    params_.coldJunctionIndex = ListIndex(coldJunction_);
  else
    PutListIndex(coldJunction_, params_.coldJunctionIndex);
  for (size_t k = 0; k < kChannels; ++k) {
    ExchangeCheck(forceBoxes_[k], save, params_.forceFlags[k]);
  }
  if (!save) {
    // The row labels show the record's addresses once one is loaded.
    for (size_t k = 0; k < kBank; ++k)
      labels_[k]->setText(params_.rowLabels[k].empty() ? RowCaption(k) : QString::fromStdWString(params_.rowLabels[k]));
    // Each force value edit is shown exactly when its channel is forced.
    for (size_t k = 0; k < kChannels; ++k) forceValues_[k]->setVisible(params_.forceFlags[k] == 1);
  }
  return true;
}

void CPlcSubDlgVarnock::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

void CPlcSubDlgVarnock::OnForceBox(size_t channel) {
  FollowForceBox(forceBoxes_[channel], forceValues_[channel], params_.forceFlags[channel]);
}

}  // namespace corvell
