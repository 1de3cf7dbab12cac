// The character filter of the value edits of the analog input and temperature sub-dialogs:
// only digits, '.', '-' and backspace may be typed. Every other character, control characters
// such as those of the copy and paste keys included, is swallowed; keys that type nothing
// (arrows, Home, Delete) and the dialog keys (Tab, Enter, Escape) pass. Text an input method
// commits is filtered character by character, and nothing can be dropped onto the edits.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace corvell {

// Whether `c` may be typed into a value edit.
bool IsValueEditCharacter(QChar c);

// Whether a key press may reach a value edit: `key` is the Qt key code, `modifiers` the
// keyboard modifiers and `text` the characters the press types.
bool ValueEditAcceptsKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);

// Installed on value edits: drops the key presses ValueEditAcceptsKey refuses and the
// characters of committed input-method text that IsValueEditCharacter refuses.
class CValueEditKeyFilter : public QObject {
 public:
  explicit CValueEditKeyFilter(QObject* parent) : QObject(parent) {}
  // Filters what is typed into `edit` from now on.
  void Watch(QWidget* edit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace corvell
