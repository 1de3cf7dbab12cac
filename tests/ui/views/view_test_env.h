// The environment the table view tests work in: a program directory made of the fixture type
// TypeA with the test plug-ins, loaded and installed with a fresh project, an in-memory
// clipboard, and a main frame sink that records every update the hub routes.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/language.h"
#include "core/link/comm_state.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/message_box.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "tests/support/memory_clipboard.h"
#include "tests/support/test_paths.h"
#include "tests/support/type_a_environment.h"
#include "ui/shell/notify_main_frame.h"
#include "ui/views/grid_table_model.h"
#include "ui/widgets/extend_list_ctrl.h"

namespace viewtest {

namespace fs = std::filesystem;

class RecordingFrame : public Brenno::MainFrameSink {
 public:
  void RouteUpdate(uint16_t code, intptr_t value) override {
    Calls.push_back({code, value});
    if (Forward) Forward(code, value);
  }
  void SetStatusText(const std::wstring&, bool) override {}
  bool Routed(uint16_t code, intptr_t value) const {
    for (const auto& call : Calls) {
      if (call.Code == code && call.Value == value) return true;
    }
    return false;
  }
  bool RoutedCode(uint16_t code) const {
    for (const auto& call : Calls) {
      if (call.Code == code) return true;
    }
    return false;
  }
  std::vector<Brenno::PaneUpdateCall> Calls;
  // Hands the codes on as the main frame would route them to the windows under test.
  std::function<void(uint16_t, intptr_t)> Forward;
};

class ViewEnvTest : public testsupport::TypeAEnvironmentTest {
 protected:
  void SetUp() override {
    TypeAEnvironmentTest::SetUp();
    if (HasFatalFailure()) return;
    Brenno::InstallMainFrameSink(&frame_);
  }

  void TearDown() override {
    Brenno::InstallMainFrameSink(nullptr);
    TypeAEnvironmentTest::TearDown();
  }

  void SetCommState(int state) { env_.CommState.store(state); }

  testsupport::MemoryClipboard clipboard_;
  RecordingFrame frame_;
};

// A cursor on a single cell with the selection over records [first, end) of group 0.
inline Brenno::GridCursor CursorOn(int record, int column, int first = -2, int end = -2) {
  Brenno::GridCursor cursor;
  cursor.FocusRecord = record;
  cursor.FocusGroup = 0;
  cursor.FocusLine = 0;
  cursor.FocusColumn = column;
  cursor.FirstRecord = first == -2 ? record : first;
  cursor.EndRecord = end == -2 ? record + 1 : end;
  cursor.FirstGroup = 0;
  cursor.EndGroup = 1;
  return cursor;
}

// The centre of a grid cell in the grid's viewport.
inline QPoint CellCentre(Brenno::CExtendListCtrl& grid, int record, int column) {
  const Brenno::Rect r = grid.GetSubItemRect(record, column + 1);
  return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The number of clearly red pixels of `viewport` inside `r` (red cell texts).
inline int RedPixels(QWidget* viewport, const Brenno::Rect& r) {
  const QImage image = viewport->grab().toImage();
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 150 && c.green() < 80 && c.blue() < 80) ++count;
    }
  }
  return count;
}

}  // namespace viewtest
