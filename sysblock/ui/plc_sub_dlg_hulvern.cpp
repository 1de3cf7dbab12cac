#include "sysblock/ui/plc_sub_dlg_hulvern.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvell {

CPlcSubDlgHulvern::CPlcSubDlgHulvern(HulvernParams& params, int language, QWidget* parent)
    : CDigitalModuleSubDlg(language, parent), params_(params) {
  auto* layout = new QVBoxLayout(this);
  QGroupBox* outer = Group(this, QStringLiteral("Hulvern"), 0);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);

  // Inputs.
  QGroupBox* filter = Group(outer, T(L"flitter time setting", L"滤波时间设置"), 0);
  auto* filterGrid = new QGridLayout(filter);
  FilterRow(filterGrid, 0, T(L"flitter time(channel 1-8)：", L"滤波时间(1-8通道)："), 0, params_.filterIndex, 60019,
            false);
  body->addWidget(filter);
  QGroupBox* inputForce = Group(outer, T(L"forced", L"强制"), 0);
  auto* inputGrid = new QGridLayout(inputForce);
  PointRow(inputGrid, 0, BoundLabel(inputForce, params_.inputRowLabel, 60073), params_.inputForceStates, 60021);
  body->addWidget(inputForce);

  // Outputs: both languages show these captions in Chinese.
  QGroupBox* commFail = Group(outer, QStringLiteral("通讯故障输出"), 0);
  auto* commLayout = new QVBoxLayout(commFail);
  auto* head = new QHBoxLayout;
  head->addWidget(Text(commFail, QStringLiteral("地址范围："), 0));
  head->addWidget(BoundLabel(commFail, params_.outputRangeLabel, 60074));
  head->addStretch(1);
  commLayout->addLayout(head);
  auto* commGrid = new QGridLayout;
  commLayout->addLayout(commGrid);
  PointRow(commGrid, 0, nullptr, params_.commFailStates, 60039);
  body->addWidget(commFail);
  QGroupBox* outputForce = Group(outer, QStringLiteral("强制"), 0);
  auto* outputGrid = new QGridLayout(outputForce);
  PointRow(outputGrid, 0, BoundLabel(outputForce, params_.outputForceRowLabel, 60075), params_.outputForceStates,
           60047);
  body->addWidget(outputForce);

  body->addWidget(MakeDefaultButton(outer, 30519), 0, Qt::AlignLeft);
  UpdateData(false);
}

void CPlcSubDlgHulvern::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

}  // namespace corvell
