// Helpers of the property sheet tests: the application object (made on first use, so that a
// test can first see the editor make its own), and a recorder of message boxes.
#pragma once

#include <QApplication>
#include <string>
#include <vector>

#include "sysblock/ui/message_box.h"

namespace corvell::test {

// The test program's application object, created the first time it is needed.
QApplication& EnsureApplication();
// The object EnsureApplication made (deleted when the tests end), or null.
extern QApplication* application;

// Records every message box while it lives instead of showing it.
class RecordedMessages {
 public:
  RecordedMessages() {
    previous_ = SetMessageBoxHook([this](const std::wstring&, const std::wstring& text, MessageIcon) {
      Texts.push_back(text);
    });
  }
  ~RecordedMessages() { SetMessageBoxHook(previous_); }
  std::vector<std::wstring> Texts;

 private:
  MessageBoxHook previous_;
};

}  // namespace corvell::test
