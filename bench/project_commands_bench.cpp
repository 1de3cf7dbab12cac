// Times the commands that walk the whole program, on the largest project the shipped type
// CPU-Feldrin-CM3 allows, and an open of that project beside a raw read of the same file:
//   - View > STL and View > LAD (SwitchProgramView, symbolic addressing on);
//   - Compile All (CompileAllBlocks: data, system and program blocks, then the ladder program
//     shown again in ladder form);
//   - the cross reference (RebuildCrossReferIndex);
//   - open (OpenProjectAsCurrent) beside one read of the same bytes, with the file dropped from
//     the page cache first and with it cached.
//
// The project is built from the shipped type's own vocabulary so that all of it compiles: every
// symbol page filled with 256 global symbols (inputs, outputs, flags, words, double words and
// reals), every data block and status chart page filled, and 8 interrupt and 16 subroutine
// pages of 256 ladder networks each, drawn from contacts, coils, set/reset, edges, timers,
// counters, moves, integer and real math, comparisons and subroutine calls, whose operands are
// mostly global symbols. The program shows symbols, as it does with symbolic addressing on.
//
// Each round times every figure once; the open and its floor, the raw read, are taken in pairs,
// one after the other. Every figure is taken as wall-clock time and as the processor time of the
// thread that runs the command ("_cpu", less disturbed by a busy machine; the time of a project
// freed on another thread is not in it). The program prints one line per figure and round
// ("round <n> <figure> <milliseconds>"), then the medians; bench/compare_commands.sh runs two
// builds of it alternately and sets their medians side by side.
//
//   project_commands_bench [program directory [rounds [view|compile|xref|open]]]
// The program directory defaults to the one this build lays out (it holds the shipped catalog
// with its libraries); scratch files go to the system's temporary folder. The last argument
// runs only that command's figures (for a profiler). Built with ORVISTO_BENCH_BASELINE defined,
// it also builds on earlier code, which freed a replaced project before the open returned.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <unistd.h>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/compiler/compile_commands.h"
#include "core/convert/program_view_switch.h"
#include "core/convert/stl_analysis.h"
#include "core/env/exception_error.h"
#include "core/env/plc_config.h"
#include "core/env/plc_type.h"
#include "core/link/app_environment.h"
#include "core/program/compile_report.h"
#include "core/program/program_services.h"
#include "core/program/stl_line.h"
#include "core/project/cross_reference.h"
#include "core/project/data_block_table.h"
#include "core/project/environment_loader.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "core/project/project_file.h"
#include "core/project/project_list.h"
#include "core/project/project_services.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "platform/text_codec.h"
#include "bench_files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kShippedType[] = L"CPU-Feldrin-CM3";

using benchfiles::Comment;
using benchfiles::DropFromCache;
using benchfiles::Fail;
using benchfiles::RawRead;

double ThreadCpuMilliseconds() {
  timespec now {};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The wall-clock time of the run and the processor time of the calling thread in it, in ms.
std::pair<double, double> Milliseconds(const std::function<void()>& run) {
  const double cpu = ThreadCpuMilliseconds();
  const Clock::time_point start = Clock::now();
  run();
  return {std::chrono::duration<double, std::milli>(Clock::now() - start).count(), ThreadCpuMilliseconds() - cpu};
}

// The program directory with only the shipped type.
void MakeProgramDirectory(const fs::path& shippedDir, const fs::path& dir) {
  const fs::path shipped = shippedDir / "Orvisto" / kShippedType;
  if (!fs::exists(shipped / "PlcType.xml")) Fail("no shipped type in " + shippedDir.string());
  const fs::path type = dir / "Orvisto" / kShippedType;
  fs::create_directories(type.parent_path());
  fs::copy(shipped, type, fs::copy_options::recursive);
  Brenno::PlcConfig config;
  config.PlcName = kShippedType;
  config.SymbolicAddr = 1;
  config.WritePlcConfig((dir / "Orvisto.xml").wstring());
}

// ---------------------------------------------------------------- the project

// The global symbols: 4 pages of 256. Page 0 the inputs and outputs, page 1 flags in V, page 2
// words, page 3 double words and reals.
struct SymbolDef {
  std::wstring name;
  std::wstring address;
  int type;  // data type index: 0 BOOL, 5 INT, 6 DINT, 10 REAL
};

std::vector<SymbolDef> MakeSymbols() {
  std::vector<SymbolDef> symbols;
  auto bit = [](const wchar_t* area, int byte, int bit) {
    return std::wstring(area) + std::to_wstring(byte) + L"." + std::to_wstring(bit);
  };
  for (int i = 0; i < 128; ++i) symbols.push_back({L"Input_" + std::to_wstring(i), bit(L"I", i / 8, i % 8), 0});
  for (int i = 0; i < 128; ++i) symbols.push_back({L"Output_" + std::to_wstring(i), bit(L"Q", i / 8, i % 8), 0});
  for (int i = 0; i < 256; ++i) symbols.push_back({L"Flag_" + std::to_wstring(i), bit(L"V", 100 + i / 8, i % 8), 0});
  for (int i = 0; i < 256; ++i) symbols.push_back({L"Level_" + std::to_wstring(i), L"VW" + std::to_wstring(200 + 2 * i), 5});
  for (int i = 0; i < 128; ++i) symbols.push_back({L"Total_" + std::to_wstring(i), L"VD" + std::to_wstring(1000 + 4 * i), 6});
  for (int i = 0; i < 128; ++i) symbols.push_back({L"Ratio_" + std::to_wstring(i), L"VD" + std::to_wstring(2000 + 4 * i), 10});
  return symbols;
}

// Random statement-list networks of the shipped vocabulary, operands as addresses: mostly those
// of global symbols, some without a symbol (M bits, high V words).
class NetworkMaker {
 public:
  explicit NetworkMaker(int subroutines) : subroutines_(subroutines) {}

  std::vector<std::wstring> Next(bool mayCall) {
    std::vector<std::wstring> lines;
    const int rungs = Pick(1, 3);
    for (int r = 0; r < rungs; ++r) Rung(lines, mayCall);
    return lines;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::wstring N(int low, int high) { return std::to_wstring(Pick(low, high)); }

  std::wstring Bit() {
    const int kind = Pick(0, 9);
    if (kind == 0) return L"M" + N(0, 31) + L"." + N(0, 7);
    if (kind < 4) return L"I" + N(0, 15) + L"." + N(0, 7);
    if (kind < 6) return L"Q" + N(0, 15) + L"." + N(0, 7);
    return L"V" + N(100, 131) + L"." + N(0, 7);
  }
  std::wstring Output() { return Pick(0, 1) == 0 ? L"Q" + N(0, 15) + L"." + N(0, 7) : L"V" + N(100, 131) + L"." + N(0, 7); }
  std::wstring Word() { return Pick(0, 7) == 0 ? L"VW" + std::to_wstring(4000 + 2 * Pick(0, 500)) : L"VW" + std::to_wstring(200 + 2 * Pick(0, 255)); }
  std::wstring Dword() { return L"VD" + std::to_wstring(1000 + 4 * Pick(0, 127)); }
  std::wstring Real() { return L"VD" + std::to_wstring(2000 + 4 * Pick(0, 127)); }

  // A few contacts in series and parallel.
  void Condition(std::vector<std::wstring>& lines) {
    lines.push_back((Pick(0, 3) == 0 ? L"LDN " : L"LD ") + Bit());
    const int more = Pick(0, 3);
    for (int i = 0; i < more; ++i) {
      switch (Pick(0, 5)) {
        case 0: lines.push_back(L"O " + Bit()); break;
        case 1: lines.push_back(L"AN " + Bit()); break;
        case 2: lines.push_back(L"AW>= " + Word() + L", +" + N(1, 500)); break;
        default: lines.push_back(L"A " + Bit()); break;
      }
    }
  }

  void Rung(std::vector<std::wstring>& lines, bool mayCall) {
    const int kind = Pick(0, mayCall ? 12 : 11);
    switch (kind) {
      case 0:
        Condition(lines);
        lines.push_back(L"= " + Output());
        break;
      case 1:
        Condition(lines);
        lines.push_back(L"TON T" + N(37, 255) + L", +" + N(10, 3000));
        break;
      case 2:
        lines.push_back(L"LD T" + N(37, 255));
        lines.push_back(L"AN " + Bit());
        lines.push_back(L"= " + Output());
        break;
      case 3:
        Condition(lines);
        lines.push_back(L"LD " + Bit());
        lines.push_back(L"CTU C" + N(0, 255) + L", +" + N(1, 100));
        break;
      case 4:
        lines.push_back(L"LDW>= " + Word() + L", +" + N(0, 1000));
        lines.push_back(L"A " + Bit());
        lines.push_back(L"= " + Output());
        break;
      case 5:
        Condition(lines);
        lines.push_back(L"MOVW " + Word() + L", " + Word());
        break;
      case 6:
        Condition(lines);
        lines.push_back(L"+I " + Word() + L", +" + N(1, 100) + L", " + Word());
        break;
      case 7:
        Condition(lines);
        lines.push_back(L"*R " + Real() + L", 1.5, " + Real());
        break;
      case 8:
        Condition(lines);
        lines.push_back(L"MOVD " + Dword() + L", " + Dword());
        break;
      case 9:
        lines.push_back(L"LDD> " + Dword() + L", " + Dword());
        lines.push_back(L"= " + Output());
        break;
      case 10:
        Condition(lines);
        lines.push_back(L"EU");
        lines.push_back((Pick(0, 1) == 0 ? L"S " : L"R ") + Output() + L", 1");
        break;
      case 11:
        Condition(lines);
        lines.push_back(L"INCW " + Word() + L", " + Word());
        break;
      default:
        Condition(lines);
        lines.push_back(L"SBR" + N(0, subroutines_ - 1));
        break;
    }
  }

  int subroutines_;
  std::mt19937 random_{2026u};
};

Brenno::Network LadderNetwork(const Brenno::InstructionLibrary& library, const std::vector<std::wstring>& texts, int n) {
  Brenno::Network network;
  network.Kind = Brenno::kNetworkStl;
  for (const std::wstring& text : texts) {
    Brenno::StlLine line;
    Brenno::SplitStlLinePlain(text, line);
    network.Lines.push_back(std::move(line));
  }
  Brenno::ConvertToLad(library, network);
  network.Comments = {n % 4 == 0 ? L"\x7B2C " + std::to_wstring(n) + L" \x6BB5\x7F51\x7EDC"
                                 : L"Network " + std::to_wstring(n) + L": conveyor start conditions"};
  return network;
}

// Every page the type allows, each filled to its limit, the program in ladder form showing
// symbols.
void FillProject(Brenno::Project& project) {
  const Brenno::PlcTypeDescription& type = project.Type->Description;

  while (Brenno::AddFirstFreeSymbolTable(project.Symbols) != -1) {
  }
  const std::vector<SymbolDef> symbols = MakeSymbols();
  size_t next = 0;
  for (auto& [key, page] : project.Symbols.Working) {
    page.Rows.clear();
    for (int r = 0; r < type.SymbolVar.SizeItemUser && next < symbols.size(); ++r, ++next) {
      Brenno::VarEntry entry = Brenno::MakeEmptyVarEntry();
      entry.Type = symbols[next].type;
      entry.Name = symbols[next].name;
      entry.Address = symbols[next].address;
      entry.Comment = Comment(static_cast<int>(next));
      page.Rows.push_back(entry);
    }
  }
  Brenno::ValidateSymbolEntries(project.Symbols);

  while (Brenno::AddFirstFreeDataBlock(project.DataBlocks) != -1) {
  }
  int n = 0;
  for (auto& [key, page] : project.DataBlocks.Working) {
    page.Rows.clear();
    for (int r = 0; r < type.DataBlock.SizeItem; ++r, ++n) {
      page.Rows.push_back({0, 2, L"VW" + std::to_wstring(200 + 2 * n), std::to_wstring(n % 30000), Comment(n)});
    }
  }
  Brenno::ValidateDataRows(project.DataBlocks);

  while (Brenno::AddFirstFreeStatusChart(project.StatusChart) != -1) {
  }
  for (const auto& [key, page] : std::map(project.StatusChart.Working)) {
    for (int line = 0; line < type.StatusChart.SizeItemRow; ++line) {
      Brenno::SetChartAddress(project.StatusChart, key, line, 0, L"VW" + std::to_wstring(200 + 2 * line));
    }
  }

  Brenno::ProgramBlock& program = project.Program;
  while (program.AddInterrupt() != -1) {
  }
  while (program.AddSubroutine() != -1) {
  }
  int subroutines = 0;
  for (const int key : program.ListProgramBlockKeys()) subroutines += key >= 0x10000 ? 1 : 0;
  NetworkMaker maker(subroutines);
  int failed = 0;
  for (const int key : program.ListProgramBlockKeys()) {
    const bool subroutine = key >= 0x10000;
    const int networks = subroutine ? type.ProgramBlock.SizeItemSbr : type.ProgramBlock.SizeItemInt;
    Brenno::ProgramPage& page = program.GetProgramPage(key);
    page.UndoLog.Networks.clear();
    while (static_cast<int>(page.UndoLog.Networks.size()) < networks) {
      try {
        page.UndoLog.Networks.push_back(LadderNetwork(project.Instructions, maker.Next(!subroutine), n++));
      } catch (const Brenno::ExceptionError&) {
        if (++failed > 1000) Fail("too many generated networks do not convert to ladder");
      }
    }
    page.UndoLog.ClearHistory();
    page.ViewState.ViewMode = Brenno::kViewModeLad;
    page.LocalVars.clear();
    const int locals = subroutine ? type.SymbolVar.SizeItemSbr : type.SymbolVar.SizeItemInt;
    for (int i = 0; i < locals; ++i) {
      Brenno::VarEntry entry = Brenno::MakeEmptyVarEntry();
      entry.Area = 3;  // TEMP
      entry.Type = i % 3 == 0 ? 0 : 5;
      entry.Name = L"tmp" + std::to_wstring(i);
      entry.Comment = Comment(i);
      page.LocalVars.push_back(entry);
    }
  }
  program.ViewMode = Brenno::kViewModeLad;
  Brenno::CurrentProgramServices().NormalizeLocalVariables(program);
  Brenno::ShowProgramSymbols(program);
  Brenno::ShowDataBlockSymbols(project.DataBlocks);
}

int CountNetworks(const Brenno::Project& project) {
  int count = 0;
  for (const int key : project.Program.ListProgramBlockKeys()) {
    count += project.Program.GetProgramPage(key).NetworkCount();
  }
  return count;
}

// The compile errors of the current project (nothing printed).
int CompileErrors() {
  Brenno::CompileReport report(false);
  Brenno::BinaryImage image;
  Brenno::EncodeDataBlocks(report, image);
  Brenno::EncodeSystemBlock(report, image);
  Brenno::EncodeProgramBlocks(report, image);
  return report.TotalErrors();
}

int CountSymbolOperands(const Brenno::Project& project) {
  int count = 0;
  for (const int key : project.Program.ListProgramBlockKeys()) {
    for (const Brenno::Network& network : project.Program.GetProgramPage(key).Networks()) {
      for (const Brenno::LadElement& element : network.Grid.Elements) {
        for (const auto* list : {&element.OperandId, &element.OperandIn, &element.OperandOut}) {
          for (const Brenno::ElementOperand& operand : *list) {
            count += operand.Text.find(L'_') != std::wstring::npos ? 1 : 0;  // symbol names hold one
          }
        }
      }
    }
  }
  return count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(int argc, char** argv) {
  const fs::path shipped = argc > 1 ? fs::path(argv[1]) : fs::path(ORVISTO_DIST_DIR);
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string only = argc > 3 ? argv[3] : "";
  const auto runs = [&only](const char* command) { return only.empty() || only == command; };

  std::string folder = (fs::temp_directory_path() / "orvisto-commands-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) Fail("cannot make a scratch folder");
  const fs::path scratch = folder;
  MakeProgramDirectory(shipped, scratch / "program");

  Brenno::AppEnvironment env;
  Brenno::LoadEnvironment(env, (scratch / "program").wstring());
  Brenno::InstallEnvironment(&env);
  Brenno::InstallCurrentProjectServices();
  env.Config.SymbolicAddr = 1;

  Brenno::NewProject();
  FillProject(Brenno::CurrentProject());
  const std::string file = (scratch / "project.lqw").string();
  const std::wstring wfile = platform::FromUtf8Lossy(file);
  // Saved and opened once: the project as a file gives it back (opening fits it to the type).
  Brenno::SaveProjectFile(wfile);
  Brenno::OpenProjectAsCurrent(wfile);
  const int networks = CountNetworks(Brenno::CurrentProject());
  const int errors = CompileErrors();
  if (errors != 0) Fail("the project does not compile: " + std::to_string(errors) + " errors");
  std::vector<uint8_t> bytes;
  RawRead(file, bytes);
  std::printf("project: %d networks, %d operands shown as symbols, %.2f MB file, compiles without error\n", networks,
              CountSymbolOperands(Brenno::CurrentProject()), static_cast<double>(bytes.size()) / 1e6);

  std::map<std::string, std::vector<double>> figures;
  // Each figure twice: the wall-clock time ("<figure>") and the processor time of this thread
  // ("<figure>_cpu"), which a busy machine disturbs less.
  auto record = [&](int round, const std::string& name, std::pair<double, double> ms) {
    for (const auto& [figure, value] : {std::pair{name, ms.first}, std::pair{name + "_cpu", ms.second}}) {
      figures[figure].push_back(value);
      std::printf("round %d %s %.3f\n", round, figure.c_str(), value);
    }
    std::fflush(stdout);
  };
  for (int round = 0; round < rounds; ++round) {
    if (runs("view")) {
      Brenno::ProgramBlock& program = Brenno::CurrentProject().Program;
      Brenno::CompileReport toStl(true);
      record(round, "view_stl", Milliseconds([&] { Brenno::SwitchProgramView(program, toStl, Brenno::kViewModeStl); }));
      Brenno::CompileReport toLad(true);
      record(round, "view_lad", Milliseconds([&] { Brenno::SwitchProgramView(program, toLad, Brenno::kViewModeLad); }));
      if (toStl.TotalErrors() != 0 || toLad.TotalErrors() != 0) Fail("the view switch reported errors");
    }
    if (runs("compile")) record(round, "compile_all", Milliseconds([] { Brenno::CompileAllBlocks(); }));
    if (runs("xref")) {
      record(round, "cross_reference", Milliseconds([] { Brenno::RebuildCrossReferIndex(); }));
      if (Brenno::CurrentProject().CrossReferences.Rows.empty()) Fail("the cross reference is empty");
    }
    if (!runs("open")) continue;

    // The open and its floor, a read of the same bytes into memory, each with the file dropped
    // from the page cache first (as a file opened after some time) and with it cached (as one
    // just saved).
    // One open first, untimed: the two that are timed then both follow an open (and not the
    // commands above, which leave the memory of the process in another state).
    Brenno::OpenProjectAsCurrent(wfile);
#ifndef ORVISTO_BENCH_BASELINE
    Brenno::WaitForDroppedProjects();
#endif
    std::vector<uint8_t> read;
    for (const bool cold : {true, false}) {
      if (cold) DropFromCache(file);
      record(round, cold ? "open_cold" : "open_warm", Milliseconds([&] { Brenno::OpenProjectAsCurrent(wfile); }));
#ifndef ORVISTO_BENCH_BASELINE
      // The project the open replaced is freed beside the user's work; its end is waited for
      // here, untimed, so that it does not run into the next figure.
      Brenno::WaitForDroppedProjects();
#endif
      if (CountNetworks(Brenno::CurrentProject()) != networks) Fail("the opened project lost networks");
      if (cold) DropFromCache(file);
      record(round, cold ? "read_cold" : "read_warm", Milliseconds([&] { RawRead(file, read); }));
      if (read != bytes) Fail("the raw read differs");
    }
  }

  std::printf("medians of %d rounds (ms):\n", rounds);
  for (const auto& [name, values] : figures) std::printf("median %s %.3f\n", name.c_str(), Median(values));
  if (runs("open")) {
    for (const char* kind : {"cold", "warm"}) {
      const std::vector<double>& opens = figures[std::string("open_") + kind];
      const std::vector<double>& reads = figures[std::string("read_") + kind];
      std::vector<double> ratios;
      for (size_t i = 0; i < opens.size(); ++i) ratios.push_back(opens[i] / reads[i]);
      std::printf("median open/read %s %.2f\n", kind, Median(ratios));
    }
  }

  Brenno::InstallProgramServices(nullptr);
  Brenno::InstallEnvironment(nullptr);
  fs::remove_all(scratch);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return benchfiles::Main("project_commands_bench", [&] { return Run(argc, argv); });
}
