#include "trend/ui/curve_list_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

#include "trend/ui/curve_param_dlg.h"
#include "trend/ui/message.h"

namespace vandrel {

CCurveListDlg::CCurveListDlg(CurveList& curves, QWidget* parent) : QDialog(parent), curves_(curves) {
  setWindowTitle(QStringLiteral("曲线配置"));
  AskParams = [this](CurveParamFields& f) { return RunParamDialog(f); };

  list_ = new QTableWidget(0, 5);
  list_->setObjectName(QStringLiteral("1000"));
  list_->setHorizontalHeaderLabels({QStringLiteral("设备号"), QStringLiteral("寄存器首地址"), QStringLiteral("数据总长度"),
                                    QStringLiteral("数据块长度"), QStringLiteral("数据类型")});
  const int widths[5] = {55, 90, 80, 80, 130};
  for (int i = 0; i < 5; ++i) list_->setColumnWidth(i, widths[i]);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->verticalHeader()->setVisible(false);
  list_->setMinimumWidth(470);

  auto button = [this](const QString& text, const char* id) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(id));
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* add = button(QStringLiteral("增加"), "1001");
  QPushButton* remove = button(QStringLiteral("删除"), "1002");
  QPushButton* edit = button(QStringLiteral("编辑"), "1003");
  QPushButton* save = button(QStringLiteral("保存"), "IDOK");
  QPushButton* quit = button(QStringLiteral("退出"), "IDCANCEL");
  connect(add, &QPushButton::clicked, this, &CCurveListDlg::OnAdd);
  connect(remove, &QPushButton::clicked, this, &CCurveListDlg::OnDelete);
  connect(edit, &QPushButton::clicked, this, &CCurveListDlg::OnEdit);
  connect(save, &QPushButton::clicked, this, &CCurveListDlg::accept);
  connect(quit, &QPushButton::clicked, this, &CCurveListDlg::reject);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add, remove, edit}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(quit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  Refill();
}

void CCurveListDlg::Refill() {
  list_->setRowCount(static_cast<int>(curves_.size()));
  for (size_t r = 0; r < curves_.size(); ++r) {
    const auto cells = CurveListRow(*curves_[r]);
    for (size_t c = 0; c < cells.size(); ++c)
      list_->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(ToQString(cells[c])));
  }
}

bool CCurveListDlg::RunParamDialog(CurveParamFields& fields) {
  CCurveParamDlg dlg(this);
  dlg.SetFields(fields);
  if (dlg.exec() != QDialog::Accepted) return false;
  fields = dlg.Fields();
  return true;
}

void CCurveListDlg::OnAdd() {
  TrendCurve fresh;  // 500 points from register 2000 of device 1, blocks of 32, first type
  CurveParamFields fields = CurveParamFieldsFrom(fresh);
  if (AskParams(fields)) {
    auto curve = std::make_unique<TrendCurve>();
    ApplyCurveParamFields(fields, *curve);
    curve->Color = 255;
    curve->RegType = 3;
    curves_.push_back(std::move(curve));
  }
  Refill();
}

void CCurveListDlg::OnDelete() {
  std::set<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.insert(index.row());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    if (*it >= 0 && static_cast<size_t>(*it) < curves_.size()) curves_.erase(curves_.begin() + *it);
  Refill();
}

void CCurveListDlg::OnEdit() {
  const auto selected = list_->selectionModel()->selectedRows();
  if (!selected.isEmpty()) {
    int row = selected.front().row();
    for (const QModelIndex& index : selected) row = std::min(row, index.row());
    if (row >= 0 && static_cast<size_t>(row) < curves_.size()) {
      TrendCurve& curve = *curves_[static_cast<size_t>(row)];
      CurveParamFields fields = CurveParamFieldsFrom(curve);
      if (AskParams(fields)) ApplyCurveParamFields(fields, curve);
    }
  }
  Refill();
}

}  // namespace vandrel
