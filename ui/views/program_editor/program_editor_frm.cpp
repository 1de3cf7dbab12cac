#include "ui/views/program_editor/program_editor_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "core/link/app_environment.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/program_block.h"
#include "core/project/project.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/program_editor/program_editor_main_view.h"
#include "ui/views/program_editor/program_page_lock.h"

namespace Brenno {

namespace {

ProgramEditorVarViewFactory& VarViewFactory() {
  static ProgramEditorVarViewFactory factory;
  return factory;
}

// The tab label of a page: "<name> (<address>)"; a key neither block table holds is an internal
// inconsistency.
QString PageTitle(int key) {
  std::wstring title;
  if (!CurrentProject().Program.DescribeProgramUnitKey(key, title)) throw ExceptionLogicError();
  return QString::fromStdWString(title);
}

// The editor's icon: two power rails with a contact and a coil between them.
QIcon EditorIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setPen(QPen(QColor(0, 0, 128), 1));
  p.drawLine(1, 1, 1, 14);
  p.drawLine(14, 1, 14, 14);
  p.drawLine(1, 8, 4, 8);
  p.drawLine(4, 5, 4, 11);
  p.drawLine(7, 5, 7, 11);
  p.drawLine(7, 8, 9, 8);
  p.drawArc(9, 5, 4, 6, 90 * 16, 180 * 16);
  p.drawLine(13, 8, 14, 8);
  p.end();
  return QIcon(pixmap);
}

}  // namespace

void SetProgramEditorVarViewFactory(ProgramEditorVarViewFactory factory) { VarViewFactory() = std::move(factory); }

// ---- Upper row --------------------------------------------------------------------------------

CProgramEditorVarPane::CProgramEditorVarPane(AppEnvironment& env, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ProgramEditorVarPane"));
  if (VarViewFactory()) view_ = VarViewFactory()(env, this);
  if (view_ != nullptr) {
    view_->setParent(this);
    view_->show();
  }
}

ProgramEditorVarRowView* CProgramEditorVarPane::RowView() const {
  return dynamic_cast<ProgramEditorVarRowView*>(view_);
}

void CProgramEditorVarPane::OnPaneUpdate(uint16_t code, intptr_t value) {
  if (ProgramEditorVarRowView* view = RowView()) view->OnPaneUpdate(code, value);
}

bool CProgramEditorVarPane::HasFocusWithin() const {
  const QWidget* focus = QApplication::focusWidget();
  return view_ != nullptr && focus != nullptr && (focus == view_ || view_->isAncestorOf(focus));
}

void CProgramEditorVarPane::resizeEvent(QResizeEvent*) {
  if (view_ != nullptr) view_->setGeometry(0, 0, width(), height());
}

void CProgramEditorVarPane::focusInEvent(QFocusEvent*) {
  if (view_ != nullptr) view_->setFocus(Qt::OtherFocusReason);
}

// ---- Lower row --------------------------------------------------------------------------------

CProgramEditorMainPane::CProgramEditorMainPane(AppEnvironment& env, QWidget* parent) : QWidget(parent), env_(env) {
  setObjectName(QStringLiteral("ProgramEditorMainPane"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("ProgramPageTabs"));
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(false);
  layout->addWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this, &CProgramEditorMainPane::OnCurrentChanged);
  RebuildTabs();
  if (!env_.ProjectList.empty()) {
    const ProgramBlock& program = env_.ProjectList.back().Program;
    std::vector<int> keys = program.InterruptTable.ListBlockPageKeys();
    if (keys.empty()) keys = program.SubroutineTable.ListBlockPageKeys();
    if (!keys.empty()) SelectTab(*std::min_element(keys.begin(), keys.end()));
  }
}

CProgramEditorMainView* CProgramEditorMainPane::ActiveView() const {
  return qobject_cast<CProgramEditorMainView*>(tabs_->currentWidget());
}

int CProgramEditorMainPane::GetActiveBlockId() const {
  const CProgramEditorMainView* view = ActiveView();
  return view == nullptr ? -1 : view->BlockKey();
}

CProgramEditorMainView* CProgramEditorMainPane::ViewOf(int key) const {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<CProgramEditorMainView*>(tabs_->widget(i));
    if (view != nullptr && view->BlockKey() == key) return view;
  }
  return nullptr;
}

void CProgramEditorMainPane::SetRedraw(bool on) {
  if (!isVisible()) return;
  setUpdatesEnabled(on);
  if (on) repaint();
}

void CProgramEditorMainPane::RebuildTabs() {
  std::map<int, CProgramEditorMainView*> views;
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = qobject_cast<CProgramEditorMainView*>(tabs_->widget(i))) views[view->BlockKey()] = view;
  }
  const int active = GetActiveBlockId();
  SetRedraw(false);
  rebuilding_ = true;
  tabs_->clear();  // the views stay alive
  std::vector<int> keys;
  if (!env_.ProjectList.empty()) keys = env_.ProjectList.back().Program.ListProgramBlockKeys();
  const void* project = env_.ProjectList.empty() ? nullptr : &env_.ProjectList.back();
  const bool sameProject = project == builtForProject_;
  builtForProject_ = project;
  for (auto& [key, view] : views) {
    if (sameProject && std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    // The page has left the project, or the project is another one: its view goes (after the
    // handler that may be running in it has returned).
    view->hide();
    view->deleteLater();
  }
  try {
    for (int key : keys) {
      const QString title = PageTitle(key);
      const auto found = views.find(key);
      CProgramEditorMainView* view = nullptr;
      if (sameProject && found != views.end()) {
        view = found->second;
      } else {
        view = new CProgramEditorMainView(env_, key, tabs_);
      }
      tabs_->addTab(view, title);
    }
  } catch (...) {
    rebuilding_ = false;
    SetRedraw(true);
    throw;
  }
  int index = 0;
  if (std::find(keys.begin(), keys.end(), active) != keys.end()) {
    index = static_cast<int>(std::find(keys.begin(), keys.end(), active) - keys.begin());
  }
  if (tabs_->count() > 0) tabs_->setCurrentIndex(index);
  rebuilding_ = false;
  SetRedraw(true);
  // The page in view changed with the rebuild: the variable table follows.
  if (GetActiveBlockId() != active && GetActiveBlockId() != -1) OnCurrentChanged(tabs_->currentIndex());
}

void CProgramEditorMainPane::RetitleTabs() {
  SetRedraw(false);
  try {
    for (int i = 0; i < tabs_->count(); ++i) {
      if (auto* view = qobject_cast<CProgramEditorMainView*>(tabs_->widget(i))) {
        tabs_->setTabText(i, PageTitle(view->BlockKey()));
      }
    }
  } catch (...) {
    SetRedraw(true);
    throw;
  }
  SetRedraw(true);
}

void CProgramEditorMainPane::SelectTab(int key) {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<CProgramEditorMainView*>(tabs_->widget(i));
    if (view != nullptr && view->BlockKey() == key) {
      tabs_->setCurrentIndex(i);
      return;
    }
  }
}

void CProgramEditorMainPane::OnCurrentChanged(int) {
  if (rebuilding_) return;
  const int key = GetActiveBlockId();
  if (key == -1) return;
  if (!CanShowProgramBlock(env_.CommState.load(), false)) return;
  NotifyMainFrame(EvProgramTabChanged, static_cast<intptr_t>(key));
}

void CProgramEditorMainPane::OnPaneUpdate(uint16_t code, intptr_t value) {
  switch (code) {
    case UpdPageTabsRebuild: RebuildTabs(); break;
    case UpdPageTabsRetitle: RetitleTabs(); break;
    case UpdPageTabSelect: SelectTab(static_cast<int>(value)); break;
    default: break;
  }
  if (CProgramEditorMainView* view = ActiveView()) view->OnPaneUpdate(code, value);
}

void CProgramEditorMainPane::focusInEvent(QFocusEvent*) {
  if (CProgramEditorMainView* view = ActiveView()) view->setFocus(Qt::OtherFocusReason);
}

// ---- Frame ------------------------------------------------------------------------------------

CProgramEditorFrm::CProgramEditorFrm(AppEnvironment& env, QWidget* parent) : QWidget(parent), env_(env) {
  setObjectName(QStringLiteral("ProgramEditorFrm"));
  setWindowTitle(QString::fromWCharArray(PickText(L"Program Editor", L"程序编辑")));
  setWindowIcon(EditorIcon());
  setFocusPolicy(Qt::StrongFocus);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setObjectName(QStringLiteral("ProgramEditorSplitter"));
  splitter_->setChildrenCollapsible(false);
  varPane_ = new CProgramEditorVarPane(env_, splitter_);
  mainPane_ = new CProgramEditorMainPane(env_, splitter_);
  varPane_->setFocusPolicy(Qt::StrongFocus);
  mainPane_->setFocusPolicy(Qt::StrongFocus);
  splitter_->addWidget(varPane_);
  splitter_->addWidget(mainPane_);
  // The variable table starts 100 pixels high; the tabs take the rest.
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({100, 10000});
  layout->addWidget(splitter_);
}

CProgramEditorFrm::~CProgramEditorFrm() = default;

int CProgramEditorFrm::GetActiveBlockId() { return mainPane_ == nullptr ? -1 : mainPane_->GetActiveBlockId(); }

void CProgramEditorFrm::InsertInstructionText(const std::wstring& text) {
  OnPaneRequest(UpdLadInsertText, reinterpret_cast<intptr_t>(text.c_str()));
}

void CProgramEditorFrm::OnPaneRequest(uint16_t code, intptr_t value) {
  if (varPane_ != nullptr) varPane_->OnPaneUpdate(code, value);
  if (mainPane_ != nullptr) mainPane_->OnPaneUpdate(code, value);
}

bool CProgramEditorFrm::OnCommand(int offset) {
  if (varPane_->HasFocusWithin()) {
    if (ProgramEditorVarRowView* view = varPane_->RowView(); view != nullptr && view->OnEditorCommand(offset)) {
      return true;
    }
  }
  CProgramEditorMainView* view = mainPane_->ActiveView();
  if (view != nullptr && view->HasFocusWithin()) return view->OnCommand(offset);
  return false;
}

bool CProgramEditorFrm::UpdateCommand(int offset, CommandStatus& status) {
  if (varPane_->HasFocusWithin()) {
    if (ProgramEditorVarRowView* view = varPane_->RowView();
        view != nullptr && view->UpdateEditorCommand(offset, status)) {
      return true;
    }
  }
  CProgramEditorMainView* view = mainPane_->ActiveView();
  if (view != nullptr && view->HasFocusWithin()) return view->UpdateCommand(offset, status);
  return false;
}

void CProgramEditorFrm::closeEvent(QCloseEvent* event) {
  if (onClosed_) onClosed_();
  // Protected units lock again when the editor is opened next time.
  env_.PasswordTable2.fill(0);
  event->accept();
}

void CProgramEditorFrm::focusInEvent(QFocusEvent*) { mainPane_->setFocus(Qt::OtherFocusReason); }

}  // namespace Brenno
