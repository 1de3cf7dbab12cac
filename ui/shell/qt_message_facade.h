// The message box of the workbench and the Qt form of the UI facade.
#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

#include "ui/shell/message_facade.h"

class QFontMetrics;

namespace Brenno {

// The picture of the box for the icon ("msg_information", "msg_warning", ...).
const char* MessageIconName(MessageIcon icon);
// The width the box's text is laid out in, and the number of lines up to which it stands in a
// plain label (a longer text gets a scrollable pane).
inline constexpr int kMessageTextWidth = 380;
inline constexpr int kMessageLabelLines = 8;
inline constexpr int kMessageIconSide = 40;
// True when the text, wrapped at kMessageTextWidth, takes at most kMessageLabelLines lines.
bool FitsPlainLabel(const QString& text, const QFontMetrics& metrics);

// A resizable box with the caption "Orvisto Editor", the icon of its kind, the text (in a plain
// label when it is short, in a scrollable read-only pane when it is long, so that long messages
// can be read; both can be copied) and the buttons of one of three sets. Each
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
