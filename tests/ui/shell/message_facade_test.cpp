// The UI facade: icon flags, the start folder of the file dialogs, the answers without a facade,
// and the Qt message box's buttons and results.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "core/env/language.h"
#include "core/project/message_box.h"
#include "tests/ui/shell/scripted_message_facade.h"
#include "ui/shell/qt_message_facade.h"

namespace Brenno {
namespace {

TEST(MessageFacade, IconFlags) {
  EXPECT_EQ(IconForFlag(0x10), MessageIcon::Hand);
  EXPECT_EQ(IconForFlag(0x20), MessageIcon::Question);
  EXPECT_EQ(IconForFlag(0x30), MessageIcon::Exclamation);
  for (unsigned flag : {0x40u, 0u, 0x11u, 0x50u}) EXPECT_EQ(IconForFlag(flag), MessageIcon::Asterisk) << flag;
}

TEST(MessageFacade, FileDialogsStartInTheFolderOfThePath) {
  const std::wstring home = DefaultProjectFolder();
  EXPECT_EQ(home.substr(home.size() - 15), L"/DravomelFiles/");
  EXPECT_EQ(InitialDialogFolder(L""), home);
  EXPECT_EQ(InitialDialogFolder(L"plain.lqw"), home);
  EXPECT_EQ(InitialDialogFolder(L"/data/projects/a.lqw"), L"/data/projects/");
  EXPECT_EQ(InitialDialogFolder(L"C:\\DravomelFiles\\a.lqw"), L"C:\\DravomelFiles\\");
}

TEST(MessageFacade, WithoutAFacadeBoxesAnswerAsClosed) {
  InstallMessageFacade(nullptr);
  EXPECT_EQ(MessageBoxYesNoCancel(L"text"), kIdCancel);
  std::wstring path = L"/a/b.lqw";
  EXPECT_FALSE(AskOpenProjectPath(path));
  EXPECT_EQ(path, L"/a/b.lqw");
}

TEST(MessageFacade, CoreMessageBoxesReachTheInstalledFacade) {
  shelltest::ScriptedMessageFacade facade;
  // A box closed without an answer counts as No.
  facade.answers = {kIdYes, kIdNo, kIdCancel, kIdCancel};
  EXPECT_EQ(MessageBoxYesNo(L"PLC is running, stop it?", kMessageIconQuestion), kMessageResultYes);
  EXPECT_EQ(MessageBoxYesNo(L"PLC is running, stop it?", kMessageIconQuestion), kMessageResultNo);
  EXPECT_EQ(MessageBoxYesNo(L"PLC is running, stop it?", kMessageIconQuestion), kMessageResultNo);
  EXPECT_EQ(MessageBoxOk(L"Operation Canceled", kMessageIconStop), kMessageResultOk);
  ASSERT_EQ(facade.asked.size(), 4u);
  EXPECT_EQ(facade.asked[0].Buttons, MessageButtons::YesNo);
  EXPECT_EQ(facade.asked[0].Icon, MessageIcon::Question);
  EXPECT_EQ(facade.asked[3].Buttons, MessageButtons::Ok);
  EXPECT_EQ(facade.asked[3].Icon, MessageIcon::Hand);
  // A question whose Yes throws work away has No as its default, with the icon it names.
  facade.answers = {kIdCancel};
  EXPECT_EQ(MessageBoxYesNo(L"Remove it?", kMessageIconQuestion | kMessageDefaultNo), kMessageResultNo);
  ASSERT_EQ(facade.asked.size(), 5u);
  EXPECT_EQ(facade.asked[4].Buttons, MessageButtons::YesNoDefaultNo);
  EXPECT_EQ(facade.asked[4].Icon, MessageIcon::Question);
  std::wstring path;
  facade.chosenPath = L"/tmp/x.pmw";
  EXPECT_TRUE(AskPmwFilePath(path));
  EXPECT_EQ(path, L"/tmp/x.pmw");
  EXPECT_EQ(facade.fileKinds, std::vector<FileDialogKind>{FileDialogKind::OpenPmw});
}

// Runs `act` on the message box once it is shown.
void WhenModalShown(const std::function<void(QWidget*)>& act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start(10);
}

TEST(QtMessageBox, ButtonsEndTheBoxWithTheirIds) {
  QtMessageFacade facade;
  struct Case {
    MessageButtons buttons;
    std::vector<const char*> present;
    const char* click;  // null: close with Esc
    int result;
  };
  const Case cases[] = {
      {MessageButtons::Ok, {"IDOK"}, "IDOK", kIdOk},
      {MessageButtons::Ok, {"IDOK"}, nullptr, kIdCancel},
      {MessageButtons::YesNo, {"IDYES", "IDNO"}, "IDNO", kIdNo},
      {MessageButtons::YesNo, {"IDYES", "IDNO"}, nullptr, kIdCancel},
      {MessageButtons::YesNoCancel, {"IDYES", "IDNO", "IDCANCEL"}, "IDYES", kIdYes},
      {MessageButtons::YesNoDefaultNo, {"IDYES", "IDNO"}, "IDYES", kIdYes},
  };
  const std::wstring longText(5000, L'x');
  for (const Case& c : cases) {
    std::vector<std::string> found;
    QString shownText;
    WhenModalShown([&](QWidget* box) {
      for (auto* button : box->findChildren<QPushButton*>()) found.push_back(button->objectName().toStdString());
      shownText = box->findChild<QPlainTextEdit*>()->toPlainText();
      if (c.click != nullptr) {
        box->findChild<QPushButton*>(QString::fromLatin1(c.click))->click();
      } else {
        static_cast<QDialog*>(box)->reject();
      }
    });
    EXPECT_EQ(facade.ShowMessage(c.buttons, MessageIcon::Hand, longText), c.result);
    EXPECT_EQ(found.size(), c.present.size());
    for (const char* name : c.present) EXPECT_NE(std::find(found.begin(), found.end(), name), found.end()) << name;
    EXPECT_EQ(shownText.size(), 5000);
  }
}

// Closing a box leaves no window active where there is no window manager to give the activation
// back: the keys after it go to the window and the field that had them before.
TEST(QtMessageBox, TheKeysGoBackWhereTheyWereAfterTheBox) {
  QWidget window;
  new QLineEdit(&window);  // the field the window would give the keys to by itself
  auto* second = new QLineEdit(&window);
  second->move(0, 40);
  window.show();
  window.activateWindow();
  second->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), second);
  QtMessageFacade facade;
  facade.SetOwner(&window);
  WhenModalShown([](QWidget* box) { box->findChild<QPushButton*>(QStringLiteral("IDOK"))->click(); });
  EXPECT_EQ(facade.ShowMessage(MessageButtons::Ok, MessageIcon::Exclamation, L"Parse Binary Error"), kIdOk);
  QApplication::processEvents();
  EXPECT_TRUE(window.isActiveWindow());
  EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST(QtMessageBox, EachKindShowsItsOwnIconAndAShortTextStandsInAPlainLabel) {
  const std::pair<MessageIcon, QString> kinds[] = {{MessageIcon::Asterisk, QStringLiteral("msg_information")},
                                                   {MessageIcon::Exclamation, QStringLiteral("msg_warning")},
                                                   {MessageIcon::Question, QStringLiteral("msg_question")},
                                                   {MessageIcon::Hand, QStringLiteral("msg_error")}};
  std::vector<QImage> pictures;
  for (const auto& [icon, name] : kinds) {
    CMessageBoxDlg box(nullptr, MessageButtons::Ok, icon, L"设置成功");
    auto* picture = box.findChild<QLabel*>(QStringLiteral("icon"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->property("iconName").toString(), name);
    ASSERT_FALSE(picture->pixmap().isNull());
    pictures.push_back(picture->pixmap().toImage());
    auto* text = box.findChild<QLabel*>(QStringLiteral("text"));
    ASSERT_NE(text, nullptr) << "a short text stands in a label";
    EXPECT_EQ(text->text(), QStringLiteral("设置成功"));
    EXPECT_EQ(box.findChild<QPlainTextEdit*>(), nullptr);
  }
  // Four different pictures.
  for (size_t i = 0; i < pictures.size(); ++i) {
    for (size_t j = i + 1; j < pictures.size(); ++j) EXPECT_NE(pictures[i], pictures[j]) << i << " " << j;
  }
  // A long text gets the scrollable pane.
  std::wstring lines;
  for (int i = 0; i < 30; ++i) lines += L"Network " + std::to_wstring(i) + L": operand out of range\n";
  CMessageBoxDlg box(nullptr, MessageButtons::Ok, MessageIcon::Hand, lines);
  EXPECT_NE(box.findChild<QPlainTextEdit*>(QStringLiteral("text")), nullptr);
}

TEST(QtMessageBox, ResizesByItsBorderWithoutASizeGrip) {
  CMessageBoxDlg box(nullptr, MessageButtons::YesNo, MessageIcon::Question, L"PLC is running, stop it?");
  box.show();
  for (const QSizeGrip* grip : box.findChildren<QSizeGrip*>()) EXPECT_FALSE(grip->isVisible());
  EXPECT_LT(box.minimumWidth(), box.maximumWidth());  // still resizable
}

TEST(QtMessageBox, ChineseButtonTexts) {
  SetCurrentLanguage(kLanguageChinese);
  CMessageBoxDlg box(nullptr, MessageButtons::YesNoCancel, MessageIcon::Question, L"您要将改动存入项目吗?");
  SetCurrentLanguage(kLanguageEnglish);
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Orvisto Editor"));
  EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("IDYES"))->text(), QStringLiteral("是"));
  EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("IDNO"))->text(), QStringLiteral("否"));
  EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->text(), QStringLiteral("取消"));
}

}  // namespace
}  // namespace Brenno
