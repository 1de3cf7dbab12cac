#include "sysblock/ui/plc_sub_dlg_analog_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sysblock/ui/plc_sub_dlg_pulse_input.h"
#include "sysblock/ui/plc_sub_dlg_temperature.h"
#include "sysblock/ui/plc_sub_dlg_uvendar.h"
#include "sysblock/ui/plc_sub_dlg_varnock.h"
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/value_edit_filter.h"

namespace corvell {

namespace {

using Ids = AnalogInputLayout::Ids;

// Eight consecutive ids.
constexpr Ids Run(int first) {
  return {first, first + 1, first + 2, first + 3, first + 4, first + 5, first + 6, first + 7};
}
// Channels 0-3 from `low` on, channels 4-7 from `high` on.
constexpr Ids Split(int low, int high) { return {low, low + 1, low + 2, low + 3, high, high + 1, high + 2, high + 3}; }

constexpr std::array<const wchar_t*, 4> kCurrent = {L"0-20mA", L"4-20mA", nullptr, nullptr};
constexpr std::array<const wchar_t*, 4> kVoltage = {L"0-5V", L"0-10V", nullptr, nullptr};
constexpr std::array<const wchar_t*, 4> kJorlithTypes = {L"0-10V", L"0-5V", L"0-20mA", L"4-20mA"};

// Istrel and Jorlith share their control ids; they differ in their model and signal lists.
AnalogInputLayout IstrelIds(const wchar_t* model, std::array<const wchar_t*, 4> low,
                            std::array<const wchar_t*, 4> high) {
  return {.model = model,
          .englishCaptions = false,
          .outerGroup = 30538,
          .defaultButton = 30539,
          .channelGroup = 30540,
          .forceGroup = 30690,
          .labels = Split(30634, 40036),
          .signalLists = Split(30541, 40040),
          .engineeringLower = Split(30603, 40044),
          .engineeringUpper = Split(30607, 40048),
          .alarmLower = Split(30735, 40052),
          .alarmUpper = Split(30730, 40056),
          .forceValues = Split(30726, 40060),
          .forceBoxes = Run(40064),
          .lowSignalTypes = low,
          .highSignalTypes = high};
}

const AnalogInputLayout kQuenlowLayout = {.model = L"Quenlow",
                                          .englishCaptions = false,
                                          .outerGroup = 30870,
                                          .defaultButton = 30871,
                                          .channelGroup = 30872,
                                          .forceGroup = 30936,
                                          .labels = Run(30873),
                                          .signalLists = Run(30882),
                                          .engineeringLower = Run(30901),
                                          .engineeringUpper = Run(30910),
                                          .alarmLower = Run(30919),
                                          .alarmUpper = Run(30928),
                                          .forceValues = Run(30937),
                                          .forceBoxes = Run(30945),
                                          .lowSignalTypes = kCurrent,
                                          .highSignalTypes = kCurrent};
const AnalogInputLayout kRastokLayout = {.model = L"Rastok",
                                         .englishCaptions = false,
                                         .outerGroup = 40086,
                                         .defaultButton = 40087,
                                         .channelGroup = 40088,
                                         .forceGroup = 40142,
                                         .labels = Run(40089),
                                         .signalLists = Run(40098),
                                         .engineeringLower = Run(40107),
                                         .engineeringUpper = Run(40116),
                                         .alarmLower = Run(40125),
                                         .alarmUpper = Run(40134),
                                         .forceValues = Run(40143),
                                         .forceBoxes = Run(40151),
                                         .lowSignalTypes = kVoltage,
                                         .highSignalTypes = kVoltage};
// Pruvel has four channels: only the first four ids of each column are used.
const AnalogInputLayout kPruvelLayout = {.model = L"Pruvel",
                                         .englishCaptions = true,
                                         .outerGroup = 30827,
                                         .defaultButton = 30828,
                                         .channelGroup = 30829,
                                         .forceGroup = 30849,
                                         .labels = Run(30845),
                                         .signalLists = Run(30830),
                                         .engineeringLower = Run(30835),
                                         .engineeringUpper = Run(30839),
                                         .alarmLower = Run(30863),
                                         .alarmUpper = Run(30858),
                                         .forceValues = Run(30854),
                                         .forceBoxes = Run(30850),
                                         .lowSignalTypes = kVoltage,
                                         .highSignalTypes = kVoltage};

void Exchange(QLineEdit* edit, bool save, std::wstring& value) {
  if (save)
    value = edit->text().toStdWString();
  else
    edit->setText(QString::fromStdWString(value));
}

}  // namespace

void PutListIndex(QComboBox* list, int index) {
  const int shown = index >= 0 && index < list->count() ? index : -1;
  list->setCurrentIndex(shown);
  if (shown < 0 && list->isEditable()) list->setEditText(QString());
}

int ListIndex(const QComboBox* list) {
  if (!list->isEditable()) return list->currentIndex();
  return list->findText(list->currentText(), Qt::MatchExactly);
}

CAnalogInputSubDlg::CAnalogInputSubDlg(AnalogInputParams& params, const AnalogInputLayout& ids, int language,
                                       QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params), keyFilter_(new CValueEditKeyFilter(this)) {
  const bool english = ids.englishCaptions && language_ == 1;
  auto caption = [english](const wchar_t* en, const wchar_t* zh) { return QString::fromWCharArray(english ? en : zh); };
  auto named = [](QWidget* w, int id) {
    w->setObjectName(CPropertyPage::ControlName(id));
    return w;
  };
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QString::fromWCharArray(ids.model), this);
  named(outer, ids.outerGroup);
  layout->addWidget(outer);
  auto* body = new QHBoxLayout(outer);

  auto* channels = new QGroupBox(caption(L"Analogue Input", L"模拟量输入"), outer);
  named(channels, ids.channelGroup);
  body->addWidget(channels);
  auto* grid = new QGridLayout(channels);
  grid->addWidget(new QLabel(caption(L"Signal Type：", L"信号类型："), channels), 0, 1);
  grid->addWidget(new QLabel(caption(L"Project Floor：", L"工程下限："), channels), 0, 2);
  grid->addWidget(new QLabel(caption(L"Project Cap：", L"工程上限："), channels), 0, 3);
  grid->addWidget(new QLabel(caption(L"Alarm Floor：", L"报警下限："), channels), 0, 4);
  grid->addWidget(new QLabel(caption(L"Alarm Cap：", L"报警上限："), channels), 0, 5);

  auto* force = new QGroupBox(caption(L"Force", L"强制"), outer);
  named(force, ids.forceGroup);
  body->addWidget(force);
  auto* forceGrid = new QGridLayout(force);
  // Keeps the force rows level with the channel rows.
  forceGrid->addWidget(new QLabel(QString(), force), 0, 0);

  auto valueEdit = [this](QWidget* parent, int id) {
    QLineEdit* edit = Edit(parent, id);
    keyFilter_->Watch(edit);
    return edit;
  };
  for (size_t i = 0; i < params_.channelCount(); ++i) {
    const int row = static_cast<int>(i) + 1;
    labels_[i] = new QLabel(channels);
    named(labels_[i], ids.labels[i]);
    grid->addWidget(labels_[i], row, 0);

    QComboBox* list = MakeTypeList(channels, ids.signalLists[i]);
    for (const wchar_t* entry : i < 4 ? ids.lowSignalTypes : ids.highSignalTypes)
      if (entry != nullptr) list->addItem(QString::fromWCharArray(entry));
    signalLists_[i] = list;
    grid->addWidget(list, row, 1);

    engineeringLower_[i] = valueEdit(channels, ids.engineeringLower[i]);
    engineeringUpper_[i] = valueEdit(channels, ids.engineeringUpper[i]);
    alarmLower_[i] = valueEdit(channels, ids.alarmLower[i]);
    alarmUpper_[i] = valueEdit(channels, ids.alarmUpper[i]);
    grid->addWidget(engineeringLower_[i], row, 2);
    grid->addWidget(engineeringUpper_[i], row, 3);
    grid->addWidget(alarmLower_[i], row, 4);
    grid->addWidget(alarmUpper_[i], row, 5);

    forceValues_[i] = valueEdit(force, ids.forceValues[i]);
    forceGrid->addWidget(forceValues_[i], row, 0);
    forceBoxes_[i] = AddForceBox(force, forceGrid, row, 1, ids.forceBoxes[i], [this, i] { OnForceBox(i); });
  }
  body->addWidget(MakeDefaultButton(outer, ids.defaultButton, english ? L"Default" : L"默认", L"默认"), 0,
                  Qt::AlignTop);
  UpdateData(false);
  // Pruvel's force value edits start shown until a record is loaded or Default runs; the
  // eight-channel forms start with them hidden.
  if (params_.type() == 9)
    for (size_t i = 0; i < params_.channelCount(); ++i) forceValues_[i]->show();
}

bool CAnalogInputSubDlg::UpdateData(bool save) {
  const size_t count = params_.channelCount();
  for (size_t i = 0; i < count; ++i) {
    AnalogInputChannel& ch = params_.channels[i];
    if (save)
      ch.signalType = ListIndex(signalLists_[i]);
    else
      PutListIndex(signalLists_[i], ch.signalType);
    Exchange(engineeringLower_[i], save, ch.engineeringLower);
    Exchange(engineeringUpper_[i], save, ch.engineeringUpper);
    Exchange(alarmLower_[i], save, ch.alarmLower);
    Exchange(alarmUpper_[i], save, ch.alarmUpper);
    Exchange(forceValues_[i], save, ch.forceValue);
    // The labels only show what the record's addresses give; they are never read back.
    if (!save) labels_[i]->setText(QString::fromStdWString(ch.label));
    ExchangeCheck(forceBoxes_[i], save, ch.forceFlag);
  }
  // Each force value edit is shown exactly when its channel is forced.
  if (!save)
    for (size_t i = 0; i < count; ++i) forceValues_[i]->setVisible(params_.channels[i].forceFlag == 1);
  return true;
}

void CAnalogInputSubDlg::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

void CAnalogInputSubDlg::OnForceBox(size_t channel) {
  FollowForceBox(forceBoxes_[channel], forceValues_[channel], params_.channels[channel].forceFlag);
}

CPlcSubDlgAICls::CPlcSubDlgAICls(AnalogInputParams& params, int language, QWidget* parent)
    : CAnalogInputSubDlg(params, IstrelIds(L"Istrel", kCurrent, kVoltage), language, parent) {}

CPlcSubDlgAI04CCls::CPlcSubDlgAI04CCls(AnalogInputParams& params, int language, QWidget* parent)
    : CAnalogInputSubDlg(params, kPruvelLayout, language, parent) {}

CPlcSubDlgAI08Cls::CPlcSubDlgAI08Cls(AnalogInputParams& params, int language, QWidget* parent)
    : CAnalogInputSubDlg(params, kQuenlowLayout, language, parent) {}

CPlcSubDlgAI08VCls::CPlcSubDlgAI08VCls(AnalogInputParams& params, int language, QWidget* parent)
    : CAnalogInputSubDlg(params, kRastokLayout, language, parent) {}

CPlcSubDlgJorlith::CPlcSubDlgJorlith(AnalogInputParams& params, int language, QWidget* parent)
    : CAnalogInputSubDlg(params, IstrelIds(L"Jorlith", kJorlithTypes, kJorlithTypes), language, parent) {}

CAnalogOutputModuleSubDlg* CreateAnalogInputSubDialog(int type, ModuleParameterSet& params, int language,
                                                      QWidget* parent) {
  switch (type) {
    case 4: return new CPlcSubDlgAICls(params.istrel, language, parent);
    case 5: return new CPlcSubDlgTCCls(params.oskavel, language, parent);
    case 6: return new CPlcSubDlgRTDCls(params.nuvask, language, parent);
    case 9: return new CPlcSubDlgAI04CCls(params.pruvel, language, parent);
    case 10: return new CPlcSubDlgAI08Cls(params.quenlow, language, parent);
    case 12: return new CPlcSubDlgAI08VCls(params.rastok, language, parent);
    case 15: return new CPlcSubDlgUvendar(params.uvendar, language, parent);
    case 18: return new CPlcSubDlgJorlith(params.jorlith, language, parent);
    case 21: return new CPlcSubDlgVarnock(params.varnock, language, parent);
    case 22: return new CPlcSubDlgWeskarn(params.weskarn, language, parent);
    case 23: return new CPlcSubDlgYolvask(params.yolvask, language, parent);
    default: return nullptr;
  }
}

}  // namespace corvell
