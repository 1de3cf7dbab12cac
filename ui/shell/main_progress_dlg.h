// The modeless progress dialog that link commands drive: a text line and two bars.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace Brenno {

struct ProgressInfo;

class CMainProgressDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CMainProgressDlg(QWidget* parent);

  QLabel* TextLine() const { return text_; }
  QProgressBar* FirstBar() const { return first_; }
  QProgressBar* SecondBar() const { return second_; }

 private:
  QLabel* text_;
  QProgressBar* first_;
  QProgressBar* second_;
};

}  // namespace Brenno
