#include "sysblock/ui/plc_sub_dlg_digital.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "sysblock/model/text_value.h"
#include "sysblock/ui/plc_sub_dlg_digital_input.h"
#include "sysblock/ui/plc_sub_dlg_digital_output.h"
#include "sysblock/ui/plc_sub_dlg_hulvern.h"
#include "sysblock/ui/property_page.h"

namespace corvell {

namespace {

Qt::CheckState ToCheckState(int state) {
  switch (state) {
    case 0: return Qt::Unchecked;
    case 1: return Qt::Checked;
    default: return Qt::PartiallyChecked;
  }
}

int FromCheckState(Qt::CheckState state) {
  switch (state) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
  }
}

// A three-state point box that a click moves from cleared to ticked to indeterminate and back
// to cleared.
class PointCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {
    switch (checkState()) {
      case Qt::Unchecked: setCheckState(Qt::Checked); break;
      case Qt::Checked: setCheckState(Qt::PartiallyChecked); break;
      default: setCheckState(Qt::Unchecked); break;
    }
  }
};

}  // namespace

CDigitalModuleSubDlg::CDigitalModuleSubDlg(int language, QWidget* parent) : QWidget(parent), language_(language) {}

QString CDigitalModuleSubDlg::T(const wchar_t* english, const wchar_t* chinese) const {
  return QString::fromWCharArray(PickText(language_, english, chinese));
}

QGroupBox* CDigitalModuleSubDlg::Group(QWidget* parent, const QString& caption, int id) {
  auto* group = new QGroupBox(caption, parent);
  if (id != 0) group->setObjectName(CPropertyPage::ControlName(id));
  return group;
}

QLabel* CDigitalModuleSubDlg::Text(QWidget* parent, const QString& caption, int id) {
  auto* label = new QLabel(caption, parent);
  if (id != 0) label->setObjectName(CPropertyPage::ControlName(id));
  return label;
}

QLabel* CDigitalModuleSubDlg::BoundLabel(QWidget* parent, std::wstring& value, int id) {
  QLabel* label = Text(parent, QString(), id);
  labels_.push_back({label, &value});
  return label;
}

QComboBox* CDigitalModuleSubDlg::FilterList(QWidget* parent, int& index, int id, bool editable) {
  auto* box = new QComboBox(parent);
  box->setObjectName(CPropertyPage::ControlName(id));
  box->setEditable(editable);
  if (editable) box->setInsertPolicy(QComboBox::NoInsert);
  // The list keeps this order; it is never sorted.
  box->addItems({QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("40")});
  lists_.push_back({box, &index});
  return box;
}

void CDigitalModuleSubDlg::PointRow(QGridLayout* grid, int row, QWidget* lead, std::span<int> states, int firstId) {
  if (lead != nullptr) grid->addWidget(lead, row, 0);
  QWidget* parent = grid->parentWidget();
  for (size_t bit = 0; bit < states.size(); ++bit) {
    auto* box = new PointCheckBox(parent);
    box->setTristate(true);
    box->setObjectName(CPropertyPage::ControlName(firstId + static_cast<int>(bit)));
    boxes_.push_back({box, &states[bit]});
    grid->addWidget(box, row, static_cast<int>(bit) + 1);
  }
}

QCheckBox* CDigitalModuleSubDlg::TwoStateBox(QWidget* parent, const QString& caption, int& value, int id) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(CPropertyPage::ControlName(id));
  boxes_.push_back({box, &value});
  return box;
}

QPushButton* CDigitalModuleSubDlg::MakeDefaultButton(QWidget* parent, int id) {
  defaultButton_ = new QPushButton(T(L"Default", L"默认"), parent);
  defaultButton_->setObjectName(CPropertyPage::ControlName(id));
  connect(defaultButton_, &QPushButton::clicked, this, [this] { OnDefault(); });
  return defaultButton_;
}

QComboBox* CDigitalModuleSubDlg::FilterRow(QGridLayout* grid, int row, const QString& caption, int captionId,
                                           int& index, int listId, bool editable) {
  QWidget* parent = grid->parentWidget();
  grid->addWidget(Text(parent, caption, captionId), row, 0);
  QComboBox* list = FilterList(parent, index, listId, editable);
  grid->addWidget(list, row, 1);
  grid->addWidget(Text(parent, QStringLiteral("ms"), 0), row, 2);
  return list;
}

void CDigitalModuleSubDlg::UpdateData(bool saveAndValidate) {
  if (saveAndValidate) {
    for (const ListBinding& b : lists_) {
      // An editable list whose text matches no entry has no selection.
      *b.value = b.box->isEditable() ? b.box->findText(b.box->currentText(), Qt::MatchExactly) : b.box->currentIndex();
    }
    for (const BoxBinding& b : boxes_) *b.value = FromCheckState(b.box->checkState());
    for (const LabelBinding& b : labels_) *b.value = b.label->text().toStdWString();
    return;
  }
  for (const ListBinding& b : lists_) {
    // An index beyond the list leaves it without a selection.
    const int index = *b.value >= 0 && *b.value < b.box->count() ? *b.value : -1;
    b.box->setCurrentIndex(index);
    if (index < 0 && b.box->isEditable()) b.box->setEditText(QString());
  }
  for (const BoxBinding& b : boxes_) {
    if (b.box->isTristate())
      b.box->setCheckState(ToCheckState(*b.value));
    else
      b.box->setChecked(*b.value != 0);
  }
  for (const LabelBinding& b : labels_) b.label->setText(QString::fromStdWString(*b.value));
}

CDigitalModuleSubDlg* CreateDigitalModuleSubDialog(int type, ModuleParameterSet& params, int language,
                                                   QWidget* parent) {
  switch (type) {
    case 1: return new CPlcSubDlgDICls(params.parlune, language, parent);
    case 13: return new PlcSubDlgFennick(params.fennick, language, parent);
    case 2: return new CPlcSubDlgDOCls(params.voskel, language, parent);
    case 7: return new CPlcSubDlgDO16Cls(params.belquin, language, parent);
    case 8: return new CPlcSubDlgDO16RCls(params.dorvane, language, parent);
    case 14: return new PlcSubDlgGlostra(params.glostra, language, parent);
    case 20: return new CPlcSubDlgHulvern(params.hulvern, language, parent);
    default: return nullptr;
  }
}

}  // namespace corvell
