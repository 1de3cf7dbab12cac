#include "sysblock/ui/plc_sub_dlg_uvendar.h"

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

namespace corvell {

namespace {

const wchar_t* const kInputTypes[] = {L"0-10V", L"0-5V", L"0-20mA", L"4-20mA"};
const wchar_t* const kOutputTypes[][2] = {{L"Stop Output", L"禁止输出"},
                                          {L"0-10V", L"0-10V"},
                                          {L"0-5V", L"0-5V"},
                                          {L"0-20mA", L"0-20mA"},
                                          {L"4-20mA", L"4-20mA"}};

template <size_t N>
bool ExchangeList(std::array<QComboBox*, N>& lists, bool save, std::array<int, N>& values) {
  for (size_t i = 0; i < N; ++i) {
    if (save)
      values[i] = ListIndex(lists[i]);
    else
      PutListIndex(lists[i], values[i]);
  }
  return true;
}

}  // namespace

CPlcSubDlgUvendar::CPlcSubDlgUvendar(UvendarParams& params, int language, QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  auto named = [](QWidget* w, int id) {
    w->setObjectName(CPropertyPage::ControlName(id));
    return w;
  };
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QStringLiteral("Uvendar"), this);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);

  // Inputs: label, signal type, engineering lower and upper, alarm lower and upper; force.
  auto* inputRow = new QHBoxLayout;
  body->addLayout(inputRow);
  auto* inputs = new QGroupBox(T(L"Analogue Input", L"模拟量输入"), outer);
  inputRow->addWidget(inputs);
  auto* inGrid = new QGridLayout(inputs);
  inGrid->addWidget(new QLabel(T(L"single type：", L"信号类型："), inputs), 0, 1);
  inGrid->addWidget(new QLabel(T(L"Project Lower：", L"工程下限："), inputs), 0, 2);
  inGrid->addWidget(new QLabel(T(L"Project Upper：", L"工程上限："), inputs), 0, 3);
  inGrid->addWidget(new QLabel(T(L"Alarm lower：", L"报警下限："), inputs), 0, 4);
  inGrid->addWidget(new QLabel(T(L"Alarm upper：", L"报警上限："), inputs), 0, 5);
  auto* inForce = new QGroupBox(T(L"Forced", L"强制"), outer);
  inputRow->addWidget(inForce);
  auto* inForceGrid = new QGridLayout(inForce);
  inForceGrid->addWidget(new QLabel(QString(), inForce), 0, 0);
  static constexpr int kInputLabelIds[4] = {0, 0, 30997, 30998};
  for (size_t i = 0; i < 4; ++i) {
    const int k = static_cast<int>(i);
    const int row = k + 1;
    auto* label = new QLabel(QStringLiteral("AI%1").arg(k), inputs);
    if (kInputLabelIds[i] != 0) named(label, kInputLabelIds[i]);
    inGrid->addWidget(label, row, 0);
    aiLists_[i] = new QComboBox(inputs);
    named(aiLists_[i], 30956 + k);
    for (const wchar_t* entry : kInputTypes) aiLists_[i]->addItem(QString::fromWCharArray(entry));
    inGrid->addWidget(aiLists_[i], row, 1);
    aiEngLower_[i] = Edit(inputs, 30960 + k);
    aiEngUpper_[i] = Edit(inputs, 30964 + k);
    aiAlarmLower_[i] = Edit(inputs, 30968 + k);
    aiAlarmUpper_[i] = Edit(inputs, 30972 + k);
    inGrid->addWidget(aiEngLower_[i], row, 2);
    inGrid->addWidget(aiEngUpper_[i], row, 3);
    inGrid->addWidget(aiAlarmLower_[i], row, 4);
    inGrid->addWidget(aiAlarmUpper_[i], row, 5);
    forceValues_[i] = Edit(inForce, 30977 + k);
    forceValues_[i]->hide();
    inForceGrid->addWidget(forceValues_[i], row, 0);
    forceBoxes_[i] = new QCheckBox(inForce);
    named(forceBoxes_[i], 30981 + k);
    inForceGrid->addWidget(forceBoxes_[i], row, 1);
  }

  // Outputs: label, signal type, engineering lower and upper, stop output; force.
  auto* outputRow = new QHBoxLayout;
  body->addLayout(outputRow);
  auto* outputs = new QGroupBox(T(L"Analogue Output", L"模拟量输出"), outer);
  outputRow->addWidget(outputs);
  auto* outGrid = new QGridLayout(outputs);
  outGrid->addWidget(new QLabel(T(L"single type：", L"信号类型："), outputs), 0, 1);
  outGrid->addWidget(new QLabel(T(L"Project Lower：", L"工程下限："), outputs), 0, 2);
  outGrid->addWidget(new QLabel(T(L"Project Upper：", L"工程上限："), outputs), 0, 3);
  outGrid->addWidget(new QLabel(T(L"Stopped output：", L"停机输出："), outputs), 0, 4);
  auto* outForce = new QGroupBox(T(L"Forced", L"强制"), outer);
  outputRow->addWidget(outForce);
  auto* outForceGrid = new QGridLayout(outForce);
  outForceGrid->addWidget(new QLabel(QString(), outForce), 0, 0);
  for (size_t i = 0; i < 2; ++i) {
    const int k = static_cast<int>(i);
    const int row = k + 1;
    outGrid->addWidget(new QLabel(QStringLiteral("AO%1").arg(k), outputs), row, 0);
    aoLists_[i] = new QComboBox(outputs);
    named(aoLists_[i], 30985 + k);
    for (const auto& entry : kOutputTypes) aoLists_[i]->addItem(T(entry[0], entry[1]));
    outGrid->addWidget(aoLists_[i], row, 1);
    aoEngLower_[i] = Edit(outputs, 30987 + k);
    aoEngUpper_[i] = Edit(outputs, 30989 + k);
    aoStop_[i] = Edit(outputs, 30991 + k);
    outGrid->addWidget(aoEngLower_[i], row, 2);
    outGrid->addWidget(aoEngUpper_[i], row, 3);
    outGrid->addWidget(aoStop_[i], row, 4);
    forceValues_[4 + i] = Edit(outForce, 30993 + k);
    outForceGrid->addWidget(forceValues_[4 + i], row, 0);
    forceBoxes_[4 + i] = new QCheckBox(outForce);
    named(forceBoxes_[4 + i], 30995 + k);
    outForceGrid->addWidget(forceBoxes_[4 + i], row, 1);
  }
  for (size_t b = 0; b < forceBoxes_.size(); ++b)
    connect(forceBoxes_[b], &QCheckBox::clicked, this, [this, b] { OnForceBox(b); });
  body->addWidget(MakeDefaultButton(outer, 30955, L"Default", L"默认"), 0, Qt::AlignLeft);
  UpdateData(false);
}

int& CPlcSubDlgUvendar::FlagOf(size_t box) { return box < 4 ? params_.aiForceFlag[box] : params_.aoForceFlag[box - 4]; }

bool CPlcSubDlgUvendar::UpdateData(bool save) {
  UvendarParams& p = params_;
  auto floats = [&](auto& edits, auto& values) {
    for (size_t i = 0; i < values.size(); ++i)
      if (!ExchangeFloat(edits[i], save, values[i])) return false;
    return true;
  };
  std::array<QLineEdit*, 4> aiForce = {forceValues_[0], forceValues_[1], forceValues_[2], forceValues_[3]};
  std::array<QLineEdit*, 2> aoForce = {forceValues_[4], forceValues_[5]};
  if (!floats(aiEngLower_, p.aiEngineeringLower) || !floats(aiEngUpper_, p.aiEngineeringUpper) ||
      !floats(aiAlarmLower_, p.aiAlarmLower) || !floats(aiAlarmUpper_, p.aiAlarmUpper) ||
      !floats(aiForce, p.aiForceValue))
    return false;
  ExchangeList(aiLists_, save, p.aiSignalType);
  ExchangeList(aoLists_, save, p.aoSignalType);
  if (!floats(aoEngLower_, p.aoEngineeringLower) || !floats(aoEngUpper_, p.aoEngineeringUpper) ||
      !floats(aoStop_, p.aoStopOutput) || !floats(aoForce, p.aoForceValue))
    return false;
  for (size_t b = 0; b < forceBoxes_.size(); ++b) {
    ExchangeCheck(forceBoxes_[b], save, FlagOf(b));
  }
  if (!save) ShowForceEdits();
  return true;
}

void CPlcSubDlgUvendar::ShowForceEdits() {
  for (size_t b = 0; b < forceValues_.size(); ++b) forceValues_[b]->setVisible(FlagOf(b) != 0);
}

void CPlcSubDlgUvendar::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

void CPlcSubDlgUvendar::OnForceBox(size_t box) {
  FollowForceBox(forceBoxes_[box], forceValues_[box], FlagOf(box));
}

}  // namespace corvell
