// The network text form of the plain-text clipboard and the program import: reading networks,
// writing them back, and reading the written form again, on a page in either view.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/program/network_text.h"
#include "core/program/program_page.h"
#include "fuzz_program_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzprogram::InstallFixtureProject();
  if (size == 0) return 0;
  Brenno::PageViewState view;
  view.PageId = 0;
  view.ViewMode = (data[0] & 1) != 0 ? 1 : 2;
  const std::wstring_view separator = (data[0] & 2) != 0 ? std::wstring_view(L"\r\n") : std::wstring_view(L"\n");
  const std::wstring text = fuzzprogram::InputText(data + 1, size - 1);

  std::vector<Brenno::Network> networks;
  Brenno::ParseNetworksFromText(networks, view, separator, text);
  std::wstring written;
  Brenno::NetworksToText(written, view, separator, networks);
  std::vector<Brenno::Network> again;
  Brenno::ParseNetworksFromText(again, view, separator, written);
  // Headers are written only as network starts, so the written form has as many networks.
  if (again.size() != networks.size()) std::abort();

  // The same text pasted into a page and measured.
  Brenno::ProgramPage page;
  Brenno::ProgramPage::CreateSized(page, 2);
  page.ViewState = view;
  page.SetSelection(1, 1, -1, -1);
  std::wstring pasted = text;
  page.PasteNetworksFromText(pasted, separator);
  page.NetworksHeight(0, page.NetworkCount());
  page.Undo();
  return 0;
}
