#include "sysblock/ui/plc_sub_dlg_temperature.h"

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
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/value_edit_filter.h"

namespace corvell {

const wchar_t* const kThermocoupleTypes[5][2] = {{L"S Thermocouple", L"S热电偶"},
                                                 {L"K Thermocouple", L"K热电偶"},
                                                 {L"B Thermocouple", L"B热电偶"},
                                                 {L"Show Potential", L"显示电势值"},
                                                 {L"J Thermocouple", L"J热电偶"}};
const wchar_t* const kResistanceTypes[6][2] = {
    {L"Pt100 Thermal Resistance", L"Pt100热电阻"},   {L"Cu50 Thermal Resistance", L"Cu50热电阻"},
    {L"Cu100 Thermal Resistance", L"Cu100热电阻"},   {L"Show Resistance", L"显示阻值"},
    {L"Pt1000 Thermal Resistance", L"Pt1000热电阻"}, {L"NI1000 Thermal Resistance", L"NI1000热电阻"}};
const wchar_t* const kColdJunctionTypes[3][2] = {
    {L"Cu50", L"Cu50"}, {L"25 degrees", L"25度"}, {L"No compensation", L"不补偿"}};

namespace {

using Ids = CTemperatureInputSubDlg::Ids;

constexpr Ids Run(int first) { return {first, first + 1, first + 2, first + 3, first + 4, first + 5}; }

const CTemperatureInputSubDlg::Layout kOskavelLayout = {.model = L"Oskavel",
                                                        .outerGroup = 30580,
                                                        .defaultButton = 30581,
                                                        .channelGroup = 30582,
                                                        .sensorCaption = 30587,
                                                        .lowerCaption = 30631,
                                                        .upperCaption = 30632,
                                                        .forceGroup = 30713,
                                                        .sensorLists = {30583, 30584, 30585, 30586, 30593, 30594},
                                                        .lowerEdits = Run(30597),
                                                        .upperEdits = Run(30625),
                                                        .labels = Run(30646),
                                                        .forceValues = Run(30714),
                                                        .forceBoxes = Run(30720),
                                                        .sensorCaptionEnglish = L"Signal Type：",
                                                        .sensorCaptionChinese = L"信号类型：",
                                                        .labelFormat = L"TC%1："};

// Nuvask has four channels: only the first four ids of each column are used.
const CTemperatureInputSubDlg::Layout kNuvaskLayout = {.model = L"Nuvask",
                                                       .outerGroup = 30563,
                                                       .defaultButton = 30564,
                                                       .channelGroup = 30565,
                                                       .sensorCaption = 30570,
                                                       .lowerCaption = 30623,
                                                       .upperCaption = 30624,
                                                       .forceGroup = 30704,
                                                       .sensorLists = Run(30566),
                                                       .lowerEdits = Run(30576),
                                                       .upperEdits = Run(30619),
                                                       .labels = Run(30642),
                                                       .forceValues = Run(30705),
                                                       .forceBoxes = Run(30709),
                                                       .sensorCaptionEnglish = L"Sensor Type：",
                                                       .sensorCaptionChinese = L"传感器类型：",
                                                       .labelFormat = L"RTD%1"};

void Exchange(QLineEdit* edit, bool save, std::wstring& value) {
  if (save)
    value = edit->text().toStdWString();
  else
    edit->setText(QString::fromStdWString(value));
}

}  // namespace

CTemperatureInputSubDlg::CTemperatureInputSubDlg(TemperatureInputParams& params, const Layout& ids, int language,
                                                 QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent),
      params_(params),
      labelFormat_(QString::fromWCharArray(ids.labelFormat)),
      keyFilter_(new CValueEditKeyFilter(this)) {
  auto named = [](QWidget* w, int id) {
    w->setObjectName(CPropertyPage::ControlName(id));
    return w;
  };
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QString::fromWCharArray(ids.model), this);
  named(outer, ids.outerGroup);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);
  auto* columns = new QHBoxLayout;
  body->addLayout(columns);

  auto* channels = new QGroupBox(T(L"Analogue Input", L"模拟量输入"), outer);
  named(channels, ids.channelGroup);
  columns->addWidget(channels);
  auto* grid = new QGridLayout(channels);
  grid->addWidget(named(new QLabel(T(ids.sensorCaptionEnglish, ids.sensorCaptionChinese), channels), ids.sensorCaption),
                  0, 1);
  grid->addWidget(named(new QLabel(T(L"Temperature Floor：", L"温度下限："), channels), ids.lowerCaption), 0, 2);
  grid->addWidget(named(new QLabel(T(L"Temperature Cap：", L"温度上限："), channels), ids.upperCaption), 0, 3);

  auto* force = new QGroupBox(T(L"Force", L"强制"), outer);
  named(force, ids.forceGroup);
  columns->addWidget(force);
  auto* forceGrid = new QGridLayout(force);
  forceGrid->addWidget(new QLabel(QString(), force), 0, 0);

  const bool thermocouple = params_.hasColdJunction();
  auto valueEdit = [this](QWidget* parent, int id) {
    QLineEdit* edit = Edit(parent, id);
    keyFilter_->Watch(edit);
    return edit;
  };
  for (size_t i = 0; i < params_.channelCount(); ++i) {
    const int row = static_cast<int>(i) + 1;
    labels_[i] = new QLabel(labelFormat_.arg(i), channels);
    named(labels_[i], ids.labels[i]);
    grid->addWidget(labels_[i], row, 0);

    QComboBox* list = MakeTypeList(channels, ids.sensorLists[i]);
    if (thermocouple)
      for (const auto& entry : kThermocoupleTypes) list->addItem(T(entry[0], entry[1]));
    else
      for (const auto& entry : kResistanceTypes) list->addItem(T(entry[0], entry[1]));
    sensorLists_[i] = list;
    grid->addWidget(list, row, 1);

    lowerEdits_[i] = valueEdit(channels, ids.lowerEdits[i]);
    upperEdits_[i] = valueEdit(channels, ids.upperEdits[i]);
    grid->addWidget(lowerEdits_[i], row, 2);
    grid->addWidget(upperEdits_[i], row, 3);

    forceValues_[i] = valueEdit(force, ids.forceValues[i]);
    forceGrid->addWidget(forceValues_[i], row, 0);
    forceBoxes_[i] = AddForceBox(force, forceGrid, row, 1, ids.forceBoxes[i], [this, i] { OnForceBox(i); });
  }
  auto* bottom = new QHBoxLayout;
  body->addLayout(bottom);
  if (thermocouple) coldJunction_ = AddColdJunctionList(outer, bottom);
  bottom->addStretch(1);
  bottom->addWidget(MakeDefaultButton(outer, ids.defaultButton, L"Default", L"默认"));
  UpdateData(false);
}

bool CTemperatureInputSubDlg::UpdateData(bool save) {
  const size_t count = params_.channelCount();
  for (size_t i = 0; i < count; ++i) {
    TemperatureChannel& ch = params_.channels[i];
    if (save)
      ch.sensorIndex = ListIndex(sensorLists_[i]);
    else
      PutListIndex(sensorLists_[i], ch.sensorIndex);
    Exchange(lowerEdits_[i], save, ch.lowerLimit);
    Exchange(upperEdits_[i], save, ch.upperLimit);
    Exchange(forceValues_[i], save, ch.forceValue);
    // The labels show the record's addresses once one is loaded; they are never read back.
    if (!save) labels_[i]->setText(ch.label.empty() ? labelFormat_.arg(i) : QString::fromStdWString(ch.label));
    ExchangeCheck(forceBoxes_[i], save, ch.forceFlag);
  }
  if (coldJunction_ != nullptr) {
    if (save)
      params_.coldJunctionIndex = ListIndex(coldJunction_);
    else
      PutListIndex(coldJunction_, params_.coldJunctionIndex);
  }
  // Each force value edit is shown exactly when its channel is forced.
  if (!save)
    for (size_t i = 0; i < count; ++i) forceValues_[i]->setVisible(params_.channels[i].forceFlag == 1);
  return true;
}

void CTemperatureInputSubDlg::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

void CTemperatureInputSubDlg::OnForceBox(size_t channel) {
  FollowForceBox(forceBoxes_[channel], forceValues_[channel], params_.channels[channel].forceFlag);
}

CPlcSubDlgTCCls::CPlcSubDlgTCCls(TemperatureInputParams& params, int language, QWidget* parent)
    : CTemperatureInputSubDlg(params, kOskavelLayout, language, parent) {}

CPlcSubDlgRTDCls::CPlcSubDlgRTDCls(TemperatureInputParams& params, int language, QWidget* parent)
    : CTemperatureInputSubDlg(params, kNuvaskLayout, language, parent) {}

}  // namespace corvell
