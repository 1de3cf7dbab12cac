// The text form of whole networks, carried by the plain-text clipboard and read by the program
// import. Each network is the line "NETWORK", one line "//" + comment per comment line and, on
// a statement-list page for a statement-list network, one line per statement in its text
// form; every line is followed by the separator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/program/network.h"
#include "core/program/page_view_state.h"

namespace Brenno {

// The upper-cased line contains "NETWORK" and has no "//" or "NETWORK" before the first "//".
bool IsNetworkHeaderLine(std::wstring_view line);

void NetworksToText(std::wstring& text, const PageViewState& page, std::wstring_view separator,
                    const std::vector<Network>& networks);

// Splits the text at every separator (empty pieces kept; an empty text gives no networks). A
// header on the first line is skipped; every further header starts a new network. Every
// network read is a statement-list network filled by Network::ParseTextLines.
void ParseNetworksFromText(std::vector<Network>& networks, const PageViewState& page, std::wstring_view separator,
                           std::wstring_view text);

}  // namespace Brenno
