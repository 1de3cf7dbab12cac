#include "sysblock/ui/plc_sub_dlg_analog_output_four.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "sysblock/model/modules/param_text.h"
#include "sysblock/model/text_value.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

const wchar_t* const kCurrentTypes[][2] = {{L"Stop Output", L"禁止输出"}, {L"0-20mA", L"0-20mA"}, {L"4-20mA", L"4-20mA"}};
const wchar_t* const kVoltageTypes[][2] = {{L"Stop Output", L"禁止输出"}, {L"0-10V", L"0-10V"}};
const wchar_t* const kMordaleTypes[][2] = {{L"Stop Output", L"禁止输出"},
                                           {L"0-20mA", L"0-20mA"},
                                           {L"4-20mA", L"4-20mA"},
                                           {L"0-5V", L"0-5V"},
                                           {L"0-10V", L"0-10V"}};

// Kavrin and Mordale share one set of ids (Mordale's group boxes and captions have none).
FourChannelOutputLayout BlockA(const wchar_t* model, bool captionIds, int count, const wchar_t* const (*types)[2]) {
  return {model, false, captionIds, 30546, 30547, 30548, 30549, 30553, 30554, 30555, 30559, 30613, 30617, 30618,
          30638, 30695, 30696, 30700, count, types};
}

const FourChannelOutputLayout kLumbrekLayout = {
    L"Lumbrek", true, true, 40000, 40001, 40002, 40003, 40007, 40008, 40009, 40013, 40017, 40021, 40022,
    40023, 40027, 40028, 40032, 2, kVoltageTypes};

}  // namespace

CFourChannelOutputSubDlg::CFourChannelOutputSubDlg(AnalogOutputParams& params, const FourChannelOutputLayout& ids,
                                                   int language, QWidget* parent)
    : CAnalogOutputModuleSubDlg(language, parent), params_(params) {
  auto caption = [&](const wchar_t* english, const wchar_t* chinese) {
    return ids.chineseCaptions ? QString::fromWCharArray(chinese) : T(english, chinese);
  };
  auto name = [&](QWidget* w, int id) {
    if (ids.captionIds) w->setObjectName(CPropertyPage::ControlName(id));
    return w;
  };
  auto* layout = new QVBoxLayout(this);
  auto* outer = new QGroupBox(QString::fromWCharArray(ids.model), this);
  name(outer, ids.outerGroup);
  layout->addWidget(outer);
  auto* body = new QHBoxLayout(outer);

  auto* channels = new QGroupBox(caption(L"Analogue Output", L"模拟量输出"), outer);
  name(channels, ids.channelGroup);
  body->addWidget(channels);
  auto* grid = new QGridLayout(channels);
  grid->addWidget(name(new QLabel(caption(L"Signal Type：", L"信号类型："), channels), ids.signalCaption), 0, 1);
  grid->addWidget(name(new QLabel(caption(L"Project Floor：", L"工程下限："), channels), ids.lowerCaption), 0, 2);
  grid->addWidget(name(new QLabel(caption(L"Project Cap：", L"工程上限："), channels), ids.upperCaption), 0, 3);
  grid->addWidget(name(new QLabel(caption(L"Stop Output：", L"停机输出："), channels), ids.stopCaption), 0, 4);

  auto* force = new QGroupBox(caption(L"Force", L"强制"), outer);
  name(force, ids.forceGroup);
  body->addWidget(force);
  auto* forceGrid = new QGridLayout(force);

  // The stop outputs take digits only; the limits and force values digits, '-' and '.'.
  const QRegularExpression digits(QStringLiteral("[0-9]*"));
  const QRegularExpression number(QStringLiteral("[0-9.\\-]*"));
  for (size_t i = 0; i < kChannels; ++i) {
    const int k = static_cast<int>(i);
    const int row = k + 1;
    labels_[i] = new QLabel(channels);
    labels_[i]->setObjectName(CPropertyPage::ControlName(ids.firstLabel + k));
    grid->addWidget(labels_[i], row, 0);

    QComboBox* list = MakeTypeList(channels, ids.firstSignalList + k);
    for (int e = 0; e < ids.signalTypeCount; ++e)
      list->addItem(T(ids.signalTypes[e][0], ids.signalTypes[e][1]));
    signalLists_[i] = list;
    grid->addWidget(list, row, 1);

    lowerEdits_[i] = Edit(channels, ids.firstLower + k);
    upperEdits_[i] = Edit(channels, ids.firstUpper + k);
    stopEdits_[i] = Edit(channels, ids.firstStopOutput + k);
    lowerEdits_[i]->setValidator(new QRegularExpressionValidator(number, lowerEdits_[i]));
    upperEdits_[i]->setValidator(new QRegularExpressionValidator(number, upperEdits_[i]));
    stopEdits_[i]->setValidator(new QRegularExpressionValidator(digits, stopEdits_[i]));
    grid->addWidget(lowerEdits_[i], row, 2);
    grid->addWidget(upperEdits_[i], row, 3);
    grid->addWidget(stopEdits_[i], row, 4);

    forceEdits_[i] = Edit(force, ids.firstForceValue + k);
    forceEdits_[i]->setValidator(new QRegularExpressionValidator(number, forceEdits_[i]));
    forceGrid->addWidget(forceEdits_[i], k, 0);
    forceBoxes_[i] = AddForceBox(force, forceGrid, k, 1, ids.firstForceBox + k, [this, i] { OnForceBox(i); });
  }
  QPushButton* button = MakeDefaultButton(outer, ids.defaultButton, ids.chineseCaptions ? L"默认" : L"Default", L"默认");
  body->addWidget(button, 0, Qt::AlignTop);
  UpdateData(false);
}

bool CFourChannelOutputSubDlg::UpdateData(bool save) {
  bool accepted = true;
  for (size_t i = 0; i < kChannels; ++i) {
    AnalogOutputChannel& ch = params_.channels[i];
    QComboBox* list = signalLists_[i];
    if (save) {
      // An editable list whose text matches no entry has no selection.
      ch.signalType = list->isEditable() ? list->findText(list->currentText(), Qt::MatchExactly) : list->currentIndex();
    } else {
      // An index beyond the list (255 from a record) leaves it without a selection.
      const int index = ch.signalType >= 0 && ch.signalType < list->count() ? ch.signalType : -1;
      list->setCurrentIndex(index);
      if (index < 0 && list->isEditable()) list->setEditText(QString());
    }
  }
  for (size_t i = 0; i < kChannels; ++i) {
    AnalogOutputChannel& ch = params_.channels[i];
    if (!save) {
      stopEdits_[i]->setText(QString::number(ch.stopOutput));
      continue;
    }
    // A stop output beyond one byte is refused rather than cut to its low byte: the channel
    // keeps its previous value.
    if (auto value = StopOutputFromText(stopEdits_[i]->text().toStdWString())) {
      ch.stopOutput = *value;
    } else if (accepted) {
      accepted = false;
      ShowFieldErrorBox(this, language_,
                        PickText(language_, L"Please enter an integer between 0 and 255.",
                                 L"请输入一个介于 0 和 255 之间的整数。"));
    }
  }
  auto text = [save](QWidget* w, std::wstring& value) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      if (save)
        value = edit->text().toStdWString();
      else
        edit->setText(QString::fromStdWString(value));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      if (save)
        value = label->text().toStdWString();
      else
        label->setText(QString::fromStdWString(value));
    }
  };
  for (size_t i = 0; i < kChannels; ++i) text(lowerEdits_[i], params_.channels[i].engineeringLower);
  for (size_t i = 0; i < kChannels; ++i) text(upperEdits_[i], params_.channels[i].engineeringUpper);
  for (size_t i = 0; i < kChannels; ++i) text(labels_[i], params_.channels[i].label);
  for (size_t i = 0; i < kChannels; ++i) text(forceEdits_[i], params_.channels[i].forceValue);
  for (size_t i = 0; i < kChannels; ++i) {
    ExchangeCheck(forceBoxes_[i], save, params_.channels[i].forceFlag);
  }
  if (!save) ShowForceEdits();
  return accepted;
}

void CFourChannelOutputSubDlg::ShowForceEdits() {
  for (size_t i = 0; i < kChannels; ++i) forceEdits_[i]->setVisible(params_.channels[i].forceFlag == 1);
}

void CFourChannelOutputSubDlg::OnForceBox(size_t channel) {
  FollowForceBox(forceBoxes_[channel], forceEdits_[channel], params_.channels[channel].forceFlag);
}

void CFourChannelOutputSubDlg::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
  for (QLineEdit* edit : forceEdits_) edit->hide();
}

CPlcSubDlgAOCls::CPlcSubDlgAOCls(AnalogOutputParams& params, int language, QWidget* parent)
    : CFourChannelOutputSubDlg(params, BlockA(L"Kavrin", true, 3, kCurrentTypes), language, parent) {}

CPlcSubDlgAO04VCls::CPlcSubDlgAO04VCls(AnalogOutputParams& params, int language, QWidget* parent)
    : CFourChannelOutputSubDlg(params, kLumbrekLayout, language, parent) {}

CPlcSubDlgMordale::CPlcSubDlgMordale(AnalogOutputParams& params, int language, QWidget* parent)
    : CFourChannelOutputSubDlg(params, BlockA(L"Mordale", false, 5, kMordaleTypes), language, parent) {}

}  // namespace corvell
