#include "ui/shell/diagnose_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/env/language.h"
#include "ui/shell/notify_codes.h"

namespace Brenno {

namespace {

QString Q(const wchar_t* text) { return QString::fromWCharArray(text); }
QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

// Marks the rows that carry a value (as opposed to the group rows).
constexpr int kValueRowRole = Qt::UserRole + 1;

QTreeWidgetItem* AddValueRow(QTreeWidgetItem* group, const wchar_t* name) {
  auto* row = new QTreeWidgetItem(group, QStringList{Q(name), QString()});
  row->setData(0, kValueRowRole, true);
  row->setFlags(row->flags() | Qt::ItemIsEditable);
  return row;
}

void SetValue(QTreeWidgetItem* row, const std::wstring& text) {
  const QString value = Q(text);
  if (row->text(1) != value) row->setText(1, value);
}

}  // namespace

CDiagnoseDlg::CDiagnoseDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DiagnoseDlg"));
  setWindowTitle(Q(PickText(L"Diagnose Information", L"诊断信息")));
  setModal(false);

  grid_ = new QTreeWidget(this);
  grid_->setObjectName(QStringLiteral("DiagnoseGrid"));
  grid_->setColumnCount(2);
  // The column titles are English in both languages.
  grid_->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
  grid_->header()->resizeSection(0, 200);
  grid_->header()->setStretchLastSection(true);
  grid_->setAlternatingRowColors(false);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setFocusPolicy(Qt::StrongFocus);

  controllerGroup_ = new QTreeWidgetItem(grid_, QStringList{Q(kDiagnosisControllerGroup)});
  for (const wchar_t* name : kDiagnosisControllerRowNames) AddValueRow(controllerGroup_, name);
  modulesGroup_ = new QTreeWidgetItem(grid_, QStringList{Q(kDiagnosisModulesGroup)});
  for (int k = 1; k <= kDiagnosisModuleCount; ++k) {
    auto* group = new QTreeWidgetItem(modulesGroup_, QStringList{Q(DiagnosisModuleGroupName(k))});
    for (const wchar_t* name : kDiagnosisModuleRowNames) AddValueRow(group, name);
    moduleGroups_[static_cast<size_t>(k - 1)] = group;
  }
  for (QTreeWidgetItem* group : {controllerGroup_, modulesGroup_}) {
    QFont font = group->font(0);
    font.setBold(true);
    group->setFont(0, font);
  }
  grid_->expandAll();

  // The description area below the rows: the name of the selected row.
  description_ = new QLabel(this);
  description_->setObjectName(QStringLiteral("DiagnoseDescription"));
  description_->setFrameShape(QFrame::StyledPanel);
  description_->setMinimumHeight(40);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setWordWrap(true);

  okButton_ = new QPushButton(Q(PickText(L"OK", L"确定")), this);
  okButton_->setObjectName(QStringLiteral("OkButton"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(Q(PickText(L"Cancel", L"取消")), this);
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(grid_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { ShowDescription(item); });
  connect(grid_, &QTreeWidget::itemDoubleClicked, this, &CDiagnoseDlg::EditValue);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addSpacing(40);
  buttons->addWidget(cancelButton_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(description_);
  layout->addLayout(buttons);
}

QTreeWidgetItem* CDiagnoseDlg::ModuleGroup(int module) const {
  if (module < 1 || module > kDiagnosisModuleCount) return nullptr;
  return moduleGroups_[static_cast<size_t>(module - 1)];
}

void CDiagnoseDlg::OnPaneRequest(uint16_t code, intptr_t) {
  switch (code) {
    case UpdDiagnoseRefresh:
      Refresh(ReadDiagnosisData());
      break;
    case UpdDiagnoseHide:
      hide();
      break;
    default:
      break;
  }
}

void CDiagnoseDlg::Refresh(const DiagnosisData& data) {
  const DiagnosisTexts texts = FormatDiagnosisTexts(data);
  for (int i = 0; i < kDiagnosisControllerRows; ++i) SetValue(controllerGroup_->child(i), texts.Controller[static_cast<size_t>(i)]);
  for (size_t k = 0; k < moduleGroups_.size(); ++k) {
    QTreeWidgetItem* group = moduleGroups_[k];
    if (texts.ModuleTypes[k] == 0) {
      // No module at this position: the rows keep what they showed.
      group->setExpanded(false);
      continue;
    }
    for (int i = 0; i < kDiagnosisModuleRows; ++i) SetValue(group->child(i), texts.Modules[k][static_cast<size_t>(i)]);
  }
}

void CDiagnoseDlg::ShowAtDefaultPlace() {
  move(400, 150);
  resize(440, 530);
  show();
  raise();
  activateWindow();
}

void CDiagnoseDlg::ShowDescription(QTreeWidgetItem* item) {
  if (item == nullptr) {
    description_->clear();
    return;
  }
  description_->setText(QStringLiteral("<b>%1</b>").arg(item->text(0).toHtmlEscaped()));
}

void CDiagnoseDlg::EditValue(QTreeWidgetItem* item, int) {
  // Only the value cell of a value row takes typing; nothing reads it back and the next refresh
  // writes over it.
  if (item != nullptr && item->data(0, kValueRowRole).toBool()) grid_->editItem(item, 1);
}

}  // namespace Brenno
