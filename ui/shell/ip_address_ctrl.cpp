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
      if (text.size() == 3 && i < 3) fields_[static_cast<size_t>(i + 1)]->setFocus();
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

bool CIpAddressCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    for (int i = 0; i < 3; ++i) {
      if (watched == fields_[static_cast<size_t>(i)] && key->text() == QStringLiteral(".")) {
        fields_[static_cast<size_t>(i + 1)]->setFocus();
        fields_[static_cast<size_t>(i + 1)]->selectAll();
        return true;
      }
    }
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace Brenno
