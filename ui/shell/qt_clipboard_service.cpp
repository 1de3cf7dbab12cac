#include "ui/shell/qt_clipboard_service.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Brenno {

namespace {
QString PrivateFormat() { return QString::fromLatin1(kPrivateClipboardFormatName); }
}  // namespace

bool QtClipboardService::PutText(const std::wstring& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  auto* data = new QMimeData;
  data->setText(QString::fromStdWString(text));
  clipboard->setMimeData(data);
  return true;
}

std::optional<std::wstring> QtClipboardService::GetText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return data->text().toStdWString();
}

bool QtClipboardService::PutPrivateBlock(const std::vector<uint8_t>& block) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  auto* data = new QMimeData;
  data->setData(PrivateFormat(), QByteArray(reinterpret_cast<const char*>(block.data()), static_cast<qsizetype>(block.size())));
  clipboard->setMimeData(data);
  return true;
}

std::optional<std::vector<uint8_t>> QtClipboardService::GetPrivateBlock() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr || !data->hasFormat(PrivateFormat())) return std::nullopt;
  const QByteArray bytes = data->data(PrivateFormat());
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace Brenno
