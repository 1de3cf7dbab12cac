#include "trend/ui/message.h"

#include <QMessageBox>

namespace vandrel {

namespace {
std::function<void(const QString&)>& Handler() {
  static std::function<void(const QString&)> handler;
  return handler;
}
}  // namespace

void ShowInfoMessage(QWidget* parent, const QString& text) {
  if (Handler()) return Handler()(text);
  QMessageBox::information(parent, QStringLiteral("Vandrel"), text);
}

void SetInfoMessageHandler(std::function<void(const QString&)> handler) { Handler() = std::move(handler); }

QString ToQString(const std::wstring& text) { return QString::fromStdWString(text); }
std::wstring FromQString(const QString& text) { return text.toStdWString(); }

}  // namespace vandrel
