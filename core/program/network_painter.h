// Painting of one network's frame around its body: the left bar with the break-point mark and
// the step arrow, the header with "NETWORK" and its number, the comment box, the body (statement
// list, ladder, or "INVALID" for a network shown in the other view) and the right bar.
//
// (x, y) is the network's top-left corner; the page's current network is the network painted
// and also its index in the page (the caller sets it). Colours are indices of the shared
// drawing set (colour, solid pen and brush of the same index). An unsupported (kind, view) pair
// throws ExceptionLogicError.
#pragma once

#include <string>
#include <vector>

#include "core/draw/draw_context.h"
#include "core/program/online_cache.h"
#include "core/program/network.h"
#include "core/program/page_view_state.h"

namespace Brenno {

// Hints drawn into empty parts of a network (the comment box, a statement-list body), so that an
// empty comment and an empty program never look alike: italic, in the light grey of colour 5.
inline constexpr int kHintColour = 5;
const wchar_t* NetworkCommentHint();
const wchar_t* StlBodyHint();
void DrawHintText(DrawContext& dc, const std::wstring& text, const Rect& rect);
// No line holds more than blanks and tabs (also true for no lines).
bool IsBlankText(const std::vector<std::wstring>& lines);

// Marks at the marker point (px, py) in the left bar.
// The break point: rectangle (px+1, py-5)-(px+15, py+5) in the pen's and brush's colour.
void DrawBreakpointMark(DrawContext& dc, int px, int py, int penColour, int brushColour);
// The current step: a right-pointing arrow, outline in one colour and fill in another.
void DrawStepArrow(DrawContext& dc, int px, int py, int outlineColour, int fillColour);

void PaintNetworkLeftBar(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y);
void PaintNetworkRightBar(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y);
void PaintNetworkHeader(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y);
// Nothing while the comment editor is open on the network (the editor covers the box).
void PaintNetworkComment(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y);
// (1,1) statement list, (2,2) ladder, else the "INVALID" body.
void PaintNetworkBody(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y,
                      OnlineCacheSnapshot& online);
void PaintInvalidBody(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y);

// The whole network: left bar, right bar, header, comment box, body.
void PaintNetwork(DrawContext& dc, const Network& net, const PageViewState& page, int x, int y,
                  OnlineCacheSnapshot& online);

}  // namespace Brenno
