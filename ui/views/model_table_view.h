// A table view whose cells come from a row model: the grid control's questions are answered by
// the model (counts, header columns, cell texts and images, colours, editors, edits), the font is
// the shared table font, and the pens and brushes have the colours the model gives. The views
// of the data blocks, the symbol tables, the cross reference and the program variables derive
// from it with their model and add their own commands, context menu and update codes.
#pragma once

#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QPen>

#include <optional>
#include <string>
#include <vector>

#include "core/draw/gdi_resource_set.h"
#include "ui/shell/main_frame_commands.h"
#include "ui/views/grid_table_model.h"
#include "ui/views/table_commands.h"
#include "ui/widgets/table_view_ctrl.h"

namespace Brenno {

// The shared table font (font 0 of the drawing resources: Tahoma, 13 pixels, regular).
QFont GridTableFont();
// The images of a strip of the shared image lists, one pixmap per picture, magenta transparent.
const std::vector<QPixmap>& GridImageStrip(int list);
// The cursor of a grid control as the row models read it.
GridCursor CursorOf(const CExtendListCtrl& grid);
// Makes `record` the grid's single focus and selected record (group 0, line and column kept).
void SelectSingleRecord(CExtendListCtrl& grid, int record);
// Selects every record of every group.
void SelectAllRecords(CExtendListCtrl& grid);

inline QColor ToQColor(const Colour& colour) { return QColor(colour.red, colour.green, colour.blue); }

// A row model whose rows are cut, copied and pasted (as opposed to only copied).
template <class Model>
concept CutsAndPastesRows = requires(const Model& model, const GridCursor& cursor) {
  model.CanCutOrCopy(cursor);
  model.CanPaste(cursor);
};

template <class Model>
class ModelTableView : public CTableViewCtrl {
 public:
  explicit ModelTableView(QWidget* parent = nullptr) : CTableViewCtrl(parent) {}

  Model& Rows() { return model_; }
  const Model& Rows() const { return model_; }

  int GetRecordCount() override { return model_.GetRecordCount(); }
  int GetGroupCount() override { return model_.GetGroupCount(); }
  int GetLinesPerRecord() override { return model_.GetLinesPerRecord(); }
  int GetColumnsPerGroup() override { return model_.GetColumnsPerGroup(); }

  int GetRowHeaderFormat(ListCellInfo& info) override {
    info.Clear();
    const GridColumnFormat format = model_.GetRowHeaderFormat();
    info.width = format.Width;
    headerText_ = format.Caption;
    info.SetText(headerText_);
    return 0;
  }
  void GetColumnFormat(int group, int column, ListCellInfo& info) override {
    info.Clear();
    const GridColumnFormat format = model_.GetColumnFormat(group, column);
    info.width = format.Width;
    headerText_ = format.Caption;
    info.SetText(headerText_);
  }
  void GetRowHeaderCell(int record, int line, ListCellInfo& info) override {
    Fill(model_.GetRowHeaderCell(record, line), info);
    info.height = 15;
  }
  void GetCellContent(int record, int group, int line, int column, ListCellInfo& info) override {
    Fill(model_.GetCellContent(record, group, line, column), info);
  }
  QFont GetCellFont(int, int, int, int) override { return GridTableFont(); }
  QColor GetCellColor(int record, int group, int line, int column, int state) override {
    const std::optional<Colour> colour = model_.GetCellColor(record, group, line, column, state);
    if (!colour) return CTableViewCtrl::GetCellColor(record, group, line, column, state);
    return ToQColor(*colour);
  }
  QPen GetCellPen(int record, int group, int line, int column, int state) override {
    if (state == kGridPartFrame + kGridModeNormal || state == kGridPartFrame + kGridModeFocus ||
        state == kGridPartFrame + kGridModeSelected) {
      const std::optional<Colour> colour = model_.GetCellColor(record, group, line, column, state);
      if (colour) return QPen(ToQColor(*colour), 0);
    }
    return CTableViewCtrl::GetCellPen(record, group, line, column, state);
  }
  int GetCellEditKind(int record, int group, int line, int column) override {
    return model_.GetCellEditKind(record, group, line, column);
  }
  bool AcceptCellChar(int record, int group, int line, int column, wchar_t ch) override {
    return model_.AcceptCellChar(record, group, line, column, ch);
  }
  void GetCellChoices(int record, int group, int line, int column, std::vector<std::wstring>& choices) override {
    choices = model_.GetCellChoices(record, group, line, column);
  }
  std::wstring GetCellEditText(int record, int group, int line, int column) override {
    return model_.GetCellEditText(record, group, line, column);
  }
  bool SetCellText(int record, int group, int line, int column, const std::wstring& text) override {
    const bool stored = model_.SetCellText(record, group, line, column, text);
    ReportModelRefusal();
    return stored;
  }
  int GetCellChoice(int record, int group, int line, int column) override {
    return model_.GetCellChoice(record, group, line, column);
  }
  // The model's choice setter where it has one of the grid's form; a view whose model needs more
  // overrides this.
  bool SetCellChoice(int record, int group, int line, int column, int choice) override {
    if constexpr (requires { model_.SetCellChoice(record, group, line, column, choice); }) {
      const bool stored = model_.SetCellChoice(record, group, line, column, choice);
      ReportModelRefusal();
      return stored;
    } else {
      return CTableViewCtrl::SetCellChoice(record, group, line, column, choice);
    }
  }

  // The view's commands (offsets from the command-id base): false for a command the view does
  // not have; otherwise its state, or running it.
  virtual bool UpdateEditorCommand(int, CommandStatus&) { return false; }
  virtual bool OnEditorCommand(int) { return false; }

 protected:
  // The entries of the context menu that the right button's release shows; none by default.
  virtual const std::vector<TableMenuItem>& ContextMenuItems() const {
    static const std::vector<TableMenuItem> none;
    return none;
  }

  // Creates the window with the images of the shared image list `imageList` in its cells.
  bool CreateWithImages(QWidget* parent, int controlId, int imageList) {
    if (!CTableViewCtrl::Create(parent, controlId)) return false;
    this->SetImageList(&GridImageStrip(imageList));
    return true;
  }

  // The state of Cut, Copy, Paste and Select All: on an open in-place edit's text, else on the
  // rows. A model that only copies rows keeps Cut and Paste off. False for other commands.
  bool UpdateRowEditCommand(int offset, CommandStatus& status) {
    if (UpdateInplaceEditCommand(*this, offset, status)) return true;
    const GridCursor cursor = CursorOf(*this);
    switch (offset) {
      case kTableCmdCut:
      case kTableCmdCopy:
        if constexpr (CutsAndPastesRows<Model>) {
          status.Enabled = model_.CanCutOrCopy(cursor);
        } else {
          status.Enabled = offset == kTableCmdCopy && model_.CanCopy(cursor);
        }
        return true;
      case kTableCmdPaste:
        if constexpr (CutsAndPastesRows<Model>) {
          status.Enabled = model_.CanPaste(cursor);
        } else {
          status.Enabled = false;
        }
        return true;
      case kTableCmdSelectAll:
        status.Enabled = model_.CanSelectAll();
        return true;
      default:
        return false;
    }
  }

  // Select All on the rows: the grid takes the focus and selects every row when the model lets it.
  void SelectAllRows() {
    this->setFocus();
    if (!model_.CanSelectAll()) return;
    SelectAllRecords(*this);
    this->InvalidateGrid();
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    const std::vector<TableMenuItem>& items = ContextMenuItems();
    if (event->button() == Qt::RightButton && !items.empty()) {
      ShowTableMenu(
          items, [this](int offset, CommandStatus& status) { return UpdateEditorCommand(offset, status); },
          [this](int offset) { OnEditorCommand(offset); }, this, event->globalPosition().toPoint());
      return;
    }
    CTableViewCtrl::mouseReleaseEvent(event);
  }

  // A model that can refuse a value with a reason (TakeRefusal) has it shown by the grid.
  void ReportModelRefusal() {
    if constexpr (requires { model_.TakeRefusal(); }) {
      if (const std::optional<GridRefusal> refusal = model_.TakeRefusal()) {
        this->ReportRefusedEdit(refusal->Message, refusal->KeepEditing);
      }
    }
  }

  Model model_;

 private:
  void Fill(const GridCellContent& content, ListCellInfo& info) {
    info.Clear();
    info.width = -1;
    cellText_ = content.Text;
    info.SetText(cellText_);
    info.format = content.Format;
    info.image = content.Image;
  }
  std::wstring headerText_;
  std::wstring cellText_;
};

}  // namespace Brenno
