// Small helpers of the widget tests: a shown, active top-level window so that focus changes
// happen as on a desktop, and synthetic key, mouse and wheel input sent straight to a widget.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace Brenno::testing_widgets {

// Shows the window and makes it the active one.
inline void ShowActive(QWidget& top) {
  top.show();
  top.activateWindow();
  QApplication::setActiveWindow(&top);
  QApplication::processEvents();
}

inline void Key(QWidget* target, int key, const QString& text = QString(),
                Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(target, &release);
}

// Types the characters of the text, one key each.
inline void Type(QWidget* target, const QString& text) {
  for (QChar c : text) Key(target, c.toUpper().unicode(), QString(c));
}

inline void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  const QPointF local(at);
  const QPointF global(target->mapToGlobal(at));
  QMouseEvent event(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
  QApplication::sendEvent(target, &event);
}

inline void Click(QWidget* target, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  Qt::MouseButton button = Qt::LeftButton) {
  Mouse(target, QEvent::MouseButtonPress, at, button, modifiers);
  Mouse(target, QEvent::MouseButtonRelease, at, button, modifiers);
}

inline void Wheel(QWidget* target, QPoint at, int delta) {
  QWheelEvent event(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &event);
}

}  // namespace Brenno::testing_widgets
