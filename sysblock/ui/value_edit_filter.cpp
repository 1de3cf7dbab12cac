#include "sysblock/ui/value_edit_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace corvell {

bool IsValueEditCharacter(QChar c) {
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') || c == QLatin1Char('-') ||
         c == QLatin1Char('\b');
}

bool ValueEditAcceptsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  switch (key) {
    case Qt::Key_Backspace: return (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete: return true;
    default: break;
  }
  // A letter combined with Control types a control character (Ctrl+V is character 0x16),
  // which the filter swallows like any other character outside the set; Control with a key
  // that types nothing (Ctrl+Left) passes.
  if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) != 0 && key >= Qt::Key_A && key <= Qt::Key_Z) return false;
  for (QChar c : text)
    if (!IsValueEditCharacter(c)) return false;
  return true;
}

void CValueEditKeyFilter::Watch(QWidget* edit) {
  edit->setAcceptDrops(false);
  edit->installEventFilter(this);
}

bool CValueEditKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!ValueEditAcceptsKey(key->key(), key->modifiers(), key->text())) return true;
  } else if (event->type() == QEvent::InputMethod) {
    auto* input = static_cast<QInputMethodEvent*>(event);
    QString kept;
    for (QChar c : input->commitString())
      if (IsValueEditCharacter(c) && c != QLatin1Char('\b')) kept += c;
    if (kept != input->commitString())
      input->setCommitString(kept, input->replacementStart(), input->replacementLength());
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace corvell
