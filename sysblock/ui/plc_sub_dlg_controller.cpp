#include "sysblock/ui/plc_sub_dlg_controller.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "sysblock/model/text_value.h"
#include "sysblock/ui/property_page.h"
#include "sysblock/ui/system_block_port_dlg.h"

namespace corvell {

namespace {

// The controller offers its 14 inputs I0.0-I1.5 for forcing; the other boxes stay hidden.
constexpr int kShownForceInputs = 14;

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

Qt::CheckState ToCheckState(int state) {
  switch (state) {
    case kForcedOff: return Qt::Unchecked;
    case kForcedOn: return Qt::Checked;
    default: return Qt::PartiallyChecked;
  }
}

}  // namespace

CPlcSubDlgControllerCls::CPlcSubDlgControllerCls(ForceStateArray& forceStates, int language, QWidget* parent)
    : QWidget(parent), states_(forceStates) {
  auto* outer = new QVBoxLayout(this);
  auto* model = new QGroupBox(QStringLiteral("Drovenk"), this);
  model->setObjectName(CPropertyPage::ControlName(kControllerGroupControl));
  auto* groups = new QHBoxLayout(model);
  for (int half = 0; half < 2; ++half) {
    auto* group = new QGroupBox(half == 0 ? T(language, L"Force Input", L"强制输入") : T(language, L"Force Output", L"强制输出"),
                                model);
    auto* grid = new QGridLayout(group);
    for (int bit = 0; bit < 8; ++bit) grid->addWidget(new QLabel(QString::number(bit), group), 0, bit + 1);
    for (int row = 0; row < 4; ++row) {
      grid->addWidget(new QLabel(QStringLiteral("%1%2.x").arg(QChar(half == 0 ? u'I' : u'Q')).arg(row), group), row + 1, 0);
      for (int bit = 0; bit < 8; ++bit) {
        const int point = half * 32 + row * 8 + bit;
        auto* box = new QCheckBox(group);
        box->setTristate(true);
        box->setObjectName(CPropertyPage::ControlName(kForceCheckBoxFirstControl + point));
        box->setVisible(point < kShownForceInputs);
        boxes_[point] = box;
        grid->addWidget(box, row + 1, bit + 1);
      }
    }
    groups->addWidget(group);
  }
  outer->addWidget(model);
  auto* defaults = new QPushButton(T(language, L"Default", L"默认值"), this);
  defaults->setObjectName(CPropertyPage::ControlName(kDefaultsButton));
  connect(defaults, &QPushButton::clicked, this, [this] { OnDefault(); });
  outer->addWidget(defaults, 0, Qt::AlignLeft);
}

void CPlcSubDlgControllerCls::ControlsFromStates() {
  for (int i = 0; i < kForcePointCount; ++i) boxes_[i]->setCheckState(ToCheckState(states_[i]));
}

void CPlcSubDlgControllerCls::StatesFromControls() {
  for (int i = 0; i < kForcePointCount; ++i) {
    switch (boxes_[i]->checkState()) {
      case Qt::Unchecked: states_[i] = kForcedOff; break;
      case Qt::Checked: states_[i] = kForcedOn; break;
      default: states_[i] = kNotForced; break;
    }
  }
}

void CPlcSubDlgControllerCls::OnDefault() {
  states_.fill(kNotForced);
  ControlsFromStates();
}

}  // namespace corvell
