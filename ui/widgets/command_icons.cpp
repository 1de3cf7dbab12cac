#include "ui/widgets/command_icons.h"

#include <QAction>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace Brenno {

namespace {

// Which picture each command shows. Commands that share a meaning share a picture (the two
// Download and Connect entries, the text-mode clipboard commands, the two element tool sets).
struct CommandPicture {
  int offset;
  const char* name;
};

constexpr CommandPicture kPictures[] = {
    // File
    {20101, "file_new"}, {20102, "file_open"}, {20103, "file_open_pmw"}, {20389, "file_write"},
    {20390, "file_read"}, {20104, "file_save"}, {20105, "file_save_as"}, {20106, "upload"},
    {20107, "download"}, {30115, "download"}, {20108, "exit"},
    // Edit and the views' clipboard
    {20121, "undo"}, {20122, "redo"}, {20123, "cut"}, {20124, "copy"}, {20125, "paste"}, {20126, "cut"},
    {20127, "copy"}, {20128, "paste"}, {20129, "select_all"}, {20130, "find"},
    // Element tools and the program editor's rows, columns and networks
    {20141, "erase"}, {20142, "select_tool"}, {20143, "vert_line"}, {20144, "horz_line"}, {20145, "contact"},
    {20146, "coil"}, {20147, "box"}, {20148, "delete_row"}, {20149, "insert_row"}, {20150, "delete_column"},
    {20151, "insert_column"}, {20152, "delete_network"}, {20153, "insert_network"}, {20154, "insert_network"},
    {20241, "contact"}, {20242, "contact_nc"}, {20243, "contact_pos"}, {20244, "contact_neg"}, {20245, "coil"},
    {20246, "box"}, {20247, "horz_line"}, {20248, "vert_line"}, {20249, "invert_line"},
    {20397, "unlock"}, {20398, "lock"},
    // View
    {20161, "stl_view"}, {20162, "lad_view"}, {20163, "data_block"}, {20164, "system_block"},
    {20165, "program_editor"}, {20166, "function_symbol"}, {20167, "variable_symbol"},
    {20168, "cross_reference"}, {20169, "communications"}, {20170, "symbolic_addressing"},
    {20175, "status_chart"}, {20176, "project_manager"}, {20177, "information_output"},
    {20178, "debug_information"},
    // PLC
    {20181, "run"}, {20182, "stop"}, {20183, "single_scan"}, {20184, "multiple_scans"}, {20185, "power_reset"},
    {20186, "compile"}, {20187, "compile_all"}, {20388, "diagnose"}, {20396, "trend"}, {20188, "clear_plc"},
    {20189, "plc_information"}, {20190, "read_clock"}, {20191, "write_clock"}, {20192, "plc_type"},
    {20193, "modbus_query"},
    // Debug
    {30116, "connect"}, {20201, "connect"}, {20202, "disconnect"}, {20203, "debug_run"}, {20204, "debug_stop"},
    {20205, "step_in"}, {20206, "step_over"}, {20207, "step_out"}, {20208, "power_debug_reset"},
    {30114, "communications"},
    // Help
    {20224, "help"},
};

constexpr int kAboutCommand = 20221;

// The sizes an icon is drawn at; Qt scales from the nearest for any other.
constexpr int kIconSizes[] = {16, 20, 24, 32, 48, 64};

QPixmap Render(QSvgRenderer& renderer, const QSize& size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return pixmap;
}

QIcon LoadIcon(const QString& path) {
  // Kept for the whole process and never destroyed: an icon must not outlive the application
  // object's teardown.
  static auto* cache = new QHash<QString, QIcon>();
  const auto found = cache->constFind(path);
  if (found != cache->constEnd()) return *found;
  QIcon icon;
  QSvgRenderer renderer(path);
  if (renderer.isValid()) {
    for (int side : kIconSizes) icon.addPixmap(Render(renderer, QSize(side, side)));
  }
  cache->insert(path, icon);
  return icon;
}

}  // namespace

QIcon NamedIcon(const QString& name) {
  return LoadIcon(QStringLiteral(":/orvisto/icons/%1.svg").arg(name));
}

QIcon CommandIcon(int offset) {
  if (offset == kAboutCommand) return ApplicationIcon();
  for (const CommandPicture& picture : kPictures) {
    if (picture.offset == offset) return NamedIcon(QString::fromLatin1(picture.name));
  }
  return QIcon();
}

QIcon ApplicationIcon() { return LoadIcon(QStringLiteral(":/orvisto/orvisto.svg")); }

QPixmap BannerPixmap(const QSize& size) {
  QSvgRenderer renderer(QStringLiteral(":/orvisto/banner.svg"));
  return renderer.isValid() ? Render(renderer, size) : QPixmap();
}

QString CommandName(const QString& menuText) {
  QString name = menuText.section(QLatin1Char('\t'), 0, 0);
  // The Chinese texts carry their mnemonic in brackets: "新建(&N)", "打开...(&O)".
  static const QRegularExpression bracketed(QStringLiteral("\\(&.\\)"));
  name.remove(bracketed);
  name.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  name.remove(QLatin1Char('&'));
  name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  if (name.endsWith(QStringLiteral("..."))) name.chop(3);
  return name.trimmed();
}

QString CommandKeyText(const QString& menuText) {
  if (!menuText.contains(QLatin1Char('\t'))) return QString();
  QString key = menuText.section(QLatin1Char('\t'), 1).trimmed();
  // "DELETE" and "ESC" are written in capitals in the menus; the tooltip names them as the key
  // sequence does.
  const QKeySequence sequence(key);
  if (!sequence.isEmpty()) key = sequence.toString(QKeySequence::NativeText);
  return key;
}

QString CommandToolTip(const QAction& action) {
  const QString name = CommandName(action.text());
  QString key = action.shortcut().toString(QKeySequence::NativeText);
  if (key.isEmpty()) key = CommandKeyText(action.text());
  return key.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, key);
}

void DecorateCommand(QAction* action, int offset) {
  if (action == nullptr) return;
  const QIcon icon = CommandIcon(offset);
  if (!icon.isNull()) action->setIcon(icon);
  action->setToolTip(CommandToolTip(*action));
  action->setIconText(CommandName(action->text()));
}

}  // namespace Brenno
