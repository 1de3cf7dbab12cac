#include "ui/widgets/inplace_list.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

#include "ui/widgets/inplace_focus.h"

namespace Brenno {

CInplaceListBase::CInplaceListBase(QWidget* parent, bool tabEnds)
    : QListWidget(parent), InplaceEditorState(this), tabEnds_(tabEnds) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setContextMenuPolicy(Qt::NoContextMenu);
  hide();
}

int CInplaceListBase::SelectedIndex() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void CInplaceListBase::SelectIndex(int index) {
  if (index >= 0 && index < count()) {
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  } else {
    clearSelection();
  }
}

void CInplaceListBase::SearchFromTop(const QString& text) {
  const int before = SelectedIndex();
  // The list's own search starts a new text after a pause, and then at the row after the current
  // one: an empty search from no current row starts it afresh at the top, and the text is then
  // searched as its continuation, so that the keys typed next go on with it.
  setCurrentIndex(QModelIndex());
  keyboardSearch(QString());
  keyboardSearch(text);
  const QListWidgetItem* found = currentItem();
  if (found == nullptr || !found->text().startsWith(text, Qt::CaseInsensitive)) SelectIndex(before);
}

void CInplaceListBase::OpenList(int x, int y, int v1, int v2, const std::vector<std::wstring>& choices, int initial,
                                const Rect& r) {
  initialIndex_ = initial;
  StoreOpening(x, y, v1, v2, r);
  const int rowHeight = fontMetrics().height();
  for (const auto& choice : choices) {
    auto* item = new QListWidgetItem(QString::fromStdWString(choice), this);
    item->setSizeHint(QSize(0, rowHeight));
  }
  SelectIndex(initial);
  scrollToTop();
  ShowAt(r, true);
}

void CInplaceListBase::Commit() {
  CommitRecord(nullptr, SelectedIndex());
}

void CInplaceListBase::ResetEditor() {
  initialIndex_ = 0;
  ClearState();
  ReturnFocusToOwner(this, NotifyOwner());
  hide();
  clear();
  setGeometry(0, 0, 0, 0);
}

bool CInplaceListBase::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      if (tabEnds_ && e->type() == QEvent::KeyPress && TabExitKey(*key) != 0) {
        EndEdit(TabExitKey(*key), e);
      } else {
        e->accept();
      }
      return true;
    }
    if (e->type() == QEvent::ShortcutOverride) {
      e->accept();
      return true;
    }
  }
  return QListWidget::event(e);
}

void CInplaceListBase::keyPressEvent(QKeyEvent* e) {
  if (IsEnterKey(*e)) return EndEdit(kInplaceExitEnter, e);
  switch (e->key()) {
    case Qt::Key_Escape:
      SelectIndex(initialIndex_);
      return EndEdit(kInplaceExitEscape, e);
    default:
      QListWidget::keyPressEvent(e);
      e->accept();
  }
}

void CInplaceListBase::focusOutEvent(QFocusEvent* e) {
  QListWidget::focusOutEvent(e);
  CommitOnFocusOut(*e);
}

void CInplaceListBase::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton) return;
  QListWidget::mousePressEvent(e);
}

void CInplaceListBase::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton) return;
  QListWidget::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && itemAt(e->position().toPoint()) != nullptr && !isHidden()) {
    ExitKey = kInplaceExitEnter;
    focusLost_ = false;
    Commit();
  }
}

void CInplaceListBase::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton) return;
  QListWidget::mouseDoubleClickEvent(e);
}

CExtendInplaceList::CExtendInplaceList(QWidget* parent) : CInplaceListBase(parent, true) {}

void CExtendInplaceList::Open(int originX, int originY, int value1, int value2,
                              const std::vector<std::wstring>& choices, int initialIndex, const Rect& rect) {
  OpenList(originX, originY, value1, value2, choices, initialIndex, rect);
}

CInplaceList::CInplaceList(QWidget* parent) : CInplaceListBase(parent, false) {}

void CInplaceList::Open(int originX, int originY, int value1, int value2, const std::vector<std::wstring>& choices,
                        const Rect& rect) {
  OpenList(originX, originY, value1, value2, choices, 0, rect);
}

int ChoiceListHeight(const QFontMetrics& metrics, int choiceCount) {
  return metrics.height() * std::max(0, choiceCount) + 2;
}

int CalcDropListWidth(const QFontMetrics& metrics, const std::vector<std::wstring>& choices, int scrollBarWidth) {
  int widest = 0;
  for (const auto& choice : choices) widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdWString(choice)));
  return widest + metrics.horizontalAdvance(QStringLiteral("0")) + scrollBarWidth;
}

}  // namespace Brenno
