// "曲线配置": the curve list, edited in place.
#pragma once

#include <QDialog>

#include <functional>

#include "trend/config/dialog_checks.h"

class QTableWidget;

namespace vandrel {

class CCurveListDlg : public QDialog {
  Q_OBJECT

 public:
  // Edits `curves` directly: changes stay also when the dialog ends with "退出".
  CCurveListDlg(CurveList& curves, QWidget* parent = nullptr);

  // How one curve's parameters are asked for: by default the parameter dialog; tests
  // put their own answer here. True when the user confirmed.
  std::function<bool(CurveParamFields&)> AskParams;

  QTableWidget* List() const { return list_; }
  void Refill();

  void OnAdd();
  void OnDelete();
  void OnEdit();

 private:
  bool RunParamDialog(CurveParamFields& fields);

  CurveList& curves_;
  QTableWidget* list_;
};

}  // namespace vandrel
