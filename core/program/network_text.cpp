#include "core/program/network_text.h"

#include "core/env/utilities.h"

namespace Brenno {

namespace {

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return out;
}

}  // namespace

bool IsNetworkHeaderLine(std::wstring_view line) {
  const std::wstring upper = UpperAscii(line);
  const size_t header = upper.find(L"NETWORK");
  if (header == std::wstring::npos) return false;
  const size_t comment = upper.find(L"//");
  return comment == std::wstring::npos || header < comment;
}

void NetworksToText(std::wstring& text, const PageViewState& page, std::wstring_view separator,
                    const std::vector<Network>& networks) {
  std::wstring out;
  for (const Network& net : networks) {
    out += L"NETWORK";
    out += separator;
    for (const std::wstring& comment : net.Comments) {
      out += L"//";
      out += comment;
      out += separator;
    }
    if (page.ViewMode == 1 && net.Kind == kNetworkStl) {
      for (const StlLine& line : net.Lines) {
        std::wstring lineText;
        FormatStlLine(line, lineText);
        out += lineText;
        out += separator;
      }
    }
  }
  text = std::move(out);
}

void ParseNetworksFromText(std::vector<Network>& networks, const PageViewState& page, std::wstring_view separator,
                           std::wstring_view text) {
  std::vector<std::wstring> lines;
  SplitText(lines, text, separator);
  std::vector<Network> read;
  if (!lines.empty()) {
    size_t start = IsNetworkHeaderLine(lines.front()) ? 1 : 0;
    for (size_t i = start;; ++i) {
      if (i == lines.size() || IsNetworkHeaderLine(lines[i])) {
        Network net;
        net.Kind = kNetworkStl;
        Network::ParseTextLines(page, net, lines, start, i);
        read.push_back(std::move(net));
        if (i == lines.size()) break;
        start = i + 1;
      }
    }
  }
  networks = std::move(read);
}

}  // namespace Brenno
