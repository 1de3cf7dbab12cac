#include "ui/views/instruction/instruction_dialog_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QResizeEvent>
#include <algorithm>
#include <map>

#include "core/link/app_environment.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"

namespace Brenno {

namespace {

constexpr int kKindIconSize = 32;
constexpr int kValidIconSize = 16;

void DrawKindIcon(QPainter& p, int kind) {
  p.setPen(QPen(Qt::black, 2));
  const int mid = kKindIconSize / 2;
  if (kind <= 3) {
    // A contact: two plates with the power lines, a slash for normally closed, an arrow for the
    // edge contacts.
    p.drawLine(0, mid, 10, mid);
    p.drawLine(22, mid, 32, mid);
    p.drawLine(10, 6, 10, 26);
    p.drawLine(22, 6, 22, 26);
    if (kind == 1) p.drawLine(12, 24, 20, 8);
    if (kind == 2) {
      p.drawLine(16, 24, 16, 8);
      p.drawLine(16, 8, 13, 12);
      p.drawLine(16, 8, 19, 12);
    }
    if (kind == 3) {
      p.drawLine(16, 8, 16, 24);
      p.drawLine(16, 24, 13, 20);
      p.drawLine(16, 24, 19, 20);
    }
  } else if (kind == 4) {
    p.drawLine(0, mid, 8, mid);
    p.drawLine(24, mid, 32, mid);
    p.drawArc(6, 6, 10, 20, 90 * 16, 180 * 16);
    p.drawArc(16, 6, 10, 20, -90 * 16, 180 * 16);
  } else {
    p.drawLine(0, mid, 6, mid);
    p.drawRect(6, 4, 20, 24);
    p.drawLine(26, mid, 32, mid);
  }
}

}  // namespace

void GetWindowWideText(const QWidget* window, std::wstring& text) {
  text.clear();
  if (window == nullptr) return;
  QString value;
  if (const auto* edit = qobject_cast<const QLineEdit*>(window)) {
    value = edit->text();
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(window)) {
    value = button->text();
  } else if (const auto* label = qobject_cast<const QLabel*>(window)) {
    value = label->text();
  } else if (const auto* combo = qobject_cast<const QComboBox*>(window)) {
    value = combo->currentIndex() >= 0 ? combo->currentText() : QString();
  } else {
    value = window->windowTitle();
  }
  text = value.toStdWString();
}

void SetWindowWideText(QWidget* window, const std::wstring& text) {
  const QString value = QString::fromStdWString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(window)) {
    edit->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(window)) {
    button->setText(value);
  } else if (auto* label = qobject_cast<QLabel*>(window)) {
    label->setText(value);
  } else if (window != nullptr) {
    window->setWindowTitle(value);
  }
}

QPixmap InstructionIcon(int number) {
  // Kept for the whole process and never destroyed: a pixmap must not outlive the application
  // object's teardown.
  static auto* cache = new std::map<int, QPixmap>();
  const auto found = cache->find(number);
  if (found != cache->end()) return found->second;
  const bool kind = number >= kIconKindFirst && number < kIconKindFirst + 6;
  QPixmap pixmap(kind ? kKindIconSize : kValidIconSize, kind ? kKindIconSize : kValidIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (number == kIconValid) {
    p.setPen(QPen(QColor(0, 160, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(3, 8);
    tick.lineTo(7, 12);
    tick.lineTo(13, 3);
    p.drawPath(tick);
  } else if (kind) {
    DrawKindIcon(p, number - kIconKindFirst);
  }
  p.end();
  cache->emplace(number, pixmap);
  return pixmap;
}

void ShowIcon(QLabel* label, int number) {
  if (label == nullptr) return;
  label->setPixmap(InstructionIcon(number));
  label->setProperty("iconNumber", number);
}

void ShowValidity(QLabel* label, bool valid) { ShowIcon(label, valid ? kIconValid : kIconInvalid); }

int ShownIcon(const QLabel* label) { return label == nullptr ? 0 : label->property("iconNumber").toInt(); }

QRect ApplyResizeRule(const QRect& initial, const ResizeRule& rule, int dx, int dy) {
  dx = std::max(dx, 0);
  dy = std::max(dy, 0);
  return QRect(initial.x() + rule.MoveX.Of(dx), initial.y() + rule.MoveY.Of(dy), initial.width() + rule.GrowW.Of(dx),
               initial.height() + rule.GrowH.Of(dy));
}

CInstructionDialogBase::CInstructionDialogBase(QWidget* parent) : QDialog(parent) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int TextWidthNeeded(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) {
    if (label->wordWrap() || label->text().isEmpty()) return 0;
    return label->sizeHint().width();
  }
  if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
    if (button->text().isEmpty()) return 0;
    // The text and the frame's margins; not the style's minimum button width.
    const int margin = widget->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
    return button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin + 4;
  }
  if (const auto* check = qobject_cast<const QAbstractButton*>(widget)) {
    return check->text().isEmpty() ? 0 : check->sizeHint().width();
  }
  return 0;
}

int CInstructionDialogBase::BaseX() const {
  const QFontMetrics metrics(font());
  return std::max(1, metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52);
}

QRect CInstructionDialogBase::Dlu(int x, int y, int w, int h) const {
  const int baseX = BaseX() * widthPercent_;  // in hundredths of a pixel
  const int baseY = std::max(1, QFontMetrics(font()).height());
  return QRect(x * baseX / 400, y * baseY / 8, w * baseX / 400, h * baseY / 8);
}

void CInstructionDialogBase::PlaceWidget(QWidget* widget, const char* name, int offset, QRect dlu, ResizeRule rule) {
  widget->setObjectName(QString::fromLatin1(name));
  if (offset < 0) {
    widget->setProperty("controlId", -offset);
  } else if (offset > 0) {
    widget->setProperty("controlId", CommandIdBaseNow() + offset);
  }
  widget->setGeometry(Dlu(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
  placed_.push_back({widget, rule, dlu, QRect()});
}

void CInstructionDialogBase::FinishLayout(int widthDlu, int heightDlu, bool resizable) {
  // The widening the tightest text needs, then every control placed again with it.
  int percent = 100;
  for (const Placed& placed : placed_) {
    const int needed = TextWidthNeeded(placed.widget);
    const int units = placed.dlu.width() * BaseX();  // the width in quarters of a pixel at 100 %
    if (needed > placed.widget->width() && units > 0) percent = std::max(percent, (needed * 400 + units - 1) / units);
  }
  if (percent != 100) {
    widthPercent_ = percent;
    for (const Placed& placed : placed_) {
      placed.widget->setGeometry(Dlu(placed.dlu.x(), placed.dlu.y(), placed.dlu.width(), placed.dlu.height()));
    }
  }
  const QRect size = Dlu(0, 0, widthDlu, heightDlu);
  resize(size.size());
  for (Placed& placed : placed_) placed.initial = placed.widget->geometry();
  initialSize_ = size.size();
  saved_ = true;
  if (resizable) {
    setMinimumSize(initialSize_);
  } else {
    setFixedSize(initialSize_);
  }
}

void CInstructionDialogBase::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!saved_) return;
  const int dx = event->size().width() - initialSize_.width();
  const int dy = event->size().height() - initialSize_.height();
  setUpdatesEnabled(false);
  for (const Placed& placed : placed_) placed.widget->setGeometry(ApplyResizeRule(placed.initial, placed.rule, dx, dy));
  setUpdatesEnabled(true);
  update();
}

QString PickQ(const wchar_t* english, const wchar_t* chinese) {
  return QString::fromWCharArray(PickText(english, chinese));
}

const Project* CurrentProjectOrNull() {
  const AppEnvironment* environment = InstalledAppEnvironment();
  if (environment == nullptr || environment->ProjectList.empty()) return nullptr;
  return &environment->ProjectList.back();
}

bool IsCommOfflineNow() {
  const AppEnvironment* environment = InstalledAppEnvironment();
  return environment != nullptr && environment->CommState.load() == CommOffline;
}

void ReturnKeyboardTo(QWidget* edit) {
  if (edit == nullptr) return;
  edit->window()->activateWindow();
  edit->setFocus(Qt::OtherFocusReason);
}

int CommandIdBaseNow() { return CurrentLanguage() == kLanguageChinese ? 2000 : 1000; }

}  // namespace Brenno
