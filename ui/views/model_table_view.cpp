#include "ui/views/model_table_view.h"

#include <QBitmap>
#include <QPixmap>

#include <array>

#include "ui/views/project_tree/shared_image_lists.h"

namespace Brenno {

QFont GridTableFont() {
  const FontDesc& desc = SharedGdiResources().Fonts(0);
  QFont font(QString::fromStdWString(desc.face));
  font.setPixelSize(desc.height);
  font.setWeight(desc.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setItalic(desc.italic);
  font.setUnderline(desc.underline);
  return font;
}

const std::vector<QPixmap>& GridImageStrip(int list) {
  // Kept until the process ends: pixmaps must not be destroyed after the application object.
  static auto* strips = new std::array<std::vector<QPixmap>, 3>;
  const int index = (list >= 1 && list <= 3) ? list - 1 : 0;
  std::vector<QPixmap>& pixmaps = (*strips)[static_cast<size_t>(index)];
  if (pixmaps.empty()) {
    const SharedImageLists images;
    for (int i = 0; i < images.Count(index + 1); ++i) {
      pixmaps.push_back(images.Icon(index + 1, i).pixmap(SharedImageLists::kImageSize, SharedImageLists::kImageSize));
    }
  }
  return pixmaps;
}

GridCursor CursorOf(const CExtendListCtrl& grid) {
  GridCursor cursor;
  const GridCell& focus = grid.FocusCell();
  const GridSelection& selection = grid.Selection();
  cursor.FocusRecord = focus.record;
  cursor.FocusGroup = focus.group;
  cursor.FocusLine = focus.line;
  cursor.FocusColumn = focus.column;
  cursor.FirstRecord = selection.firstRecord;
  cursor.EndRecord = selection.endRecord;
  cursor.FirstGroup = selection.firstGroup;
  cursor.EndGroup = selection.endGroup;
  return cursor;
}

void SelectSingleRecord(CExtendListCtrl& grid, int record) {
  const GridCursor cursor = SingleRecordCursor(CursorOf(grid), record);
  grid.SetFocusCell({cursor.FocusRecord, cursor.FocusGroup, cursor.FocusLine, cursor.FocusColumn});
  grid.SetSelection({cursor.FirstRecord, cursor.EndRecord, cursor.FirstGroup, cursor.EndGroup});
}

void SelectAllRecords(CExtendListCtrl& grid) {
  grid.SetSelection({0, grid.GetRecordCount(), 0, grid.GetGroupCount()});
}

}  // namespace Brenno
