// Base of the pages of the system-block property sheet: the page's controls are filled from
// its fields the first time it is shown, and read back only when it is left, so a page that
// was never opened keeps exactly what was loaded into its fields.
#pragma once

#include <QString>
#include <QWidget>

namespace corvell {

class CPropertyPage : public QWidget {
 public:
  CPropertyPage(const QString& tabText, QWidget* parent = nullptr) : QWidget(parent), tabText_(tabText) {}

  const QString& TabText() const { return tabText_; }

  // Runs OnInitDialog the first time the page becomes active.
  void OnSetActive() {
    if (initialized_) return;
    initialized_ = true;
    OnInitDialog();
  }
  bool IsInitialized() const { return initialized_; }

  // The page is being left (another tab, or OK): false keeps it active.
  virtual bool OnKillActive() { return true; }

 protected:
  virtual void OnInitDialog() {}

  // The child named by a control id offset ("ctl<offset>").
  template <typename T>
  T* Control(int offset) const {
    return findChild<T*>(ControlName(offset));
  }

 public:
  static QString ControlName(int offset) { return QStringLiteral("ctl%1").arg(offset); }

 private:
  QString tabText_;
  bool initialized_ = false;
};

}  // namespace corvell
