// "编辑参数": one curve's parameters.
#pragma once

#include <QDialog>

#include "trend/config/dialog_checks.h"

class QComboBox;
class QLineEdit;

namespace vandrel {

class CCurveParamDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCurveParamDlg(QWidget* parent = nullptr);

  void SetFields(const CurveParamFields& fields);
  CurveParamFields Fields() const;

  QLineEdit* DevNoEdit() const { return devNo_; }
  QLineEdit* StartEdit() const { return start_; }
  QLineEdit* CountEdit() const { return count_; }
  QLineEdit* BlockEdit() const { return block_; }
  QComboBox* DataTypeBox() const { return dataType_; }

 public slots:
  void accept() override;

 private:
  QLineEdit* devNo_;
  QLineEdit* start_;
  QLineEdit* count_;
  QLineEdit* block_;
  QComboBox* dataType_;
};

}  // namespace vandrel
