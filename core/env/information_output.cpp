#include "core/env/information_output.h"

#include <atomic>

namespace Brenno {

namespace {
std::atomic<InformationOutput*> g_output{nullptr};
}  // namespace

void InstallInformationOutput(InformationOutput* output) { g_output.store(output); }

InformationOutput* InstalledInformationOutput() { return g_output.load(); }

void AppendInformationLine(const std::wstring& line) {
  if (InformationOutput* output = g_output.load()) output->AppendOutputLine(line);
}

void ShowInformationOutput() {
  if (InformationOutput* output = g_output.load()) output->ShowOutput();
}

}  // namespace Brenno
