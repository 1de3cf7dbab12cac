#include "sysblock/ui/message_box.h"

#include <QMessageBox>
#include <QString>

#include "sysblock/model/text_value.h"

namespace corvell {

namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

void Show(QWidget* parent, const std::wstring& caption, const std::wstring& text, MessageIcon icon) {
  if (Hook()) {
    Hook()(caption, text, icon);
    return;
  }
  QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                  QString::fromStdWString(caption), QString::fromStdWString(text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
  MessageBoxHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void ShowFieldErrorBox(QWidget* parent, int language, const std::wstring& text) {
  Show(parent, SystemBlockCaption(language), text, MessageIcon::Error);
}

void ShowMessageBox(QWidget* parent, int language, const std::wstring& text) {
  Show(parent, SystemBlockCaption(language), text, MessageIcon::Information);
}

}  // namespace corvell
