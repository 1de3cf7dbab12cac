// The message box of the workbench and the Qt form of the UI facade.
#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

#include "ui/shell/message_facade.h"

class QPlainTextEdit;

namespace Brenno {

// A resizable box with the caption "Orvisto Editor", a system icon, a scrollable read-only text
// (so that long messages can be read and copied) and the buttons of one of three sets. Each
// button ends the dialog with its own id; Esc and the close box end it with kIdCancel.
class CMessageBoxDlg : public QDialog {
  Q_OBJECT
 public:
  CMessageBoxDlg(QWidget* parent, MessageButtons buttons, MessageIcon icon, const std::wstring& text);

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool minimumSet_ = false;
};

class QtMessageFacade : public MessageFacade {
 public:
  // The owner of the dialogs: the main window once it exists (null until then).
  void SetOwner(QWidget* owner) { owner_ = owner; }

  int ShowMessage(MessageButtons buttons, MessageIcon icon, const std::wstring& text) override;
  bool AskFilePath(FileDialogKind kind, std::wstring& path) override;
  bool AskPlcPassword(std::vector<uint8_t>& block) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace Brenno
