// Saves and opens two large project files and sets the times beside what the disk alone needs
// for the same bytes:
//   - the largest project the shipped type allows: every page of every table and of the
//     program that the type allows, each filled to its row, variable or network limit;
//   - a project of 100,000 networks on a test type (the shipped type with room for them).
// Networks are ladder networks, each holding its statement-list form too (as converted ones
// do), drawn from random statement-list networks of 5 to 30 elements; a quarter of the texts
// are Chinese.
//
// Save is SaveProjectFile (encode, write, flush, rename, flush the folder); raw write is one
// write of the same bytes to a new file and fsync. Open is OpenProjectAsCurrent (read, decode,
// fit to the type); raw read is one read of the same bytes. Both reads are timed twice: with the
// file dropped from the page cache first (as a file opened after some time) and with it cached
// (as one just saved).
//
// The edge cases time the decoding and fitting of files whose cost must stay in proportion to
// their size: N network comments whose bytes are not code page 936 (each read as empty and its
// place told) beside the same file with sound texts, and an instruction name of N "#"
// characters beside one of N letters.
//
//   project_file_bench [program directory [repetitions [shipped|many|edges]]]
// The program directory defaults to the one this build lays out (it holds the shipped catalog
// with its libraries); scratch files go to the system's temporary folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/convert/stl_analysis.h"
#include "core/link/app_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/plc_config.h"
#include "core/env/plc_type.h"
#include "core/program/program_services.h"
#include "core/project/project_services.h"
#include "core/project/data_block_table.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "core/project/project_file.h"
#include "core/project/status_chart.h"
#include "core/project/symbol_table.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "bench_files.h"
#include "tests/core/convert/stl_network_generator.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kShippedType[] = L"CPU-Feldrin-CM3";
constexpr wchar_t kBenchType[] = L"CPU-Bench-100k";
constexpr int kManyNetworks = 100000;

using benchfiles::Comment;
using benchfiles::DropFromCache;
using benchfiles::Fail;
using benchfiles::RawRead;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// The smallest of `repetitions` runs (the figure least disturbed by the rest of the machine).
double Best(int repetitions, const std::function<void()>& prepare, const std::function<void()>& run) {
  double best = 1e9;
  for (int i = 0; i < repetitions; ++i) {
    prepare();
    const Clock::time_point start = Clock::now();
    run();
    best = std::min(best, Seconds(start));
  }
  return best;
}

void RawWrite(const std::string& path, const std::vector<uint8_t>& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail("cannot create " + path);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) Fail("cannot write " + path);
    done += static_cast<size_t>(n);
  }
  if (fsync(fd) != 0) Fail("cannot flush " + path);
  close(fd);
}

std::string ReadText(const fs::path& path) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(path.wstring(), bytes)) Fail("cannot read " + path.string());
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const fs::path& path, const std::string& text) {
  if (!platform::WriteFileBytes(path.wstring(), text.data(), text.size())) Fail("cannot write " + path.string());
}

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at == std::string::npos) Fail("the shipped type description has no " + from);
  text.replace(at, from.size(), to);
}

// A program directory with the shipped type and the test type made from it.
void MakeProgramDirectory(const fs::path& shippedDir, const fs::path& dir) {
  const fs::path shipped = shippedDir / "Orvisto" / kShippedType;
  if (!fs::exists(shipped / "PlcType.xml")) Fail("no shipped type in " + shippedDir.string());
  const fs::path type = dir / "Orvisto" / kShippedType;
  const fs::path bench = dir / "Orvisto" / kBenchType;
  fs::create_directories(type.parent_path());
  fs::copy(shipped, type, fs::copy_options::recursive);
  fs::copy(shipped, bench, fs::copy_options::recursive);
  std::string description = ReadText(bench / "PlcType.xml");
  ReplaceOnce(description, "Name=\"CPU-Feldrin-CM3\"", "Name=\"CPU-Bench-100k\"");
  ReplaceOnce(description, "SizeItemInt=\"256\"", "SizeItemInt=\"" + std::to_string(kManyNetworks) + "\"");
  WriteText(bench / "PlcType.xml", description);
  Brenno::PlcConfig config;
  config.PlcName = kShippedType;
  config.WritePlcConfig((dir / "Orvisto.xml").wstring());
}

// A few hundred ladder networks converted from random statement-list networks.
std::vector<Brenno::Network> MakeNetworkPool(const Brenno::InstructionLibrary& library) {
  stl_generator::NetworkGenerator generator(stl_generator::TypeAVocabulary(), 2026u);
  std::vector<Brenno::Network> pool;
  for (int attempt = 0; pool.size() < 400 && attempt < 100000; ++attempt) {
    stl_generator::GeneratorLimits limits;
    limits.rungs = 2;
    limits.depth = 3;
    limits.elementBudget = std::uniform_int_distribution<int>(5, 30)(generator.Random());
    Brenno::Network network;
    network.Kind = Brenno::kNetworkStl;
    network.Lines = generator.Next(limits);
    try {
      Brenno::ConvertToLad(library, network);
    } catch (const Brenno::ExceptionError&) {
      continue;
    }
    const size_t n = pool.size();
    network.Comments = {n % 4 == 0 ? L"\x7B2C " + std::to_wstring(n) + L" \x6BB5\x7F51\x7EDC\xFF1A\x542F\x52A8\x6761\x4EF6"
                                   : L"Network " + std::to_wstring(n) + L": start conditions of the conveyor"};
    pool.push_back(std::move(network));
  }
  if (pool.size() < 400) Fail("the generator made too few networks that convert");
  return pool;
}

Brenno::VarEntry Local(int i) {
  Brenno::VarEntry entry = Brenno::MakeEmptyVarEntry();
  entry.Area = 3;  // TEMP
  entry.Type = i % 3 == 0 ? 0 : 5;
  entry.Name = L"tmp" + std::to_wstring(i);
  entry.Comment = Comment(i);
  return entry;
}

// Every table page and program unit the type allows, each filled up to its limit; the main
// page gets `mainNetworks` networks when that is more than the type's usual page.
void FillProject(Brenno::Project& project, const std::vector<Brenno::Network>& pool, int mainNetworks) {
  const Brenno::PlcTypeDescription& type = project.Type->Description;

  while (Brenno::AddFirstFreeSymbolTable(project.Symbols) != -1) {
  }
  int n = 0;
  for (auto& [key, page] : project.Symbols.Working) {
    page.Rows.clear();
    for (int r = 0; r < type.SymbolVar.SizeItemUser; ++r, ++n) {
      Brenno::VarEntry entry = Brenno::MakeEmptyVarEntry();
      entry.Type = r % 2 == 0 ? 0 : 2;
      entry.Name = L"Symbol_" + std::to_wstring(n);
      entry.Address = r % 2 == 0 ? L"M" + std::to_wstring(n / 8 % 32) + L"." + std::to_wstring(n % 8)
                                 : L"VW" + std::to_wstring(2 * n);
      entry.Comment = Comment(n);
      page.Rows.push_back(entry);
    }
  }
  Brenno::ValidateSymbolEntries(project.Symbols);

  while (Brenno::AddFirstFreeDataBlock(project.DataBlocks) != -1) {
  }
  n = 0;
  for (auto& [key, page] : project.DataBlocks.Working) {
    page.Rows.clear();
    for (int r = 0; r < type.DataBlock.SizeItem; ++r, ++n) {
      page.Rows.push_back({0, 2, L"VW" + std::to_wstring(2 * n), std::to_wstring(n % 30000), Comment(n)});
    }
  }
  Brenno::ValidateDataRows(project.DataBlocks);

  while (Brenno::AddFirstFreeStatusChart(project.StatusChart) != -1) {
  }
  for (const auto& [key, page] : std::map(project.StatusChart.Working)) {
    for (int line = 0; line < type.StatusChart.SizeItemRow; ++line) {
      Brenno::SetChartAddress(project.StatusChart, key, line, 0, L"VW" + std::to_wstring(2 * line));
    }
  }

  Brenno::ProgramBlock& program = project.Program;
  while (program.AddInterrupt() != -1) {
  }
  while (program.AddSubroutine() != -1) {
  }
  size_t next = 0;
  for (const int key : program.ListProgramBlockKeys()) {
    const bool subroutine = key >= 0x10000;
    int networks = subroutine ? type.ProgramBlock.SizeItemSbr : type.ProgramBlock.SizeItemInt;
    if (key == 0) networks = std::max(networks, mainNetworks);
    if (key != 0 && mainNetworks > 0) networks = 0;  // the test type: all of them in the main page
    Brenno::ProgramPage& page = program.GetProgramPage(key);
    page.UndoLog.Networks.clear();
    page.UndoLog.Networks.reserve(static_cast<size_t>(networks));
    for (int i = 0; i < networks; ++i) page.UndoLog.Networks.push_back(pool[next++ % pool.size()]);
    page.UndoLog.ClearHistory();
    page.LocalVars.clear();
    const int locals = subroutine ? type.SymbolVar.SizeItemSbr : type.SymbolVar.SizeItemInt;
    for (int i = 0; i < locals; ++i) page.LocalVars.push_back(Local(i));
  }
  program.ViewMode = Brenno::kViewModeLad;
}

int CountNetworks(const Brenno::Project& project) {
  int count = 0;
  for (const int key : project.Program.ListProgramBlockKeys()) {
    count += project.Program.GetProgramPage(key).NetworkCount();
  }
  return count;
}

// Decoding and fitting to the type of the file's bytes alone: into a fresh project beside the
// current one, as an open does; dropping the older project afterwards is not timed.
double OpenTime(Brenno::AppEnvironment& env, const std::vector<uint8_t>& bytes, int repetitions) {
  auto dropOlder = [&] {
    while (env.ProjectList.size() > 1) env.ProjectList.pop_front();
  };
  const double time = Best(
      repetitions,
      [&] {
        dropOlder();
        env.ProjectList.emplace_back();
      },
      [&] { Brenno::OpenProjectBytes(bytes); });
  dropOlder();
  return time;
}

void Measure(const char* title, Brenno::AppEnvironment& env, const fs::path& scratch, int repetitions) {
  const std::string file = (scratch / "project.lqw").string();
  const std::string raw = (scratch / "raw.bin").string();
  const std::wstring wfile = platform::FromUtf8Lossy(file);

  // The project as a file gives it back: saved and opened once (opening fits it to the type).
  Brenno::SaveProjectFile(wfile);
  Brenno::OpenProjectAsCurrent(wfile);

  const double save = Best(repetitions, [] {}, [&] { Brenno::SaveProjectFile(wfile); });
  std::vector<uint8_t> bytes;
  RawRead(file, bytes);
  const double rawWrite = Best(repetitions, [] {}, [&] { RawWrite(raw, bytes); });
  const double encode = Best(repetitions, [] {}, [&] {
    const Brenno::StreamBytes built =
        Brenno::BuildProjectFileBytes(Brenno::CurrentProject(), env.PasswordTable1, bytes.size());
    if (built.size() != bytes.size()) Fail("the encoding changed between two saves");
  });

  const int networks = CountNetworks(Brenno::CurrentProject());
  auto open = [&] {
    Brenno::OpenProjectAsCurrent(wfile);
    if (CountNetworks(Brenno::CurrentProject()) != networks) Fail("the opened project lost networks");
  };
  std::vector<uint8_t> read;
  const double openCold = Best(repetitions, [&] { DropFromCache(file); }, open);
  const double rawReadCold = Best(repetitions, [&] { DropFromCache(raw); }, [&] { RawRead(raw, read); });
  const double openWarm = Best(repetitions, [] {}, open);
  const double rawReadWarm = Best(repetitions, [] {}, [&] { RawRead(raw, read); });
  if (read != bytes) Fail("the raw read differs");
  const double decode = OpenTime(env, bytes, repetitions);
  Brenno::SaveProjectFile(wfile);
  std::vector<uint8_t> again;
  RawRead(file, again);
  if (again != bytes) Fail("open and save changed the file");

  std::printf("%s: %d networks, %.1f MB\n", title, networks, static_cast<double>(bytes.size()) / 1e6);
  std::printf("  save            %8.1f ms   raw write+fsync %8.1f ms   ratio %5.2fx   (encoding alone %6.1f ms)\n",
              save * 1e3, rawWrite * 1e3, save / rawWrite, encode * 1e3);
  std::printf("  open, uncached  %8.1f ms   raw read        %8.1f ms   ratio %5.2fx   (decoding alone %6.1f ms)\n",
              openCold * 1e3, rawReadCold * 1e3, openCold / rawReadCold, decode * 1e3);
  std::printf("  open, cached    %8.1f ms   raw read        %8.1f ms   ratio %5.2fx\n", openWarm * 1e3,
              rawReadWarm * 1e3, openWarm / rawReadWarm);
  fs::remove(raw);
  fs::remove(file);
}

// The bytes of a new project whose main page holds these statement-list networks.
Brenno::StreamBytes MainPageFile(Brenno::AppEnvironment& env, std::vector<Brenno::Network> networks) {
  Brenno::NewProject();
  Brenno::Project& project = Brenno::CurrentProject();
  project.Program.ViewMode = Brenno::kViewModeStl;
  Brenno::ProgramPage& page = project.Program.GetProgramPage(0);
  page.UndoLog.Networks = std::move(networks);
  page.UndoLog.ClearHistory();
  return Brenno::BuildProjectFileBytes(project, env.PasswordTable1);
}

// `count` networks, each with one comment; the comments of a damaged file have bytes that are
// not code page 936 (FF 20).
std::vector<uint8_t> CommentsFile(Brenno::AppEnvironment& env, int count, bool damaged) {
  Brenno::Network network;
  network.Kind = Brenno::kNetworkStl;
  network.Comments = {L"~~~~"};
  Brenno::StreamBytes bytes = MainPageFile(env, std::vector<Brenno::Network>(static_cast<size_t>(count), network));
  if (damaged) {
    const std::string marker = std::string(":s\0\x04\0\0\0~~~~", 11);
    int patched = 0;
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), marker.begin(), marker.end())) != bytes.end();) {
      at += 7;
      at[0] = 0xFF;
      at[1] = 0x20;
      ++patched;
    }
    if (patched != count) Fail("the damaged file has " + std::to_string(patched) + " damaged comments");
  }
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// One network holding one statement-list line named by `length` times `letter`.
std::vector<uint8_t> LongNameFile(Brenno::AppEnvironment& env, int length, wchar_t letter) {
  Brenno::Network network;
  network.Kind = Brenno::kNetworkStl;
  Brenno::StlLine line;
  line.Mnemonic.assign(static_cast<size_t>(length), letter);
  network.Lines = {line};
  const Brenno::StreamBytes bytes = MainPageFile(env, {network});
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void MeasureEdges(Brenno::AppEnvironment& env, int repetitions) {
  env.Config.PlcName = kBenchType;
  std::printf("network comments that are not code page 936, beside sound ones:\n");
  for (const int count : {10000, 30000, 100000}) {
    const std::vector<uint8_t> damaged = CommentsFile(env, count, true);
    const std::vector<uint8_t> sound = CommentsFile(env, count, false);
    const double bad = OpenTime(env, damaged, repetitions);
    const double good = OpenTime(env, sound, repetitions);
    std::printf("  %6d comments, %5.2f MB   open %9.1f ms   sound %7.1f ms\n", count,
                static_cast<double>(damaged.size()) / 1e6, bad * 1e3, good * 1e3);
  }
  std::printf("an instruction name of \"#\" characters, beside one of letters:\n");
  for (const int length : {20000, 80000, 320000}) {
    const double hashes = OpenTime(env, LongNameFile(env, length, L'#'), repetitions);
    const double letters = OpenTime(env, LongNameFile(env, length, L'A'), repetitions);
    std::printf("  %6d characters   open %9.1f ms   letters %7.1f ms\n", length, hashes * 1e3, letters * 1e3);
  }
}

int Run(int argc, char** argv) {
  const fs::path shipped = argc > 1 ? fs::path(argv[1]) : fs::path(ORVISTO_DIST_DIR);
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string only = argc > 3 ? argv[3] : "";

  std::string folder = (fs::temp_directory_path() / "orvisto-file-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) Fail("cannot make a scratch folder");
  const fs::path scratch = folder;
  MakeProgramDirectory(shipped, scratch / "program");

  Brenno::AppEnvironment env;
  Brenno::LoadEnvironment(env, (scratch / "program").wstring());
  Brenno::InstallEnvironment(&env);
  Brenno::InstallCurrentProjectServices();

  for (const wchar_t* type : {kShippedType, kBenchType}) {
    if (only == "edges" || (only == "shipped" && type != kShippedType) || (only == "many" && type != kBenchType)) continue;
    env.Config.PlcName = type;
    Brenno::NewProject();
    Brenno::Project& project = Brenno::CurrentProject();
    const std::vector<Brenno::Network> pool = MakeNetworkPool(project.Instructions);
    const bool many = type == kBenchType;
    FillProject(project, pool, many ? kManyNetworks : 0);
    Measure(many ? "100,000 networks on a test type" : "largest project of the shipped type", env, scratch,
            repetitions);
  }
  if (only.empty() || only == "edges") MeasureEdges(env, repetitions);

  Brenno::InstallProgramServices(nullptr);
  Brenno::InstallEnvironment(nullptr);
  fs::remove_all(scratch);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return benchfiles::Main("project_file_bench", [&] { return Run(argc, argv); });
}
