// Renders program pages into images with the page painter on a QPainter: for the render
// program, the render tests and the paint benchmark. Needs a QGuiApplication (the offscreen
// platform will do); GUI thread only.
#pragma once

#include <QImage>
#include <QSize>

#include "core/env/utilities.h"
#include "core/program/online_cache.h"
#include "core/program/program_page.h"
#include "ui/widgets/qt_draw_context.h"

namespace Brenno {

// Width and height of the whole page: the widest network plus its bars, and the header strip
// plus every network.
QSize PageExtent(ProgramPage& page);

// The part of the page inside the rectangle (page coordinates), painted from the snapshot.
QImage RenderPageArea(ProgramPage& page, const Rect& area, OnlineCacheSnapshot& online,
                      const QtDrawResources& resources = QtDrawResources::Shared());
// Paints into an existing image of the rectangle's size (reused by the benchmark).
void RenderPageAreaInto(QImage& image, ProgramPage& page, const Rect& area, OnlineCacheSnapshot& online,
                        const QtDrawResources& resources = QtDrawResources::Shared());

}  // namespace Brenno
