// The information output pane as the core writes to it: one line at a time, from any layer
// (compile reports, conversions, transfers). The shell installs the pane's writer at start-up
// (the PLC link's user-interface services are one); without one, lines are dropped.
#pragma once

#include <string>

namespace Brenno {

class InformationOutput {
 public:
  virtual ~InformationOutput() = default;
  // One line appended to the information output (`EvOutputAppend`).
  virtual void AppendOutputLine(const std::wstring& line) = 0;
  // Brings the information output to the front, so that the user reads what it says now.
  virtual void ShowOutput() {}
};

// Installs the writer (null removes it); the caller keeps ownership.
void InstallInformationOutput(InformationOutput* output);
InformationOutput* InstalledInformationOutput();

// Appends the line through the installed writer, if there is one.
void AppendInformationLine(const std::wstring& line);
// Brings the information output to the front through the installed writer, if there is one.
void ShowInformationOutput();

}  // namespace Brenno
