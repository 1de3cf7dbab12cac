// The controller's force table: one row label per byte of points, I0.x to I3.x for the inputs and
// Q0.x to Q3.x for the outputs, in both languages.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "sysblock/ui/plc_sub_dlg_controller.h"
#include "ui_test_support.h"

namespace corvell {
namespace {

// The row labels (texts ending in ".x") of one of the two force groups, top to bottom, joined
// by blanks.
std::string RowLabels(const QGroupBox* group) {
  QStringList labels;
  for (const QLabel* label : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->text().endsWith(QStringLiteral(".x"))) labels << label->text();
  }
  return labels.join(QLatin1Char(' ')).toStdString();
}

TEST(PlcSubDlgController, ForceRowsAreLabelledByTheirByteOfPoints) {
  test::EnsureApplication();
  for (const int language : {1, 0}) {  // English, Chinese
    ForceStateArray states{};
    CPlcSubDlgControllerCls dialog(states, language);
    QList<QGroupBox*> groups;
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
      if (!RowLabels(group).empty()) groups << group;
    }
    ASSERT_EQ(groups.size(), 2) << language;
    EXPECT_EQ(RowLabels(groups[0]), "I0.x I1.x I2.x I3.x") << language;
    EXPECT_EQ(RowLabels(groups[1]), "Q0.x Q1.x Q2.x Q3.x") << language;
  }
}

}  // namespace
}  // namespace corvell
