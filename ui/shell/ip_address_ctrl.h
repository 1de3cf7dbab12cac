// An IPv4 address field of four number boxes (0..255) separated by dots, holding the address as
// one 32-bit number with the first field in the top byte. An empty box counts as 0. Typing "."
// or filling a box with three digits moves to the next box, its number selected so that typing
// replaces it; a "." typed right after such a move only confirms it, so that "127.0.0.1" typed
// as it reads fills the four boxes. A digit typed into a box holding a lone 0 replaces it, and
// Backspace in an empty box goes back to the box before.
#pragma once

#include <QFrame>

#include <array>
#include <cstdint>

class QLineEdit;

namespace Brenno {

class CIpAddressCtrl : public QFrame {
  Q_OBJECT
 public:
  explicit CIpAddressCtrl(QWidget* parent = nullptr);

  uint32_t Address() const;
  void SetAddress(uint32_t address);
  // The text of box 0..3 (for tests and accessibility).
  QLineEdit* Field(int index) const { return fields_[static_cast<size_t>(index)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void EnterField(int index);

  std::array<QLineEdit*, 4> fields_{};
  // The box just entered by three digits, until the next key; -1 for none.
  int advancedInto_ = -1;
};

}  // namespace Brenno
