#include "sysblock/ui/plc_sub_dlg_digital_input.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvell {

namespace {

constexpr int kOuterGroup = 30518;
constexpr int kDefaultButton = 30519;
constexpr int kFilterGroup = 30520;
constexpr int kFilterCaption0 = 30521;
constexpr int kFilterCaption1 = 30522;
constexpr int kForceGroup = 30661;

}  // namespace

CPlcSubDlgDICls::CPlcSubDlgDICls(DigitalInputParams<16>& params, int language, QWidget* parent)
    : CDigitalModuleSubDlg(language, parent), params_(params) {
  auto* layout = new QVBoxLayout(this);
  QGroupBox* outer = Group(this, QStringLiteral("Parlune"), kOuterGroup);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);

  QGroupBox* filter = Group(outer, T(L"Filter Time Config", L"滤波时间设置"), kFilterGroup);
  auto* filterGrid = new QGridLayout(filter);
  // The English lists also take typed text; a text that names no entry is no selection.
  const bool editable = language == 1;
  FilterRow(filterGrid, 0, T(L"Filter Time(1-8channel)：", L"滤波时间(1-8通道)："), kFilterCaption0,
            params_.filterIndex[0], 30633, editable);
  FilterRow(filterGrid, 1, T(L"Filter Time(9-16channel)：", L"滤波时间(9-16通道)："), kFilterCaption1,
            params_.filterIndex[1], 30523, editable);
  body->addWidget(filter);

  QGroupBox* force = Group(outer, T(L"Force", L"强制"), kForceGroup);
  auto* forceGrid = new QGridLayout(force);
  const int labelIds[2] = {30678, 30679};
  for (int row = 0; row < 2; ++row) {
    PointRow(forceGrid, row, BoundLabel(force, params_.rowLabels[row], labelIds[row]),
             std::span<int>(params_.forceStates).subspan(row * 8, 8), 30662 + row * 8);
  }
  body->addWidget(force);
  body->addWidget(MakeDefaultButton(outer, kDefaultButton), 0, Qt::AlignLeft);
  UpdateData(false);
}

void CPlcSubDlgDICls::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

PlcSubDlgFennick::PlcSubDlgFennick(DigitalInputParams<32>& params, int language, QWidget* parent)
    : CDigitalModuleSubDlg(language, parent), params_(params) {
  auto* layout = new QVBoxLayout(this);
  QGroupBox* outer = Group(this, QStringLiteral("Fennick"), kOuterGroup);
  layout->addWidget(outer);
  auto* body = new QVBoxLayout(outer);

  QGroupBox* filter = Group(outer, T(L"Fliter Time Config", L"滤波时间设置"), kFilterGroup);
  auto* filterGrid = new QGridLayout(filter);
  const bool english = language == 1;
  FilterRow(filterGrid, 0, T(L"Fliter Time(1-8channel):", L"滤波时间(1-8通道)："), kFilterCaption0,
            params_.filterIndex[0], 50011, false);
  FilterRow(filterGrid, 1, T(L"Fliter Time(9-16channel):", L"滤波时间(9-16通道)："), kFilterCaption1,
            params_.filterIndex[1], 50012, false);
  FilterRow(filterGrid, 2, T(L"Fliter Time(17-24channel):", L"滤波时间(17-24通道)："), english ? 0 : 30524,
            params_.filterIndex[2], 50013, false);
  FilterRow(filterGrid, 3, T(L"Fliter Time(25-32channel):", L"滤波时间(25-32通道)："), english ? 0 : 30525,
            params_.filterIndex[3], 50014, false);
  body->addWidget(filter);

  QGroupBox* force = Group(outer, T(L"Forced", L"强制"), kForceGroup);
  auto* forceGrid = new QGridLayout(force);
  for (int row = 0; row < 4; ++row) {
    PointRow(forceGrid, row, BoundLabel(force, params_.rowLabels[row], 50015 + row),
             std::span<int>(params_.forceStates).subspan(row * 8, 8), 50019 + row * 8);
  }
  body->addWidget(force);
  body->addWidget(MakeDefaultButton(outer, kDefaultButton), 0, Qt::AlignLeft);
  UpdateData(false);
}

void PlcSubDlgFennick::OnDefault() {
  params_.ResetToDefaults();
  UpdateData(false);
}

}  // namespace corvell
