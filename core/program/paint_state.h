// What the painters ask of the page view state about the network being painted (the state's
// current network): whether it lies in the selected network range, whether the cell cursor or
// the comment cursor stands in it, and whether one of its in-place editors covers it.
#pragma once

#include "core/program/page_view_state.h"

namespace Brenno {

// A range of whole networks (first != -1, last != -1, first < last) holds the current network.
inline bool IsCurrentNetworkSelected(const PageViewState& page) {
  return page.SelectionFirst != -1 && page.SelectionLast != -1 && page.SelectionFirst < page.SelectionLast &&
         page.SelectionFirst <= page.CurrentNetwork && page.CurrentNetwork < page.SelectionLast;
}

// The cursor stands on the current network (first = last = current network).
inline bool IsCursorOnCurrentNetwork(const PageViewState& page) {
  return page.SelectionFirst != -1 && page.SelectionFirst == page.SelectionLast &&
         page.SelectionFirst == page.CurrentNetwork;
}

// A cell cursor (a ladder cell or a statement-list line) stands in the current network.
inline bool IsCellCursorOnCurrentNetwork(const PageViewState& page) {
  return IsCursorOnCurrentNetwork(page) && page.CursorColumn != -1 && page.CursorRow != -1;
}

// The cursor stands on the comment box of the current network.
inline bool IsCommentLevelOnCurrentNetwork(const PageViewState& page) {
  return IsCursorOnCurrentNetwork(page) && (page.CursorColumn == -1 || page.CursorRow == -1);
}

inline bool IsCommentEditorOnCurrentNetwork(const PageViewState& page) {
  return page.CommentEditor.Open && IsCommentLevelOnCurrentNetwork(page);
}

inline bool IsStlEditorOnCurrentNetwork(const PageViewState& page) {
  return page.StlEditor.Open && IsCursorOnCurrentNetwork(page);
}

}  // namespace Brenno
