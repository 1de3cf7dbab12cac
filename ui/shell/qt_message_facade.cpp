#include "ui/shell/qt_message_facade.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/env/language.h"
#include "core/env/utilities.h"
#include "ui/shell/small_dialogs.h"
#include "ui/shell/ui_dispatcher.h"

namespace Brenno {

namespace {

QStyle::StandardPixmap PixmapOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Hand: return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Question: return QStyle::SP_MessageBoxQuestion;
    case MessageIcon::Exclamation: return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Asterisk: break;
  }
  return QStyle::SP_MessageBoxInformation;
}

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
  setSizeGripEnabled(true);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("icon"));
  const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  picture->setPixmap(style()->standardIcon(PixmapOf(icon), nullptr, this).pixmap(side, side));
  picture->setAlignment(Qt::AlignTop);

  auto* textBox = new QPlainTextEdit(this);
  textBox->setObjectName(QStringLiteral("text"));
  textBox->setReadOnly(true);
  textBox->setPlainText(QString::fromStdWString(text));
  textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addWidget(textBox, 1);

  std::vector<ButtonDef> defs;
  switch (buttons) {
    case MessageButtons::Ok: defs = {kOk}; break;
    case MessageButtons::YesNo: defs = {kYes, kNo}; break;
    case MessageButtons::YesNoCancel: defs = {kYes, kNo, kCancel}; break;
  }
  // The buttons stay centred under the text as the box grows.
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  bool first = true;
  for (const ButtonDef& def : defs) {
    auto* button = new QPushButton(QString::fromWCharArray(PickText(def.english, def.chinese)), this);
    button->setObjectName(QString::fromLatin1(def.objectName));
    const int id = def.id;
    connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    if (first) {
      button->setDefault(true);
      button->setFocus();
      first = false;
    }
    row->addWidget(button);
  }
  row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(row);
  resize(460, 150);
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
    CMessageBoxDlg dialog(owner_.data(), buttons, icon, text);
    result = dialog.exec();
  });
  return result;
}

bool QtMessageFacade::AskFilePath(FileDialogKind kind, std::wstring& path) {
  bool chosen = false;
  RunOnUiThread([&] {
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
  RunOnUiThread([&] { accepted = AskPlcPasswordDialog(owner_.data(), block); });
  return accepted;
}

}  // namespace Brenno
