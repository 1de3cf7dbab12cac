#include "sysblock/ui/plc_sub_dlg_analog_output.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

#include "sysblock/model/text_value.h"
#include "sysblock/ui/data_exchange.h"
#include "sysblock/ui/message_box.h"
#include "sysblock/ui/plc_sub_dlg_analog_output_fixed.h"
#include "sysblock/ui/plc_sub_dlg_analog_output_four.h"
#include "sysblock/ui/plc_sub_dlg_temperature.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

// One decimal number with optional blanks around it and nothing else, within the range of a
// float. Read without the process locale: the decimal point is always '.'.
std::optional<float> ParseFloat(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  if (first < last && text[first] == L'+') {
    ++first;
    if (first < last && text[first] == L'-') return std::nullopt;
  }
  std::string narrow;
  for (size_t i = first; i < last; ++i) {
    if (text[i] > 0x7F) return std::nullopt;
    narrow.push_back(static_cast<char>(text[i]));
  }
  if (narrow.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  if (error != std::errc() || end != narrow.data() + narrow.size()) return std::nullopt;
  // Infinity, NaN and what a float cannot hold are not numbers the module can take.
  if (!std::isfinite(value) || std::fabs(value) > 3.4028234663852886e38) return std::nullopt;
  return static_cast<float>(value);
}

}  // namespace

CAnalogOutputModuleSubDlg::CAnalogOutputModuleSubDlg(int language, QWidget* parent)
    : QWidget(parent), language_(language) {}

QString CAnalogOutputModuleSubDlg::T(const wchar_t* english, const wchar_t* chinese) const {
  return QString::fromWCharArray(PickText(language_, english, chinese));
}

QLineEdit* CAnalogOutputModuleSubDlg::Edit(QWidget* parent, int id) {
  auto* edit = new QLineEdit(parent);
  if (id != 0) edit->setObjectName(CPropertyPage::ControlName(id));
  return edit;
}

QPushButton* CAnalogOutputModuleSubDlg::MakeDefaultButton(QWidget* parent, int id, const wchar_t* english,
                                                          const wchar_t* chinese) {
  defaultButton_ = new QPushButton(T(english, chinese), parent);
  defaultButton_->setObjectName(CPropertyPage::ControlName(id));
  connect(defaultButton_, &QPushButton::clicked, this, [this] { OnDefault(); });
  return defaultButton_;
}

QComboBox* CAnalogOutputModuleSubDlg::MakeTypeList(QWidget* parent, int id) {
  auto* list = new QComboBox(parent);
  list->setObjectName(CPropertyPage::ControlName(id));
  list->setEditable(language_ == 1);
  if (list->isEditable()) list->setInsertPolicy(QComboBox::NoInsert);
  return list;
}

QCheckBox* CAnalogOutputModuleSubDlg::AddForceBox(QWidget* parent, QGridLayout* grid, int row, int column, int id,
                                                   std::function<void()> onClick) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(CPropertyPage::ControlName(id));
  grid->addWidget(box, row, column);
  connect(box, &QCheckBox::clicked, this, std::move(onClick));
  return box;
}

void CAnalogOutputModuleSubDlg::ExchangeCheck(QCheckBox* box, bool save, int& flag) {
  if (save)
    flag = box->isChecked() ? 1 : 0;
  else
    box->setChecked(flag != 0);
}

void CAnalogOutputModuleSubDlg::FollowForceBox(QCheckBox* box, QLineEdit* forceValue, const int& flag) {
  if (!UpdateData(true)) {
    // A refused value keeps the controls as the user left them, the click included.
    forceValue->setVisible(box->isChecked());
    return;
  }
  forceValue->setVisible(flag == 1);
  UpdateData(false);
}

QComboBox* CAnalogOutputModuleSubDlg::AddColdJunctionList(QWidget* parent, QBoxLayout* row) {
  auto* caption = new QLabel(QStringLiteral("冷端补偿："), parent);
  caption->setObjectName(CPropertyPage::ControlName(30870));
  row->addWidget(caption);
  auto* list = new QComboBox(parent);
  list->setObjectName(CPropertyPage::ControlName(30871));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  for (const auto& entry : kColdJunctionTypes) list->addItem(T(entry[0], entry[1]));
  row->addWidget(list);
  return list;
}

bool CAnalogOutputModuleSubDlg::ExchangeByte(QLineEdit* edit, bool save, uint8_t& value) {
  if (!save) {
    edit->setText(QString::number(value));
    return true;
  }
  const ExchangeResult result = ExchangeUnsigned(edit->text().toStdWString(), 0, 255, language_);
  if (!result.Value) {
    ShowFieldErrorBox(this, language_, result.Message);
    edit->setFocus();
    edit->selectAll();
    return false;
  }
  value = static_cast<uint8_t>(*result.Value);
  return true;
}

bool CAnalogOutputModuleSubDlg::ExchangeFloat(QLineEdit* edit, bool save, float& value) {
  if (!save) {
    // Six significant digits, the shortest form ("500", "12.5").
    edit->setText(QString::number(static_cast<double>(value), 'g', 6));
    return true;
  }
  const std::optional<float> parsed = ParseFloat(edit->text().toStdWString());
  if (!parsed) {
    ShowFieldErrorBox(this, language_, PickText(language_, L"Please enter a number.", L"请输入一个数字。"));
    edit->setFocus();
    edit->selectAll();
    return false;
  }
  value = *parsed;
  return true;
}

CAnalogOutputModuleSubDlg* CreateAnalogOutputSubDialog(int type, ModuleParameterSet& params, int language,
                                                       QWidget* parent) {
  switch (type) {
    case 3: return new CPlcSubDlgAOCls(params.kavrin, language, parent);
    case 11: return new CPlcSubDlgAO04VCls(params.lumbrek, language, parent);
    case 19: return new CPlcSubDlgMordale(params.mordale, language, parent);
    case 16: return new CPlcSubDlgSolvind(params.solvind, language, parent);
    case 17: return new CPlcSubDlgTrevasse(params.trevasse, language, parent);
    default: return nullptr;
  }
}

}  // namespace corvell
