// The grid control every table view is built on: an owner-drawn report list with a row-header
// column and groups of columns, a focus cell, a selection of whole records x whole groups,
// arrow-key navigation and in-place editing of cells with an edit box or a drop-down choice list.
// It asks its virtual operations for everything it shows; a derived view overrides those and
// nothing else of the base behaviour is needed for a working table.
//
// Addressing: each record takes GetLinesPerRecord rows (list item = record x lines + line); list
// column 0 is the row header, then GetGroupCount groups of GetColumnsPerGroup columns (list column
// = group x columns + column + 1). A cell is (record, group, line, column), always in that order.
//
// Use: construct the derived view, then Create(parent, id) (builds the header columns and the
// rows from the virtual operations). When the record count changes, call RebuildListRows; when
// the header columns change, RebuildColumns. Coordinates are those of viewport(): the header
// takes its top 18 pixels, rows are 18 pixels high.
//
// The user can drag a header column's right border to change its width.
//
// Mouse: a press takes the focus and sets the focus cell (row header: the whole record; Shift:
// spans the selection; a drag extends it); a second press on the focus cell opens its editor on
// the release, and a choice cell opens its list already on the release of the first. Keys: arrows
// move, Tab and Shift+Tab go on to the next and back to the previous cell that can be edited,
// Enter opens the editor, Delete clears the cell, a typed character that AcceptCellChar takes
// opens the edit with just that character (on a choice cell: the list, with the first choice
// that begins with it highlighted). The editors report back through OnInplaceNotify; Enter, Tab
// or leaving the editor stores (SetCellText / SetCellChoice), Escape does not; after Tab the
// focus cell moves on, so that what is typed next goes to the new cell. A view that cannot take
// a value says why with ReportRefusedEdit. Double clicks and the right button do nothing here (a
// view may handle the right button's release in its own mouseReleaseEvent for its context menu).
#pragma once

#include <QAbstractScrollArea>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPixmap>

#include <optional>
#include <string>
#include <vector>

#include "core/env/utilities.h"
#include "ui/widgets/grid_focus.h"
#include "ui/widgets/inplace_edit.h"
#include "ui/widgets/inplace_list.h"
#include "ui/widgets/inplace_notify.h"

class QPainter;

namespace Brenno {

// How a header column or a cell is described by the virtual operations.
struct ListCellInfo {
  int width = 0;               // header columns: width in pixels; cells: -1
  int height = 0;              // filled by the views for their own use; the control does not read it
  const wchar_t* text = nullptr;  // owned by the view, valid until its next call; null for none
  int textLength = 0;          // characters
  unsigned format = 0;         // cells: text format flags (TextFormat values, e.g. 0x8824);
                               // header columns: 0 left, 1 right, 2 centred
  int image = -1;              // index into the control's image list; -1 none

  // All fields back to "nothing": zero sizes, no text, format 0, no image.
  void Clear() { *this = ListCellInfo{}; }
  // Points the text at a string the caller keeps alive until the control has used it.
  void SetText(const std::wstring& s) {
    text = s.c_str();
    textLength = static_cast<int>(s.size());
  }
};

// Cell states: a part plus a mode.
enum ListCellState {
  CellPartText = 1,        // text colour
  CellPartGrid = 2,        // grid line pen, focus frame brush
  CellPartBackground = 4,  // cell background brush
  CellPartControl = 8,     // the control's background outside the rows
  CellModeNormal = 16,
  CellModeFocus = 32,
  CellModeSelected = 64,
};

// Cell edit kinds, GetCellEditKind's result.
enum ListCellEditKind { CellEditReadOnly = 0, CellEditText = 1, CellEditChoice = 2 };

class CExtendListCtrl : public QAbstractScrollArea, public InplaceNotifyOwner {
  Q_OBJECT
 public:
  static constexpr int kRowHeight = 18;
  static constexpr int kHeaderHeight = 18;
  static constexpr int kInplaceEditId = 101;
  static constexpr int kInplaceListId = 102;

  explicit CExtendListCtrl(QWidget* parent = nullptr);
  ~CExtendListCtrl() override;

  // Makes the control a child of parent (hidden until shown) and builds its columns and rows.
  // A derived view that needs more at creation overrides it and calls this first.
  virtual bool Create(QWidget* parent, int controlId);
  bool IsCreated() const { return created_; }
  int ControlId() const { return controlId_; }

  // ---- what a derived view overrides ----
  // Colour, brush and pen of a cell for a state (part + mode). Cells (-1, -1, -1, -1) stand for
  // the control itself. Defaults: the palette's text, button, base, highlight colours (invalid
  // colour, no brush, no pen for states they do not cover; the pen is white for grid states).
  virtual QColor GetCellColor(int record, int group, int line, int column, int state);
  virtual QBrush GetCellBrush(int record, int group, int line, int column, int state);
  virtual QPen GetCellPen(int record, int group, int line, int column, int state);
  virtual QFont GetCellFont(int record, int group, int line, int column);  // default: font()
  virtual int GetRecordCount();                                            // default 0
  virtual int GetGroupCount();                                             // default 0
  virtual int GetLinesPerRecord();                                         // default 0
  virtual int GetColumnsPerGroup();                                        // default 0
  virtual int GetRowHeaderFormat(ListCellInfo& info);                      // width, caption, format
  virtual void GetColumnFormat(int group, int column, ListCellInfo& info);
  virtual void GetRowHeaderCell(int record, int line, ListCellInfo& info);
  virtual void GetCellContent(int record, int group, int line, int column, ListCellInfo& info);
  virtual int GetCellEditKind(int record, int group, int line, int column);  // ListCellEditKind
  // Default: any character that is not a control character.
  virtual bool AcceptCellChar(int record, int group, int line, int column, wchar_t ch);
  virtual void GetCellChoices(int record, int group, int line, int column, std::vector<std::wstring>& choices);
  virtual std::wstring GetCellEditText(int record, int group, int line, int column);
  // True when the view took the value (the control then repaints); default false.
  virtual bool SetCellText(int record, int group, int line, int column, const std::wstring& text);
  virtual int GetCellChoice(int record, int group, int line, int column);
  // choice -1 clears the cell (Delete).
  virtual bool SetCellChoice(int record, int group, int line, int column, int choice);
  // Draws list item `item` (every cell of one row) with the painter on the viewport.
  virtual void DrawItem(QPainter& painter, int item);

  // ---- state the views read and set ----
  bool HasFocusCell() const { return grid_.HasFocusCell(); }
  bool HasSelection() const { return grid_.HasSelection(); }
  const GridCell& FocusCell() const { return grid_.focus; }
  const GridSelection& Selection() const { return grid_.selection; }
  void SetFocusCell(const GridCell& cell) { grid_.focus = cell; }
  void SetSelection(const GridSelection& selection) { grid_.selection = selection; }
  // The shape the virtual counts give now.
  GridShape Shape();
  void ClampFocusCell();
  void ClampSelection();
  // Scrolls so that the focus cell's row, and the cell sideways, are entirely in view.
  void ScrollToFocusCell();
  // Brings the rows to records x lines per record, keeps focus and selection inside, and
  // redraws at once when shown.
  void RebuildListRows();
  // Takes the header columns again from GetRowHeaderFormat and GetColumnFormat.
  void RebuildColumns();
  int GetItemCount() const { return itemCount_; }
  // First row in view.
  int TopIndex() const;
  // A cell's rectangle in viewport coordinates (list column 0 is the row header).
  Rect GetSubItemRect(int item, int listColumn) const;
  // The list item and list column under a viewport point; false off the rows and columns.
  bool HitTest(const QPoint& point, int& item, int& listColumn) const;
  // Opens the editor of the focus cell by its edit kind (as Enter does).
  void OpenFocusCellEditor();
  CExtendInplaceEdit& InplaceEdit() { return edit_; }
  CExtendInplaceList& InplaceList() { return list_; }
  const CExtendInplaceEdit& InplaceEdit() const { return edit_; }
  const CExtendInplaceList& InplaceList() const { return list_; }
  // The images cells may show (borrowed, may be null).
  void SetImageList(const std::vector<QPixmap>* images) { images_ = images; }
  // Schedules a repaint / repaints at once.
  void InvalidateGrid();
  void RedrawNow();

  int OnInplaceNotify(int controlId, const InplaceNotify& notify) override;

  // For a view's SetCellText or SetCellChoice that refuses the value: the message (what was
  // wrong and what the cell takes) is shown once the edit has ended, when the control's window
  // is the active one. With keepEditing the editor stays open with what the user typed, and gets
  // the focus back after the message, so that the text can be corrected (Escape gives it up);
  // otherwise the editor closes as usual.
  void ReportRefusedEdit(const std::wstring& message, bool keepEditing);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  struct Column {
    int width = 0;
    QString caption;
    unsigned format = 0;
  };
  int VisibleRowCount() const;
  int ColumnLeft(int listColumn) const;
  void UpdateScrollRanges();
  // The header column whose right border is within a few pixels of x; -1 for none.
  int HeaderBorderAt(int x) const;
  void DrawHeader(QPainter& painter);
  void OpenEditor(const GridCell& cell, const std::wstring* typed);
  void ApplyEditorColour(QWidget* editor, const GridCell& cell);
  bool MoveFocus(int key);
  // Tab (forward) or Shift+Tab: the focus cell moves on as GridFocusModel::MoveTab says, over the
  // cells whose edit kind is not read-only.
  bool MoveTabFocus(bool forward);
  // SetCellText or SetCellChoice as the editor or Delete asks, then the refusal the view
  // reported, if any: its message is shown later. True when the view took the value; `keep` is
  // set when the editor is to stay open.
  bool StoreCellValue(const GridCell& cell, bool choice, const std::wstring& text, int selected, bool& keep);
  // Shows a refusal's message, then gives the focus back to an editor kept open.
  void ShowRefusal(const std::wstring& message, bool refocus);
  // An editor is open with a value the view refused, for the user to correct.
  bool EditorKeptOpen() const;

  int controlId_ = 0;
  bool created_ = false;
  int itemCount_ = 0;
  std::vector<Column> columns_;
  QColor background_;
  GridFocusModel grid_;
  int editPending_ = 0;
  int dragSelecting_ = 0;
  // A plain press on a choice cell that was not the focus cell: the release opens its list.
  bool choicePending_ = false;
  // What a view reported through ReportRefusedEdit during the current store.
  struct Refusal {
    std::wstring message;
    bool keepEditing = false;
  };
  std::optional<Refusal> refusal_;
  // Set while ShowRefusal's message box is up.
  bool showingRefusal_ = false;
  // The open editor's last notification was answered "stay open": the view refused its value.
  bool editorKept_ = false;
  // A left press arrived and its release has not.
  bool leftPressed_ = false;
  int resizingColumn_ = -1;
  int resizeStartX_ = 0;
  int resizeStartWidth_ = 0;
  CExtendInplaceEdit edit_;
  CExtendInplaceList list_;
  const std::vector<QPixmap>* images_ = nullptr;
};

// True when the keyboard focus is on the view, its in-place edit or its in-place list.
bool IsGridViewFocused(const CExtendListCtrl* view);

}  // namespace Brenno
