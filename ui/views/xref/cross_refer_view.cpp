#include "ui/views/xref/cross_refer_view.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "core/env/language.h"

namespace Brenno {

template class CrossReferViewBase<CrossReferUseTable>;
template class CrossReferViewBase<CrossReferUsageTable>;

// ---------------------------------------------------------------- uses

bool CCrossReferView::UpdateEditorCommand(int offset, CommandStatus& status) {
  if (offset == kTableCmdLocation) {
    status.Enabled = !InplaceEdit().isHidden() || Rows().CanLocate(CursorOf(*this));
    return true;
  }
  if (offset == kTableCmdRefresh) {
    status.Enabled = !InplaceEdit().isHidden() || Rows().CanRefresh();
    return true;
  }
  return CrossReferViewBase::UpdateEditorCommand(offset, status);
}

bool CCrossReferView::OnEditorCommand(int offset) {
  if (offset == kTableCmdLocation) {
    setFocus();
    Rows().Locate(CursorOf(*this));
    return true;
  }
  return CrossReferViewBase::OnEditorCommand(offset);
}

void CCrossReferView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    OnEditorCommand(kTableCmdLocation);
    return;
  }
  CrossReferViewBase::mouseDoubleClickEvent(event);
}

// ---------------------------------------------------------------- maps

CCrossReferBitView::CCrossReferBitView(QWidget* parent) : CrossReferViewBase(parent) {
  model_ = CrossReferUsageTable(CrossReferUsageTable::Map::Bits);
}

CCrossReferByteView::CCrossReferByteView(QWidget* parent) : CrossReferViewBase(parent) {
  model_ = CrossReferUsageTable(CrossReferUsageTable::Map::Bytes);
}

// ---------------------------------------------------------------- frame

CCrossReferFrm::CCrossReferFrm(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QString::fromWCharArray(PickText(L"Cross Reference", L"交叉引用")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  layout->addWidget(tabs_);
  value_ = new CCrossReferView;
  value_->Create(tabs_, 0);
  bit_ = new CCrossReferBitView;
  bit_->Create(tabs_, 1);
  byte_ = new CCrossReferByteView;
  byte_->Create(tabs_, 2);
  tabs_->addTab(value_, QStringLiteral("VALUE"));
  tabs_->addTab(bit_, QStringLiteral("BIT"));
  tabs_->addTab(byte_, QStringLiteral("BYTE"));
  tabs_->setCurrentIndex(0);
  setFocusProxy(value_);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { setFocusProxy(tabs_->currentWidget()); });
}

void CCrossReferFrm::OnPaneRequest(uint16_t code, intptr_t value) {
  value_->OnPaneUpdate(code, value);
  bit_->OnPaneUpdate(code, value);
  byte_->OnPaneUpdate(code, value);
}

bool CCrossReferFrm::UpdateEditorCommand(int offset, CommandStatus& status) {
  return WithActiveView([&](auto& view) { return view.UpdateEditorCommand(offset, status); });
}

bool CCrossReferFrm::OnEditorCommand(int offset) {
  return WithActiveView([&](auto& view) { return view.OnEditorCommand(offset); });
}

void CCrossReferFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  QWidget::closeEvent(event);
}

}  // namespace Brenno
