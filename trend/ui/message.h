// The viewer's message boxes (information icon, caption "Vandrel"); tests replace the box.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace vandrel {

void ShowInfoMessage(QWidget* parent, const QString& text);
// Replaces the message box (an empty handler restores it).
void SetInfoMessageHandler(std::function<void(const QString&)> handler);

QString ToQString(const std::wstring& text);
std::wstring FromQString(const QString& text);

}  // namespace vandrel
