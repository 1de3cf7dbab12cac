// Converts program pages of 1,000 and 10,000 networks between statement list and ladder, both
// ways, and prints networks per second for each size; then the cost per network for networks
// of growing size, to show that it grows no faster than the network.
//
// The networks are generated from the TypeA fixture library (5 to 40 elements: contacts,
// comparisons, coils, boxes, series and parallel blocks, branch points) and put once through
// the converter, so every page holds networks that convert both ways.
//
//   convert_bench [seed]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/convert/page_conversion.h"
#include "core/convert/stl_analysis.h"
#include "core/convert/stl_generation.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/memory_area_manager.h"
#include "core/program/program_block.h"
#include "core/program/program_services.h"
#include "platform/text_codec.h"
#include "tests/core/convert/stl_network_generator.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchServices final : public Brenno::ProgramServices {
 public:
  explicit BenchServices(const Brenno::InstructionLibrary& library) : m_library(library) {}
  const Brenno::InstructionLibrary& Library() const override { return m_library; }
  const Brenno::MemoryAreaManager& MemoryMap() const override { return m_memory; }
  bool LookupSymbolNamePrefixed(std::wstring&, int) const override { return false; }
  bool LookupOperandSymbolPrefixed(std::wstring&, int) const override { return false; }
  bool ReplacePageNameByReferenceName(std::wstring&) const override { return false; }
  bool ReplaceReferenceNameByPageName(std::wstring&) const override { return false; }
  bool ReplacePageAddressByName(std::wstring&) const override { return false; }
  bool ReplacePageNameByAddress(std::wstring&) const override { return false; }

 private:
  const Brenno::InstructionLibrary& m_library;
  Brenno::MemoryAreaManager m_memory;
};

int ElementCount(const std::vector<Brenno::StlLine>& lines) {
  int count = 0;
  for (const Brenno::StlLine& line : lines) {
    if (!line.Operands.empty() || line.Mnemonic == L"NOT" || line.Mnemonic == L"EU" || line.Mnemonic == L"ED" ||
        line.Mnemonic == L"NEXT") {
      ++count;
    }
  }
  return count;
}

// Statement-list networks in the converter's normal form with `low` to `high` elements.
std::vector<Brenno::Network> MakeNetworks(const Brenno::InstructionLibrary& library, std::uint32_t seed,
                                          std::size_t count, int low, int high, double& averageElements) {
  stl_generator::NetworkGenerator generator(stl_generator::TypeAVocabulary(), seed);
  std::vector<Brenno::Network> networks;
  long total = 0;
  while (networks.size() < count) {
    stl_generator::GeneratorLimits limits;
    limits.rungs = 1 + high / 12;
    limits.depth = 3;
    limits.elementBudget = std::uniform_int_distribution<int>(low, high)(generator.Random());
    Brenno::Network network;
    network.Kind = Brenno::kNetworkStl;
    network.Lines = generator.Next(limits);
    try {
      Brenno::ConvertToLad(library, network);
      Brenno::ConvertToStl(library, network);
    } catch (const Brenno::ExceptionError&) {
      continue;
    }
    const int elements = ElementCount(network.Lines);
    if (elements < low || elements > high) continue;
    total += elements;
    networks.push_back(network);
  }
  averageElements = static_cast<double>(total) / static_cast<double>(count);
  return networks;
}

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Converts the page to ladder and back; returns the seconds of each direction.
void ConvertPage(const std::vector<Brenno::Network>& networks, const Brenno::ProgramBlock& program, double& toLad,
                 double& toStl) {
  Brenno::ProgramPage page;
  page.ViewState.PageId = 0;
  page.ViewState.ViewMode = Brenno::kViewModeStl;
  page.UndoLog.Networks = networks;
  Brenno::CompileReport report;
  Clock::time_point start = Clock::now();
  Brenno::ConvertPageView(page, Brenno::kViewModeLad, report, program);
  toLad = Seconds(start);
  start = Clock::now();
  Brenno::ConvertPageView(page, Brenno::kViewModeStl, report, program);
  toStl = Seconds(start);
  if (report.ErrorCount != 0) {
    std::fprintf(stderr, "%d networks failed to convert\n", report.ErrorCount);
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t seed = argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 2026u;
  Brenno::InstructionLibrary library;
  try {
    Brenno::ReadManagerFun(library,
                           platform::FromUtf8Lossy(std::string(ORVISTO_FIXTURES_DIR) +
                                                   "/catalog/Orvisto/TypeA/ManagerFun.xml"),
                           2);
  } catch (const Brenno::ExceptionError& error) {
    std::fprintf(stderr, "%s\n", platform::ToUtf8Lossy(error.Message()).c_str());
    return 1;
  }
  BenchServices services(library);
  Brenno::InstallProgramServices(&services);
  const Brenno::ProgramBlock program;

  double average = 0;
  const std::vector<Brenno::Network> pool = MakeNetworks(library, seed, 10000, 5, 40, average);
  std::printf("networks of 5 to 40 elements (%.1f on average)\n", average);
  for (std::size_t size : {std::size_t{1000}, std::size_t{10000}}) {
    const std::vector<Brenno::Network> networks(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(size));
    double toLad = 0;
    double toStl = 0;
    ConvertPage(networks, program, toLad, toStl);
    std::printf("page of %5zu networks: STL->LAD %9.0f networks/s   LAD->STL %9.0f networks/s\n", size,
                static_cast<double>(size) / toLad, static_cast<double>(size) / toStl);
  }

  std::printf("cost per network by size (pages of 2,000 networks)\n");
  const int bands[][2] = {{5, 7}, {10, 14}, {20, 28}, {40, 56}};
  for (const auto& band : bands) {
    const std::vector<Brenno::Network> networks = MakeNetworks(library, seed + 1, 2000, band[0], band[1], average);
    double toLad = 0;
    double toStl = 0;
    ConvertPage(networks, program, toLad, toStl);
    std::printf("  %5.1f elements: STL->LAD %7.2f us/network   LAD->STL %7.2f us/network\n", average,
                toLad * 1e6 / 2000.0, toStl * 1e6 / 2000.0);
  }
  Brenno::InstallProgramServices(nullptr);
  return 0;
}
