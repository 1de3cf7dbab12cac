#include "ui/shell/ip_address_ctrl.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace Brenno {

CIpAddressCtrl::CIpAddressCtrl(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(0);
  // 0..255 without leading zeros beyond one digit being typed.
  static const QRegularExpression kField(QStringLiteral("^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?$"));
  for (int i = 0; i < 4; ++i) {
    if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("Field%1").arg(i));
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setMaxLength(3);
    field->setValidator(new QRegularExpressionValidator(kField, field));
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 4);
    field->installEventFilter(this);
    layout->addWidget(field);
    fields_[static_cast<size_t>(i)] = field;
    connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
      if (text.size() == 3 && i < 3) {
        EnterField(i + 1);
        advancedInto_ = i + 1;
      }
    });
  }
  setFocusProxy(fields_[0]);
}

uint32_t CIpAddressCtrl::Address() const {
  uint32_t address = 0;
  for (QLineEdit* field : fields_) {
    address = address << 8 | (static_cast<uint32_t>(field->text().toUInt()) & 0xFF);
  }
  return address;
}

void CIpAddressCtrl::SetAddress(uint32_t address) {
  for (int i = 0; i < 4; ++i) {
    fields_[static_cast<size_t>(i)]->setText(QString::number((address >> (24 - 8 * i)) & 0xFF));
  }
}

void CIpAddressCtrl::EnterField(int index) {
  QLineEdit* field = fields_[static_cast<size_t>(index)];
  field->setFocus();
  field->selectAll();
}

bool CIpAddressCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  int index = 0;
  while (index < 4 && watched != fields_[static_cast<size_t>(index)]) ++index;
  if (index == 4) return QFrame::eventFilter(watched, event);
  QLineEdit* field = fields_[static_cast<size_t>(index)];
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool justAdvanced = advancedInto_ == index;
  advancedInto_ = -1;
  if (key->text() == QStringLiteral(".")) {
    // The dot after three digits was typed for the move already made; the last box has no next.
    if (!justAdvanced && index < 3) EnterField(index + 1);
    return true;
  }
  if (key->key() == Qt::Key_Backspace && field->text().isEmpty() && index > 0) {
    QLineEdit* before = fields_[static_cast<size_t>(index - 1)];
    before->setFocus();
    before->end(false);
    return true;
  }
  if (key->text().size() == 1 && key->text()[0].isDigit() && !field->hasSelectedText() &&
      field->text() == QStringLiteral("0")) {
    field->clear();  // a lone 0 is replaced wherever the cursor stands: "127" typed reads 127
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace Brenno
