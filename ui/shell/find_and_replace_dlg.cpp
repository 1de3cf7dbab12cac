#include "ui/shell/find_and_replace_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "core/env/language.h"
#include "core/project/message_box.h"
#include "ui/shell/notify_main_frame.h"

namespace Brenno {

namespace {

QString Pick(const wchar_t* english, const wchar_t* chinese) { return QString::fromWCharArray(PickText(english, chinese)); }

// Dialog units of the dialog's font: a quarter of the average character width, an eighth of
// the character height.
struct DialogUnits {
  int baseX = 6;
  int baseY = 13;
  QRect Map(int x, int y, int w, int h) const {
    return QRect(x * baseX / 4, y * baseY / 8, w * baseX / 4, h * baseY / 8);
  }
};

DialogUnits UnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  DialogUnits units;
  const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  units.baseX = std::max(1, (width / 26 + 1) / 2);
  units.baseY = std::max(1, metrics.height());
  return units;
}

// The controls in id order (command-id base + 30031 to + 30040) and their places in dialog
// units inside the 196 x 161 dialog.
enum Control { kFindLabel, kReplaceLabel, kSearchEdit, kReplaceEdit, kFindUp, kFindDown, kList, kNext, kReplace, kReplaceAll };
constexpr int kFirstControlId = 30031;
constexpr int kPlaces[10][4] = {
    {7, 10, 46, 8},   {7, 28, 46, 8},    {56, 7, 133, 14}, {56, 25, 133, 14}, {56, 43, 62, 10},
    {122, 43, 66, 10}, {7, 57, 182, 78}, {24, 141, 46, 14}, {75, 141, 46, 14}, {126, 141, 46, 14},
};
constexpr int kDialogWidth = 196;
constexpr int kDialogHeight = 161;

}  // namespace

CFindAndReplaceDlg::CFindAndReplaceDlg(AppEnvironment& env, QWidget* parent) : QDialog(parent), session_(env) {
  setObjectName(QStringLiteral("FindAndReplaceDlg"));
  setWindowTitle(Pick(L"Find And Replace", L"查找替换"));
  setModal(false);

  findLabel_ = new QLabel(Pick(L"Find What:", L"查找:"), this);
  replaceLabel_ = new QLabel(Pick(L"Replace Width:", L"替换:"), this);
  searchEdit_ = new QLineEdit(this);
  searchEdit_->setObjectName(QStringLiteral("SearchText"));
  replaceEdit_ = new QLineEdit(this);
  replaceEdit_->setObjectName(QStringLiteral("ReplaceText"));
  findUp_ = new QRadioButton(Pick(L"Find Up", L"向上查找"), this);
  findUp_->setObjectName(QStringLiteral("FindUp"));
  findDown_ = new QRadioButton(Pick(L"Find Down", L"向下查找"), this);
  findDown_->setObjectName(QStringLiteral("FindDown"));
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("ResultList"));
  next_ = new QPushButton(Pick(L"Next", L"下一个"), this);
  next_->setObjectName(QStringLiteral("NextButton"));
  replace_ = new QPushButton(Pick(L"Replace", L"替换"), this);
  replace_->setObjectName(QStringLiteral("ReplaceButton"));
  replaceAll_ = new QPushButton(Pick(L"Replace All", L"全部替换"), this);
  replaceAll_->setObjectName(QStringLiteral("ReplaceAllButton"));
  controls_ = {findLabel_, replaceLabel_, searchEdit_, replaceEdit_, findUp_, findDown_, list_, next_, replace_, replaceAll_};

  // The list: report view, one row selected at a time, always shown, whole rows.
  list_->setColumnCount(3);
  list_->setHeaderLabels({Pick(L"Status", L"状态"), Pick(L"Location", L"位置"), Pick(L"Context", L"关联")});
  list_->header()->resizeSection(0, 60);
  list_->header()->resizeSection(1, 220);
  list_->header()->resizeSection(2, 100);
  list_->header()->setStretchLastSection(false);
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setAllColumnsShowFocus(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The selection stays visible while the dialog is not the active window.
  QPalette palette = list_->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Active, QPalette::HighlightedText));
  list_->setPalette(palette);

  next_->setDefault(true);
  next_->setAutoDefault(true);
  replace_->setAutoDefault(false);
  replaceAll_->setAutoDefault(false);

  // Opening: the controls placed, "Find Down" checked, the three buttons disabled until the
  // timer looks at the communication state.
  const DialogUnits units = UnitsOf(font());
  for (size_t i = 0; i < controls_.size(); ++i) {
    controls_[i]->setProperty("controlId", kFirstControlId + static_cast<int>(i));
    initialRects_[i] = units.Map(kPlaces[i][0], kPlaces[i][1], kPlaces[i][2], kPlaces[i][3]);
    controls_[i]->setGeometry(initialRects_[i]);
  }
  // A label whose text needs more room than its place (the font may be wider than the one the
  // places were made for) takes it from the edit box beside it, so that no text is cut.
  int wider = 0;
  for (const Control label : {kFindLabel, kReplaceLabel}) {
    const QRect& r = initialRects_[static_cast<size_t>(label)];
    wider = std::max(wider, controls_[static_cast<size_t>(label)]->sizeHint().width() - r.width());
  }
  if (wider > 0) {
    for (const Control label : {kFindLabel, kReplaceLabel}) initialRects_[static_cast<size_t>(label)].adjust(0, 0, wider, 0);
    for (const Control edit : {kSearchEdit, kReplaceEdit}) initialRects_[static_cast<size_t>(edit)].adjust(wider, 0, 0, 0);
    for (const Control control : {kFindLabel, kReplaceLabel, kSearchEdit, kReplaceEdit}) {
      controls_[static_cast<size_t>(control)]->setGeometry(initialRects_[static_cast<size_t>(control)]);
    }
  }
  initialSize_ = units.Map(0, 0, kDialogWidth, kDialogHeight).size();
  resize(initialSize_);
  setMinimumSize(initialSize_.width(), initialSize_.height() * 3 / 4);
  findUp_->setChecked(false);
  findDown_->setChecked(true);
  next_->setEnabled(false);
  replace_->setEnabled(false);
  replaceAll_->setEnabled(false);
  setTabOrder(searchEdit_, replaceEdit_);
  setTabOrder(replaceEdit_, findUp_);
  setTabOrder(findUp_, findDown_);
  setTabOrder(findDown_, list_);
  setTabOrder(list_, next_);
  setTabOrder(next_, replace_);
  setTabOrder(replace_, replaceAll_);

  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &CFindAndReplaceDlg::UpdateButtons);
  connect(searchEdit_, &QLineEdit::textChanged, this, &CFindAndReplaceDlg::OnSearchTextChanged);
  connect(findUp_, &QRadioButton::clicked, this, [this] {
    findUp_->setChecked(true);
    findDown_->setChecked(false);
  });
  connect(findDown_, &QRadioButton::clicked, this, [this] {
    findDown_->setChecked(true);
    findUp_->setChecked(false);
  });
  connect(next_, &QPushButton::clicked, this, &CFindAndReplaceDlg::OnNext);
  connect(replace_, &QPushButton::clicked, this, &CFindAndReplaceDlg::OnReplace);
  connect(replaceAll_, &QPushButton::clicked, this, &CFindAndReplaceDlg::OnReplaceAll);
  connect(list_, &QTreeWidget::itemClicked, this, &CFindAndReplaceDlg::OnListClicked);
}

void CFindAndReplaceDlg::ShowDialog() {
  // The results belong to the project: after a project change the list shows the new one's.
  RefreshList();
  show();
  raise();
  activateWindow();
  searchEdit_->setFocus();
}

bool CFindAndReplaceDlg::IsFocusInDialog() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && (focus == this || isAncestorOf(focus));
}

bool CFindAndReplaceDlg::Up() const { return findUp_->isChecked(); }

void CFindAndReplaceDlg::UpdateButtons() {
  next_->setEnabled(session_.CanStep());
  const bool replace = session_.CanReplace();
  replace_->setEnabled(replace);
  replaceAll_->setEnabled(replace);
}

void CFindAndReplaceDlg::RefreshList() {
  const std::vector<FindResultRowText> rows = session_.Rows();
  const int current = session_.CurrentRow();
  const int count = static_cast<int>(rows.size());
  list_->setUpdatesEnabled(false);
  while (list_->topLevelItemCount() < count) new QTreeWidgetItem(list_);
  while (list_->topLevelItemCount() > count) delete list_->takeTopLevelItem(list_->topLevelItemCount() - 1);
  QTreeWidgetItem* currentItem = nullptr;
  for (int i = 0; i < count; ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(i);
    const FindResultRowText& row = rows[static_cast<size_t>(i)];
    item->setText(0, QString::fromStdWString(row.Status));
    item->setText(1, QString::fromStdWString(row.Location));
    item->setText(2, QString::fromStdWString(row.Context));
    if (i == current) currentItem = item;
  }
  if (currentItem != nullptr) {
    list_->setCurrentItem(currentItem);
    list_->clearSelection();
    currentItem->setSelected(true);
    list_->scrollToItem(currentItem);
  } else {
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
  }
  list_->setUpdatesEnabled(true);
}

void CFindAndReplaceDlg::Finish(const FindStepOutcome& outcome) {
  if (outcome.ProgramEdited) NotifyMainFrame(EvProgramEdited, intptr_t{0});
  RefreshList();
  if (outcome.Error) {
    if (!outcome.Error->empty()) MessageBoxOk(*outcome.Error, kMessageIconStop);
    return;
  }
  if (outcome.GoTo) {
    // The hub reads the location through a pointer to a pointer to it.
    const ProgramLocation location = *outcome.GoTo;
    const ProgramLocation* record = &location;
    NotifyMainFrame(EvGoToLocation, reinterpret_cast<intptr_t>(&record));
  }
}

void CFindAndReplaceDlg::OnSearchTextChanged() {
  if (!session_.CanStep()) return;
  Finish(session_.Search(searchEdit_->text().toStdWString(), Up()));
}

void CFindAndReplaceDlg::OnNext() {
  if (!session_.CanStep()) return;
  Finish(session_.Next(Up()));
}

void CFindAndReplaceDlg::OnReplace() {
  if (!session_.CanReplace()) return;
  Finish(session_.Replace(searchEdit_->text().toStdWString(), replaceEdit_->text().toStdWString(), Up()));
}

void CFindAndReplaceDlg::OnReplaceAll() {
  if (!session_.CanReplace()) return;
  Finish(session_.ReplaceAll(searchEdit_->text().toStdWString(), replaceEdit_->text().toStdWString(), Up()));
}

void CFindAndReplaceDlg::OnListClicked() {
  if (!session_.CanStep()) return;
  QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  Finish(session_.TakeRow(list_->indexOfTopLevelItem(item)));
}

void CFindAndReplaceDlg::HideAndClear() {
  searchEdit_->setFocus();
  // Emptying the texts is no new search: the results stay until the user types again.
  const QSignalBlocker blockSearch(searchEdit_);
  searchEdit_->clear();
  replaceEdit_->clear();
  hide();
}

void CFindAndReplaceDlg::accept() { HideAndClear(); }
void CFindAndReplaceDlg::reject() { HideAndClear(); }

void CFindAndReplaceDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  HideAndClear();
}

void CFindAndReplaceDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdateButtons();
  timer_.start();
}

void CFindAndReplaceDlg::hideEvent(QHideEvent* event) {
  timer_.stop();
  QDialog::hideEvent(event);
}

void CFindAndReplaceDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Layout();
}

void CFindAndReplaceDlg::Layout() {
  const int dW = width() - initialSize_.width();
  const int dH = height() - initialSize_.height();
  const auto place = [this](int control, int dx, int dy, int dw, int dh) {
    const QRect r = initialRects_[static_cast<size_t>(control)];
    controls_[static_cast<size_t>(control)]->setGeometry(r.x() + dx, r.y() + dy, std::max(0, r.width() + dw),
                                                         std::max(0, r.height() + dh));
  };
  place(kFindLabel, 0, 0, dW / 4, 0);
  place(kReplaceLabel, 0, 0, dW / 4, 0);
  place(kSearchEdit, dW / 4, 0, 3 * dW / 4, 0);
  place(kReplaceEdit, dW / 4, 0, 3 * dW / 4, 0);
  place(kFindUp, dW / 2, 0, 0, 0);
  place(kFindDown, dW / 2, 0, 0, 0);
  place(kList, 0, 0, dW, dH);
  place(kNext, dW / 2, dH, 0, 0);
  place(kReplace, dW / 2, dH, 0, 0);
  place(kReplaceAll, dW / 2, dH, 0, 0);
}

}  // namespace Brenno
