#include "sysblock/ui/system_block_password_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "sysblock/ui/data_exchange.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/system_block_port_dlg.h"

namespace corvell {

namespace {

QString T(int language, const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(language, english, chinese));
}

struct Row {
  int offset;
  const wchar_t* english;
  const wchar_t* chinese;
  const wchar_t* englishHint;
  const wchar_t* chineseHint;
  bool hidden;
};

const Row kRows[] = {
    {kPasswordControl, L"Password", L"密码", L"", L"", true},
    {kVerificationControl, L"Verify", L"验证", L"", L"", true},
    {kTimedInterrupt0Control, L"Time Interrupt 0 (1ms)", L"时间中断0(1ms)", L"(Range 10... 255)", L"(范围 10... 255)",
     false},
    {kTimedInterrupt1Control, L"Time Interrupt 1 (1ms)", L"时间中断1(1ms)", L"(Range 10... 255)", L"(范围 10... 255)",
     false},
    {kExecutionCycleControl, L"Execution Cycle (1ms)", L"执行周期", L"(Range 0... 500)", L"(范围 0... 500)", false},
    {kRetentiveStartControl, L"M Area Retentive Start Address", L"M区掉电保持开始地址", L"(Range 0... 8063)",
     L"(范围 0... 8063)", false},
    {kRetentiveEndControl, L"M Area Retentive End Address", L"M区掉电保持结束地址", L"(Range 0... 8063)",
     L"(范围 0... 8063)", false},
};

}  // namespace

CSystemBlockPasswordDlg::CSystemBlockPasswordDlg(SystemConfigPage& fields, int language, QWidget* parent)
    : CPropertyPage(T(language, L"System Config", L"系统设置"), parent), fields_(fields), language_(language) {
  auto* page = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  int r = 0;
  for (const Row& row : kRows) {
    grid->addWidget(new QLabel(T(language, row.english, row.chinese), this), r, 0);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(ControlName(row.offset));
    if (row.hidden) {
      edit->setEchoMode(QLineEdit::Password);
    } else {
      edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
    grid->addWidget(edit, r, 1);
    grid->addWidget(new QLabel(T(language, row.englishHint, row.chineseHint), this), r, 2);
    ++r;
  }
  page->addLayout(grid);
  auto* defaults = new QPushButton(T(language, L"Defaults", L"默认值"), this);
  defaults->setObjectName(ControlName(kDefaultsButton));
  connect(defaults, &QPushButton::clicked, this, [this] { OnDefaults(); });
  page->addWidget(defaults, 0, Qt::AlignLeft);
  page->addStretch();
  page->addWidget(new QLabel(
      T(language, L"Configuration parameters must be downloaded before they take effect", L"系统块设置参数必须下载才能生效"),
      this));
}

void CSystemBlockPasswordDlg::OnInitDialog() { ControlsFromFields(); }

void CSystemBlockPasswordDlg::ControlsFromFields() {
  EditControl(kPasswordControl)->setText(QString::fromStdWString(fields_.Password));
  EditControl(kVerificationControl)->setText(QString::fromStdWString(fields_.Verification));
  EditControl(kTimedInterrupt0Control)->setText(QString::fromStdWString(fields_.TimedInterrupt0));
  EditControl(kTimedInterrupt1Control)->setText(QString::fromStdWString(fields_.TimedInterrupt1));
  EditControl(kExecutionCycleControl)->setText(QString::number(fields_.ExecutionCycle));
  EditControl(kRetentiveStartControl)->setText(QString::number(fields_.RetentiveStart));
  EditControl(kRetentiveEndControl)->setText(QString::number(fields_.RetentiveEnd));
}

bool CSystemBlockPasswordDlg::OnKillActive() {
  if (!IsInitialized()) return true;
  SystemConfigPage scratch = fields_;
  scratch.Password = EditControl(kPasswordControl)->text().toStdWString();
  scratch.Verification = EditControl(kVerificationControl)->text().toStdWString();
  scratch.TimedInterrupt0 = EditControl(kTimedInterrupt0Control)->text().toStdWString();
  scratch.TimedInterrupt1 = EditControl(kTimedInterrupt1Control)->text().toStdWString();

  auto refuse = [this](int offset, const std::wstring& message) {
    ShowFieldErrorBox(this, language_, message);
    if (QWidget* control = Control<QWidget>(offset)) control->setFocus();
    return false;
  };
  if (auto error = scratch.CheckPasswordFields(language_)) return refuse(error->ControlOffset, error->Message);
  if (auto error = scratch.CheckInterruptTimes(language_)) return refuse(error->ControlOffset, error->Message);

  struct Unsigned {
    int offset;
    unsigned high;
    unsigned* field;
  };
  const Unsigned numbers[] = {{kExecutionCycleControl, 500, &scratch.ExecutionCycle},
                              {kRetentiveStartControl, 8063, &scratch.RetentiveStart},
                              {kRetentiveEndControl, 8063, &scratch.RetentiveEnd}};
  for (const Unsigned& number : numbers) {
    const ExchangeResult result = ExchangeUnsigned(EditControl(number.offset)->text().toStdWString(), 0, number.high,
                                                   language_);
    if (!result.Value) return refuse(number.offset, result.Message);
    *number.field = static_cast<unsigned>(*result.Value);
  }
  fields_ = scratch;
  return true;
}

void CSystemBlockPasswordDlg::OnDefaults() {
  // Only the fields the Defaults button resets are refreshed: what is typed in the password
  // edits stays there.
  SystemConfigPage defaults = fields_;
  defaults.Defaults();
  fields_.TimedInterrupt0 = defaults.TimedInterrupt0;
  fields_.TimedInterrupt1 = defaults.TimedInterrupt1;
  fields_.ExecutionCycle = defaults.ExecutionCycle;
  fields_.RetentiveStart = defaults.RetentiveStart;
  fields_.RetentiveEnd = defaults.RetentiveEnd;
  if (!IsInitialized()) return;
  EditControl(kTimedInterrupt0Control)->setText(QString::fromStdWString(fields_.TimedInterrupt0));
  EditControl(kTimedInterrupt1Control)->setText(QString::fromStdWString(fields_.TimedInterrupt1));
  EditControl(kExecutionCycleControl)->setText(QString::number(fields_.ExecutionCycle));
  EditControl(kRetentiveStartControl)->setText(QString::number(fields_.RetentiveStart));
  EditControl(kRetentiveEndControl)->setText(QString::number(fields_.RetentiveEnd));
}

}  // namespace corvell
