#include "ui/shell/qt_message_facade.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QFontMetrics>
#include <QVBoxLayout>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "ui/shell/small_dialogs.h"
#include "ui/shell/ui_dispatcher.h"
#include "ui/widgets/command_icons.h"
#include "ui/widgets/inplace_focus.h"

#include <algorithm>

namespace Brenno {

const char* MessageIconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Hand: return "msg_error";
    case MessageIcon::Question: return "msg_question";
    case MessageIcon::Exclamation: return "msg_warning";
    case MessageIcon::Asterisk: break;
  }
  return "msg_information";
}

bool FitsPlainLabel(const QString& text, const QFontMetrics& metrics) {
  const QRect needed = metrics.boundingRect(QRect(0, 0, kMessageTextWidth, 100000), Qt::TextWordWrap, text);
  // A word too long for the width would widen the box: the pane wraps it anywhere.
  return needed.width() <= kMessageTextWidth && needed.height() <= kMessageLabelLines * metrics.lineSpacing();
}

namespace {

struct ButtonDef {
  int id;
  const char* objectName;
  const wchar_t* english;
  const wchar_t* chinese;
};

constexpr ButtonDef kOk{kIdOk, "IDOK", L"OK", L"确认"};
constexpr ButtonDef kYes{kIdYes, "IDYES", L"Yes", L"是"};
constexpr ButtonDef kNo{kIdNo, "IDNO", L"No", L"否"};
constexpr ButtonDef kCancel{kIdCancel, "IDCANCEL", L"Cancel", L"取消"};

}  // namespace

CMessageBoxDlg::CMessageBoxDlg(QWidget* parent, MessageButtons buttons, MessageIcon icon, const std::wstring& text)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Orvisto Editor"));
  // Resized by the window's border; a size grip of its own would only draw its dots in the
  // bottom margin.

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("icon"));
  picture->setProperty("iconName", QString::fromLatin1(MessageIconName(icon)));
  picture->setPixmap(NamedIcon(QString::fromLatin1(MessageIconName(icon))).pixmap(kMessageIconSide, kMessageIconSide));
  picture->setAlignment(Qt::AlignTop);

  // A short text stands in a plain label; a long one in a scrollable read-only pane. Both can be
  // selected and copied.
  const QString message = QString::fromStdWString(text);
  QWidget* textWidget = nullptr;
  if (FitsPlainLabel(message, fontMetrics())) {
    auto* label = new QLabel(message, this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setMinimumWidth(std::min(kMessageTextWidth, fontMetrics().horizontalAdvance(message) + 4));
    textWidget = label;
  } else {
    auto* pane = new QPlainTextEdit(this);
    pane->setReadOnly(true);
    pane->setPlainText(message);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setMinimumSize(kMessageTextWidth, kMessageLabelLines * fontMetrics().lineSpacing());
    textWidget = pane;
  }
  textWidget->setObjectName(QStringLiteral("text"));

  auto* top = new QHBoxLayout;
  top->setSpacing(14);
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addWidget(textWidget, 1);

  std::vector<ButtonDef> defs;
  int defaultId = kIdOk;
  switch (buttons) {
    case MessageButtons::Ok: defs = {kOk}; break;
    case MessageButtons::YesNo: defs = {kYes, kNo}; defaultId = kIdYes; break;
    case MessageButtons::YesNoCancel: defs = {kYes, kNo, kCancel}; defaultId = kIdYes; break;
    case MessageButtons::YesNoDefaultNo: defs = {kYes, kNo}; defaultId = kIdNo; break;
  }
  // The buttons stay centred under the text as the box grows.
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (const ButtonDef& def : defs) {
    auto* button = new QPushButton(QString::fromWCharArray(PickText(def.english, def.chinese)), this);
    button->setObjectName(QString::fromLatin1(def.objectName));
    const int id = def.id;
    connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    if (id == defaultId) {
      button->setDefault(true);
      button->setFocus();
    }
    row->addWidget(button);
  }
  row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setSpacing(14);
  layout->addLayout(top, 1);
  layout->addLayout(row);
  resize(sizeHint().expandedTo(QSize(300, 0)));
}

void CMessageBoxDlg::reject() { done(kIdCancel); }

void CMessageBoxDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!minimumSet_) {
    minimumSet_ = true;
    setMinimumSize(width() * 3 / 4, height() * 3 / 4);
  }
}

int QtMessageFacade::ShowMessage(MessageButtons buttons, MessageIcon icon, const std::wstring& text) {
  int result = kIdCancel;
  RunOnUiThread([&] {
    const FocusReturn back;
    CMessageBoxDlg dialog(owner_.data(), buttons, icon, text);
    result = dialog.exec();
  });
  return result;
}

bool QtMessageFacade::AskFilePath(FileDialogKind kind, std::wstring& path) {
  bool chosen = false;
  RunOnUiThread([&] {
    const FocusReturn back;
    const bool pmw = kind == FileDialogKind::OpenPmw;
    const QString filter = pmw ? QStringLiteral("MITSUBISHI SW0PC-FXGP Files (*.pmw);;All Files (*)")
                               : QStringLiteral("Orvisto Project Files (*.lqw);;All Files (*)");
    QFileDialog dialog(owner_.data(), QString(), QString::fromStdWString(InitialDialogFolder(path)), filter);
    dialog.setDefaultSuffix(pmw ? QStringLiteral("pmw") : QStringLiteral("lqw"));
    if (kind == FileDialogKind::SaveProject) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    path = dialog.selectedFiles().front().toStdWString();
    chosen = true;
  });
  return chosen;
}

bool QtMessageFacade::AskPlcPassword(std::vector<uint8_t>& block) {
  bool accepted = false;
  RunOnUiThread([&] {
    const FocusReturn back;
    accepted = AskPlcPasswordDialog(owner_.data(), block);
  });
  return accepted;
}

}  // namespace Brenno
