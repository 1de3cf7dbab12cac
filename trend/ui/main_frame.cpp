#include "trend/ui/main_frame.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace vandrel {

namespace {

constexpr int ID_APP_EXIT = 57665;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

}  // namespace

QIcon TrendAppIcon() {
  // Drawn once from the program's SVG picture at the sizes windows and task bars ask for; kept
  // for the whole process (an icon must not outlive the application object's teardown).
  static auto* icon = new QIcon;
  if (icon->isNull()) {
    QSvgRenderer renderer(QStringLiteral(":/vandrel/vandrel.svg"));
    for (int side : {16, 24, 32, 48, 64}) {
      QPixmap pm(side, side);
      pm.fill(Qt::transparent);
      QPainter p(&pm);
      p.setRenderHint(QPainter::Antialiasing);
      renderer.render(&p);
      p.end();
      icon->addPixmap(pm);
    }
  }
  return *icon;
}

QIcon TrendToolIcon(int id) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.5));
  switch (id) {
    case ID_REFRESH:
      p.setPen(QPen(QColor(20, 130, 40), 2));
      p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
      p.drawLine(QPointF(12.5, 1.5), QPointF(12.5, 5.5));
      p.drawLine(QPointF(12.5, 5.5), QPointF(8.5, 5.5));
      break;
    case ID_CHART_ZOOM:
      p.drawEllipse(QRectF(2, 2, 8, 8));
      p.drawLine(QPointF(9, 9), QPointF(14, 14));
      p.drawLine(QPointF(4, 6), QPointF(8, 6));
      p.drawLine(QPointF(6, 4), QPointF(6, 8));
      break;
    case ID_CHART_RESET_ZOOM:
      p.drawEllipse(QRectF(2, 2, 8, 8));
      p.drawLine(QPointF(9, 9), QPointF(14, 14));
      p.drawLine(QPointF(4, 6), QPointF(8, 6));
      break;
    case ID_CHART_CURSOR:
      p.drawLine(QPointF(8, 1), QPointF(8, 15));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      p.drawEllipse(QRectF(5, 5, 6, 6));
      break;
    case ID_CHART_NOOP: {
      QPolygonF arrow({QPointF(3, 1), QPointF(3, 13), QPointF(6, 10), QPointF(9, 15), QPointF(11, 14), QPointF(8, 9),
                       QPointF(12, 9)});
      p.setBrush(Qt::white);
      p.drawPolygon(arrow);
      break;
    }
    case ID_CHART_PAN:
      p.drawLine(QPointF(8, 1), QPointF(8, 15));
      p.drawLine(QPointF(1, 8), QPointF(15, 8));
      for (QPolygonF head : {QPolygonF({QPointF(8, 0), QPointF(5, 3), QPointF(11, 3)}),
                             QPolygonF({QPointF(8, 16), QPointF(5, 13), QPointF(11, 13)}),
                             QPolygonF({QPointF(0, 8), QPointF(3, 5), QPointF(3, 11)}),
                             QPolygonF({QPointF(16, 8), QPointF(13, 5), QPointF(13, 11)})}) {
        p.setBrush(QColor(40, 40, 40));
        p.drawPolygon(head);
      }
      break;
    default:
      break;
  }
  return QIcon(pm);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于 Vandrel"));
  auto* icon = new QLabel;
  icon->setPixmap(TrendAppIcon().pixmap(32, 32));
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addWidget(new QLabel(QStringLiteral("Vandrel 1.0 版")));
  row->addStretch();
  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

CMainFrame::CMainFrame(std::wstring confFile, std::wstring traceBase, QWidget* parent,
                       TrendPoller::LinkFactory linkFactory)
    : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vandrel"));
  setWindowIcon(TrendAppIcon());
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

  view_ = new CTrendView(std::move(confFile), std::move(traceBase), this, std::move(linkFactory));
  view_->setObjectName(QStringLiteral("59648"));  // the first pane id
  setCentralWidget(view_);
  setFocusProxy(view_);

  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  AddCommand(file, ID_APP_EXIT, QStringLiteral("退出(&X)"));
  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("查看(&V)"));
  QAction* toolbarItem = AddCommand(viewMenu, ID_VIEW_TOOLBAR, QStringLiteral("工具栏(&T)"));
  QAction* statusItem = AddCommand(viewMenu, ID_VIEW_STATUS_BAR, QStringLiteral("状态栏(&S)"));
  QMenu* config = menuBar()->addMenu(QStringLiteral("配置(&C)"));
  AddCommand(config, ID_COMM_CONFIG, QStringLiteral("通讯配置"), QStringLiteral("配置通讯参数\n通讯配置"));
  AddCommand(config, ID_CURVE_CONFIG, QStringLiteral("曲线配置"), QStringLiteral("配置曲线参数\n曲线配置"));
  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  AddCommand(help, ID_APP_ABOUT, QStringLiteral("关于 Vandrel(&A)..."));
  AddCommand(help, ID_TRACE, QStringLiteral("报文输出"))->setCheckable(true);

  QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
  toolbar->setObjectName(QStringLiteral("128"));
  toolbar->setMovable(true);
  toolbar->setFloatable(true);
  toolbar->setAllowedAreas(Qt::AllToolBarAreas);
  toolbar->setIconSize(QSize(16, 16));
  toolbar->addAction(AddCommand(nullptr, ID_REFRESH, QString(), QStringLiteral("刷新当前曲线数据\n刷新")));
  const int chartCommands[] = {ID_CHART_ZOOM, ID_CHART_RESET_ZOOM, ID_CHART_CURSOR, ID_CHART_NOOP, ID_CHART_PAN};
  for (int id : chartCommands) {
    if (id != ID_CHART_NOOP && id != ID_CHART_PAN) toolbar->addSeparator();
    QAction* a = AddCommand(nullptr, id, QString());
    a->setCheckable(true);
    toolbar->addAction(a);
  }
  toolbarItem->setCheckable(true);
  toolbarItem->setChecked(true);
  connect(toolbarItem, &QAction::toggled, toolbar, &QToolBar::setVisible);
  statusItem->setCheckable(true);
  statusItem->setChecked(true);
  connect(statusItem, &QAction::toggled, statusBar(), &QStatusBar::setVisible);

  linkPane_ = new QLabel;
  linkPane_->setObjectName(QStringLiteral("61204"));
  linkPane_->setMinimumWidth(linkPane_->fontMetrics().horizontalAdvance(QStringLiteral("未连接        ")));
  statusBar()->addPermanentWidget(linkPane_);
  for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
    auto* label = new QLabel(QString::fromLatin1(indicator));
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
  }
  statusBar()->showMessage(QStringLiteral("就绪"));

  connect(view_->Chart(), &CXGraph::operationChanged, this, [this] { UpdateCommandUi(); });
  connect(view_, &CTrendView::dataReady, this, [this] { UpdateCommandUi(); });
  uiTimer_ = new QTimer(this);
  connect(uiTimer_, &QTimer::timeout, this, [this] { UpdateCommandUi(); });
  uiTimer_->start(250);
  UpdateCommandUi();
  resize(800, 560);
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text, const QString& prompt) {
  QAction* action = new QAction(text, this);
  action->setData(id);
  if (!prompt.isEmpty()) {
    const QStringList parts = prompt.split(QLatin1Char('\n'));
    action->setStatusTip(parts.value(0));
    action->setToolTip(parts.value(1, parts.value(0)));
  }
  const QIcon icon = TrendToolIcon(id);
  if (!menu && !icon.isNull()) action->setIcon(icon);
  if (menu) menu->addAction(action);
  if (id != ID_VIEW_TOOLBAR && id != ID_VIEW_STATUS_BAR)
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
  actions_[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::OnCommand(int id) {
  if (view_->OnCommand(id)) {
    UpdateCommandUi();
    return;
  }
  if (id == ID_APP_ABOUT) ShowAbout();
  if (id == ID_APP_EXIT) close();
}

void CMainFrame::ShowAbout() {
  CAboutDlg dlg(this);
  dlg.exec();
}

void CMainFrame::UpdateCommandUi() {
  for (int id : {ID_CHART_ZOOM, ID_CHART_RESET_ZOOM, ID_CHART_CURSOR, ID_CHART_NOOP, ID_CHART_PAN, ID_TRACE})
    if (QAction* a = Action(id)) a->setChecked(view_->IsCommandChecked(id));
  const QString status = view_->LinkStatusText();
  if (linkPane_->text() != status) linkPane_->setText(status);
}

}  // namespace vandrel
