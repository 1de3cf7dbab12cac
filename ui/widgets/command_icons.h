// The workbench's own pictures, drawn from the SVG files in the program's resources: the icons
// of the menu and tool bar commands, the application icon and the About box's banner; and the
// tooltip a tool bar button shows for its command.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class QAction;

namespace Brenno {

// The icon of a command by its offset from the command-id base (the offsets are shared by the
// main menu, the tool bars and the views' context menus); a null icon for a command without one.
QIcon CommandIcon(int offset);
// An icon of the resources by its file name without ".svg" ("zoom"); null when there is none.
QIcon NamedIcon(const QString& name);
// The application icon (every window of the workbench shows it).
QIcon ApplicationIcon();
// The About box's banner drawn at the size.
QPixmap BannerPixmap(const QSize& size);

// A command's name from its menu text, without the mnemonic and the key: "&New\tCtrl+N" and
// "新建(&N)\tCtrl+N" give "New" and "新建", "&Open..." gives "Open".
QString CommandName(const QString& menuText);
// The key a menu text shows after its tab ("Ctrl+N", "F9"); empty when it shows none.
QString CommandKeyText(const QString& menuText);
// The tooltip of a tool bar button: the command's name, with its key in brackets when it has one
// (the action's shortcut, else the key its menu text shows): "New (Ctrl+N)".
QString CommandToolTip(const QAction& action);
// Gives the command's action its icon (when the command has one) and its tooltip.
void DecorateCommand(QAction* action, int offset);

}  // namespace Brenno
