#include "ui/views/grid_table_model.h"

#include "core/link/app_environment.h"
#include "core/link/comm_state.h"
#include "core/project/project.h"
#include "core/project/symbol_table.h"

namespace Brenno {

namespace {
constexpr Colour kGrey{128, 128, 128};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kLight{240, 240, 240};
constexpr Colour kActive{224, 224, 224};
}  // namespace

std::optional<Colour> GridStateColour(const GridColumnStyle& style, int state) {
  switch (state) {
    case kGridPartText + kGridModeNormal:
    case kGridPartText + kGridModeFocus:
    case kGridPartText + kGridModeSelected:
      return style.Text;
    case kGridPartFrame + kGridModeNormal:
    case kGridPartFrame + kGridModeSelected:
      return kGrey;
    case kGridPartFrame + kGridModeFocus:
      return GridBlack();
    case kGridPartBackground + kGridModeNormal:
      return style.Background;
    case kGridPartBackground + kGridModeFocus:
    case kGridPartBackground + kGridModeSelected:
      return style.ActiveBackground;
    default:
      return std::nullopt;
  }
}

Colour GridBlack() { return SharedGdiResources().Colors(0); }
Colour GridGreen() { return SharedGdiResources().Colors(1); }
Colour GridRed() { return SharedGdiResources().Colors(11); }
Colour GridButtonFace() { return GetSystemColours().button_face; }

GridColumnStyle GridKeyStyle(Colour text) { return {text, GridButtonFace(), GridButtonFace()}; }
GridColumnStyle GridDataStyle(Colour text) { return {text, kWhite, kActive}; }
GridColumnStyle GridCommentStyle(Colour text) { return {text, kLight, kActive}; }

std::vector<std::wstring> GridSymbolTypeNames() {
  const SymbolTable& symbols = CurrentProject().Symbols;
  std::vector<std::wstring> names;
  for (int type = 0; type < kGridSymbolTypeCount; ++type) names.push_back(SymbolListText(symbols.TypeNames, type));
  return names;
}

int GridCommState() {
  const AppEnvironment* env = InstalledAppEnvironment();
  return env != nullptr ? env->CommState.load() : CommOffline;
}

bool GridIsOffline() { return GridCommState() == CommOffline; }

bool GridDrawsRows(int commState) { return ShowsProject(commState); }

bool GridDrawsRows() { return GridDrawsRows(GridCommState()); }

GridCursor SingleRecordCursor(const GridCursor& old, int record) {
  GridCursor cursor;
  cursor.FocusRecord = record;
  cursor.FocusGroup = 0;
  cursor.FocusLine = old.FocusLine != -1 ? old.FocusLine : 0;
  cursor.FocusColumn = old.FocusColumn != -1 ? old.FocusColumn : 0;
  cursor.FirstRecord = record;
  cursor.EndRecord = record + 1;
  cursor.FirstGroup = 0;
  cursor.EndGroup = 1;
  return cursor;
}

}  // namespace Brenno
