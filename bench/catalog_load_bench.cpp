// Loads a PLC type's description, instruction library and memory-area library and compares the
// time with what expat alone needs to parse the same files. The instruction library is the
// fixture of type TypeA grown to several hundred instructions.
//
//   catalog_load_bench [repetitions]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <expat.h>
#include <string>
#include <vector>

#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "core/env/plc_type.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace {

std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(platform::FromUtf8Lossy(path), bytes)) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  return std::string(bytes.begin(), bytes.end());
}

// Repeats the statement-list and ladder definitions under new names until the library holds
// `target` statement-list instructions.
std::string GrowInstructionLibrary(const std::string& xml, int target) {
  auto section = [&](const std::string& open, const std::string& close) {
    const size_t a = xml.find(open) + open.size();
    const size_t b = xml.find(close);
    return std::make_pair(a, b);
  };
  auto [stlBegin, stlEnd] = section("<FunStl>", "</FunStl>");
  auto [ladBegin, ladEnd] = section("<FunLad>", "</FunLad>");
  const std::string stl = xml.substr(stlBegin, stlEnd - stlBegin);
  const std::string lad = xml.substr(ladBegin, ladEnd - ladBegin);
  // Renames every unit (and ladder keyword) so the copies are distinct definitions.
  auto renamed = [](std::string text, const std::string& attribute, const std::string& prefix, int* count) {
    const std::string key = " " + attribute + "=\"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
      if (text.rfind("<Unit", at) <= text.rfind(">", at) && text.rfind(">", at) != std::string::npos) continue;
      text.insert(at + key.size(), prefix);
      if (count) ++*count;
    }
    return text;
  };
  std::string moreStl, moreLad;
  int count = 0;
  for (int copy = 1; count < target; ++copy) {
    const std::string prefix = "X" + std::to_string(copy) + "_";
    moreStl += renamed(stl, "Name", prefix, &count);
    moreLad += renamed(renamed(lad, "Name", prefix, nullptr), "Keyword", prefix, nullptr);
  }
  std::string grown = xml;
  grown.insert(ladEnd, moreLad);
  grown.insert(stlEnd, moreStl);
  return grown;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void ParseWithExpatOnly(const std::string& xml) {
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, [](void*, const XML_Char*, const XML_Char**) {}, [](void*, const XML_Char*) {});
  if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_ERROR) {
    std::fprintf(stderr, "expat: %s\n", XML_ErrorString(XML_GetErrorCode(parser)));
    std::exit(1);
  }
  XML_ParserFree(parser);
}

}  // namespace

int Run(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::atoi(argv[1]) : 20;
  const std::string fixtures = std::string(ORVISTO_FIXTURES_DIR) + "/catalog/Orvisto/TypeA/";
  const std::string fun = GrowInstructionLibrary(ReadText(fixtures + "ManagerFun.xml"), 600);
  const std::string var = ReadText(fixtures + "ManagerVar.xml");
  const std::string type = ReadText(fixtures + "PlcType.xml");

  char folder[] = "/tmp/orvisto-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) return 1;
  const std::wstring dir = platform::FromUtf8Lossy(folder);
  platform::WriteFileBytes(dir + L"/ManagerFun.xml", fun.data(), fun.size());
  platform::WriteFileBytes(dir + L"/ManagerVar.xml", var.data(), var.size());
  platform::WriteFileBytes(dir + L"/PlcType.xml", type.data(), type.size());

  size_t instructions = 0;
  const auto loadStart = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) {
    Brenno::PlcType record;
    const std::vector<uint8_t> bytes = Brenno::ReadXmlFileBytes(dir + L"/PlcType.xml");
    Brenno::ParseXmlBuffer(record.ParseArea, dir + L"/PlcType.xml", bytes.data(), bytes.size(), &record,
                           &Brenno::PlcType::PlcTypeStartElement, &Brenno::PlcType::PlcTypeEndElement);
    Brenno::ReadManagerFun(record.Instructions, dir + L"/ManagerFun.xml", 16);
    Brenno::ReadManagerVar(record.MemoryAreas, dir + L"/ManagerVar.xml");
    instructions = record.Instructions.FunStlList.size();
  }
  const double load = Seconds(std::chrono::steady_clock::now() - loadStart) / repetitions;

  const auto parseStart = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) {
    // Read the files from disk as the loader does, then parse them with no-op handlers.
    for (const wchar_t* name : {L"/PlcType.xml", L"/ManagerFun.xml", L"/ManagerVar.xml"}) {
      std::vector<uint8_t> bytes;
      platform::ReadFileBytes(dir + name, bytes);
      ParseWithExpatOnly(std::string(bytes.begin(), bytes.end()));
    }
  }
  const double parse = Seconds(std::chrono::steady_clock::now() - parseStart) / repetitions;

  std::printf("instruction library: %zu statement-list instructions, %zu bytes\n", instructions, fun.size());
  std::printf("load of one type:    %.3f ms\n", load * 1000);
  std::printf("expat parse alone:   %.3f ms\n", parse * 1000);
  std::printf("ratio:               %.2fx\n", load / parse);
  for (const wchar_t* name : {L"/PlcType.xml", L"/ManagerFun.xml", L"/ManagerVar.xml"}) {
    std::remove(platform::ToUtf8Lossy(dir + name).c_str());
  }
  std::remove(folder);
  return 0;
}

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const Brenno::ExceptionError& e) {
    std::fprintf(stderr, "%s\n", platform::ToUtf8Lossy(e.Message()).c_str());
    return 1;
  }
}
