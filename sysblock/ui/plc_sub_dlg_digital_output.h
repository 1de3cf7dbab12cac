// Sub-dialogs of the digital output modules: Voskel (type 2, 8 outputs), Belquin (type 7) and
// Dorvane (type 8, 16 outputs each) and Glostra (type 14, 32 outputs). Per output a
// three-state communication failure box and a three-state force box; a select-all box ticks
// or clears every communication failure box at once.
#pragma once

#include <array>

#include "sysblock/ui/plc_sub_dlg_digital.h"

class QCheckBox;

namespace corvell {

// Control ids and captions of one output module type.
struct DigitalOutputLayout {
  const wchar_t* model;
  int outerGroup;
  int defaultButton;
  int commFailGroup;
  const wchar_t* commFailCaption[2];  // English, Chinese
  int rangeLabel;
  int selectAll;
  const wchar_t* selectAllCaption[2];
  int rangeCaption;
  const wchar_t* rangeCaptionText[2];
  int firstCommFailBox;  // consecutive ids, outputs 0 on
  int forceGroup;
  const wchar_t* forceCaption[2];
  int firstForceBox;     // consecutive ids, outputs 0 on
  std::array<int, 4> forceRowLabels;
};

template <size_t Points>
class CDigitalOutputSubDlg : public CDigitalModuleSubDlg {
 public:
  void OnDefault() override;
  // The select-all box was clicked: every communication failure box follows it.
  void OnSelectAll();
  QCheckBox* SelectAllBox() const { return selectAll_; }

 protected:
  CDigitalOutputSubDlg(DigitalOutputParams<Points>& params, const DigitalOutputLayout& layout, int language,
                       QWidget* parent);

 private:
  DigitalOutputParams<Points>& params_;
  QCheckBox* selectAll_ = nullptr;
  std::array<QCheckBox*, Points> commFailBoxes_{};
};

class CPlcSubDlgDOCls : public CDigitalOutputSubDlg<8> {
 public:
  CPlcSubDlgDOCls(DigitalOutputParams<8>& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgDO16Cls : public CDigitalOutputSubDlg<16> {
 public:
  CPlcSubDlgDO16Cls(DigitalOutputParams<16>& params, int language, QWidget* parent = nullptr);
};

class CPlcSubDlgDO16RCls : public CDigitalOutputSubDlg<16> {
 public:
  CPlcSubDlgDO16RCls(DigitalOutputParams<16>& params, int language, QWidget* parent = nullptr);
};

class PlcSubDlgGlostra : public CDigitalOutputSubDlg<32> {
 public:
  PlcSubDlgGlostra(DigitalOutputParams<32>& params, int language, QWidget* parent = nullptr);
};

}  // namespace corvell
