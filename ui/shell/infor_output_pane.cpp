#include "ui/shell/infor_output_pane.h"

#include "ui/shell/notify_codes.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

namespace {
QString TextOf(intptr_t value) {
  const auto* text = reinterpret_cast<const wchar_t*>(value);
  return text != nullptr ? QString::fromWCharArray(text) : QString();
}
}  // namespace

CInforOutputView::CInforOutputView(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("InforOutputView"));
  setFont(QtDrawResources::Shared().Font(0));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTextElideMode(Qt::ElideNone);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void CInforOutputView::HandleUpdate(uint16_t code, intptr_t value) {
  if (code != UpdOutputClear && code != UpdOutputAppend && code != UpdOutputReplaceLast) return;
  setUpdatesEnabled(false);
  if (code == UpdOutputClear) {
    clear();
  } else if (code == UpdOutputAppend) {
    addItem(TextOf(value));
  } else {
    const int selected = currentRow();
    if (count() > 0) delete takeItem(count() - 1);
    addItem(TextOf(value));
    if (selected >= 0 && selected < count()) setCurrentRow(selected);
  }
  scrollToBottom();
  setUpdatesEnabled(true);
  viewport()->repaint();
}

CInforOutputPane::CInforOutputPane(const QString& title, QWidget* parent) : QDockWidget(title, parent) {
  view_ = new CInforOutputView(this);
  setWidget(view_);
  setFocusProxy(view_);
}

}  // namespace Brenno
