// A script for the modal dialog a test opens: it runs once the dialog's loop runs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace testsupport {

// Runs `script` on the modal dialog once its loop runs; rejects it afterwards when the script
// left it open, so that a failing test cannot hang.
inline void WhenModal(std::function<void(QDialog&)> script) {
  QTimer::singleShot(0, [script] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog";
      return;
    }
    script(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the script left the dialog open";
      dialog->reject();
    }
  });
}

}  // namespace testsupport
