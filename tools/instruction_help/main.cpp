// instruction_help CATALOG_FOLDER OUTPUT_FOLDER
//
// Writes the instruction reference of the HTML help from a catalog folder ("Orvisto", one folder
// per PLC type): for each language (OUTPUT_FOLDER/en and OUTPUT_FOLDER/zh) a page
// "instructions.html" that lists the PLC types, and for each type a page
// "instructions_<type>.html" with its ladder instruction catalog (groups, instructions, their
// variants with operands, the descriptions and comments) and its statement-list instructions.
// Every type folder that holds a "PlcType.xml" is read, whatever the catalog holds; the pages are
// written only when every type was read, so a broken catalog leaves the old pages in place.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/env/data_type.h"
#include "core/env/exception_error.h"
#include "core/env/instruction_library.h"
#include "core/env/language.h"
#include "core/env/manager_var_reader.h"
#include "core/env/memory_area_manager.h"
#include "core/env/operand_format.h"
#include "core/env/plc_type.h"
#include "platform/text_codec.h"

namespace {

namespace fs = std::filesystem;
using namespace Brenno;

// One PLC type read in one language.
struct TypePages {
  std::wstring Name;
  std::wstring Information;
  InstructionLibrary Library;
  MemoryAreaManager Memory;
};

struct Language {
  int Code;
  const char* Folder;
  const char* Other;  // the folder of the other language
};
constexpr Language kLanguages[] = {{kLanguageEnglish, "en", "zh"}, {kLanguageChinese, "zh", "en"}};

std::string Html(const std::wstring& text) {
  std::string out;
  for (char c : platform::ToUtf8Lossy(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Text(int language, const char* english, const char* chinese) {
  return language == kLanguageChinese ? chinese : english;
}

// A file name part made of the type's name: letters, digits, "-" and "_" kept, the rest "_".
std::string FilePart(const std::wstring& name) {
  std::string out;
  for (wchar_t c : name) {
    const bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
                       c == L'_';
    out += plain ? static_cast<char>(c) : '_';
  }
  return out;
}

// A group's or instruction's anchor inside its page.
std::string Anchor(const char* kind, size_t index) { return std::string(kind) + std::to_string(index); }

// The operands an operand slot admits: the regions of the type that fit its format ("IB", "&VB",
// "*VD"), then "constant" when a constant is admitted.
std::string Admitted(const OperandDef& operand, const TypePages& type, int language) {
  std::vector<std::wstring> forms;
  try {
    std::vector<OperandCandidate> candidates;
    CollectOperandCandidates(operand.Capacity, type.Memory, candidates);
    for (const OperandCandidate& candidate : candidates) {
      if (candidate.region->Area == kAreaConst) continue;
      const std::wstring name = candidate.region->Name + candidate.access->Name;
      auto add = [&](const std::wstring& form) {
        if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
      };
      if ((candidate.flags & kKindValue) != 0) add(name);
      if ((candidate.flags & kKindAddress) != 0) add(L"&" + name);
      if ((candidate.flags & kKindPointer) != 0) add(L"*" + name);
    }
    const bool constant = (ParseOperandFormatFlags(operand.Capacity) & kFormatConstant) != 0;
    std::string out;
    for (const std::wstring& form : forms) out += (out.empty() ? "" : ", ") + Html(form);
    if (constant) out += (out.empty() ? "" : ", ") + Text(language, "constant", "常数");
    return out;
  } catch (const ExceptionError&) {
    return Html(operand.Capacity);  // a format the reader cannot take apart is shown as it stands
  }
}

void OperandRows(std::ostream& out, const std::vector<OperandDef>& operands, const char* role, const TypePages& type,
                 int language) {
  for (const OperandDef& operand : operands) {
    out << "<tr><td><code>" << Html(operand.Name) << "</code></td><td>" << role << "</td><td>"
        << Html(DataTypeWord(operand.Const)) << "</td><td>" << Admitted(operand, type, language) << "</td></tr>\n";
  }
}

void PageHead(std::ostream& out, const std::string& title, const std::string& otherPage, int language) {
  out << "<!DOCTYPE html>\n<html lang=\"" << Text(language, "en", "zh-CN") << "\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<title>" << title << "</title>\n<link rel=\"stylesheet\" href=\"../style.css\">\n</head>\n<body>\n"
      << "<nav><a href=\"index.html\">" << Text(language, "Contents", "目录") << "</a> · <a href=\"instructions.html\">"
      << Text(language, "Instruction reference", "指令参考") << "</a> · <a href=\"" << otherPage << "\">"
      << Text(language, "中文", "English") << "</a></nav>\n";
}

void WriteTypePage(std::ostream& out, const TypePages& type, const Language& language, const std::string& file) {
  const int lang = language.Code;
  const std::string title = Html(type.Name) + " — " + Text(lang, "Instruction reference", "指令参考");
  PageHead(out, title, std::string("../") + language.Other + "/" + file, lang);
  out << "<h1>" << title << "</h1>\n<p>" << Html(type.Information) << "</p>\n";

  const InstructionLibrary& library = type.Library;
  out << "<h2>" << Text(lang, "Ladder instructions", "梯形图指令") << "</h2>\n<ul class=\"toc\">\n";
  for (size_t g = 0; g < library.LadInstructionCatalog.size(); ++g) {
    out << "<li><a href=\"#" << Anchor("group", g) << "\">" << Html(library.LadInstructionCatalog[g].Name)
        << "</a></li>\n";
  }
  out << "</ul>\n";
  size_t itemIndex = 0;
  for (size_t g = 0; g < library.LadInstructionCatalog.size(); ++g) {
    const LadInstructionGroup& group = library.LadInstructionCatalog[g];
    out << "<h3 id=\"" << Anchor("group", g) << "\">" << Html(group.Name) << "</h3>\n";
    for (const LadInstructionItem& item : group.Items) {
      out << "<div class=\"instruction\" id=\"" << Anchor("item", itemIndex++) << "\">\n<h4>" << Html(item.Name)
          << "</h4>\n";
      if (!item.Description.empty()) out << "<p>" << Html(item.Description) << "</p>\n";
      for (const LadInstructionVariant& variant : item.Variants) {
        if (variant.Definition < 0 || variant.Definition >= static_cast<int>(library.FunLadList.size())) continue;
        const FunLadRecord& def = library.FunLadList[variant.Definition];
        out << "<p class=\"variant\"><code>" << Html(def.Name) << "</code>";
        if (!def.Comment.empty() && def.Comment != item.Description) out << " — " << Html(def.Comment);
        out << "</p>\n";
        if (def.OperandCount() == 0) continue;
        out << "<table><tr><th>" << Text(lang, "Operand", "操作数") << "</th><th>" << Text(lang, "Role", "作用")
            << "</th><th>" << Text(lang, "Data type", "数据类型") << "</th><th>"
            << Text(lang, "Admits", "允许的操作数") << "</th></tr>\n";
        OperandRows(out, def.OperandId, Text(lang, "name", "名称").c_str(), type, lang);
        OperandRows(out, def.OperandIn, Text(lang, "input", "输入").c_str(), type, lang);
        OperandRows(out, def.OperandOut, Text(lang, "output", "输出").c_str(), type, lang);
        out << "</table>\n";
      }
      out << "</div>\n";
    }
  }

  out << "<h2>" << Text(lang, "Statement-list instructions", "语句表指令") << "</h2>\n";
  for (const std::wstring& group : library.FunStlGroups) {
    out << "<h3>" << Html(group) << "</h3>\n<table><tr><th>" << Text(lang, "Instruction", "指令") << "</th><th>"
        << Text(lang, "Operands", "操作数") << "</th><th>" << Text(lang, "Description", "说明") << "</th></tr>\n";
    for (const FunStlRecord& record : library.FunStlList) {
      if (record.Parent != group) continue;
      std::string operands;
      for (const OperandDef& operand : record.Operands) {
        operands += (operands.empty() ? "" : ", ") + Html(operand.Name) + " (" + Html(DataTypeWord(operand.Const)) + ")";
      }
      out << "<tr><td><code>" << Html(record.Name) << "</code></td><td>" << operands << "</td><td>"
          << Html(record.Comment) << "</td></tr>\n";
    }
    out << "</table>\n";
  }
  out << "</body>\n</html>\n";
}

void WriteIndex(std::ostream& out, const std::vector<TypePages>& types, const Language& language) {
  const int lang = language.Code;
  PageHead(out, Text(lang, "Instruction reference", "指令参考"), std::string("../") + language.Other + "/instructions.html",
           lang);
  out << "<h1>" << Text(lang, "Instruction reference", "指令参考") << "</h1>\n<p>"
      << Text(lang, "The instructions of each PLC type, as its instruction library defines them.",
              "各PLC类型的指令,按其指令库的定义。")
      << "</p>\n<ul>\n";
  for (const TypePages& type : types) {
    out << "<li><a href=\"instructions_" << FilePart(type.Name) << ".html\">" << Html(type.Name) << "</a> — "
        << Html(type.Information) << "</li>\n";
  }
  out << "</ul>\n</body>\n</html>\n";
}

// Reads every type folder of the catalog in the language, in the order of the folder names.
std::vector<TypePages> ReadCatalog(const fs::path& catalog, int language) {
  SetCurrentLanguage(language);
  std::vector<fs::path> folders;
  for (const fs::directory_entry& entry : fs::directory_iterator(catalog)) {
    if (entry.is_directory() && fs::exists(entry.path() / "PlcType.xml")) folders.push_back(entry.path());
  }
  std::sort(folders.begin(), folders.end());
  std::vector<TypePages> types;
  for (const fs::path& folder : folders) {
    PlcType record;
    ReadPlcTypeDescription(record, (folder / "PlcType.xml").wstring());
    TypePages type;
    type.Name = record.Name().empty() ? folder.filename().wstring() : record.Name();
    type.Information = record.Description.Information;
    ReadManagerFun(type.Library, (folder / "ManagerFun.xml").wstring(), 0);
    ReadManagerVar(type.Memory, (folder / "ManagerVar.xml").wstring());
    types.push_back(std::move(type));
  }
  return types;
}

// Writes the text to the file through a temporary beside it, so that a page is whole or old.
bool WriteFile(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file.good()) return false;
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: instruction_help CATALOG_FOLDER OUTPUT_FOLDER\n");
    return 2;
  }
  const fs::path catalog = argv[1];
  const fs::path output = argv[2];
  // Everything is read before anything is written.
  std::vector<std::pair<fs::path, std::string>> pages;
  try {
    for (const Language& language : kLanguages) {
      const std::vector<TypePages> types = ReadCatalog(catalog, language.Code);
      const fs::path folder = output / language.Folder;
      std::ostringstream index;
      WriteIndex(index, types, language);
      pages.emplace_back(folder / "instructions.html", index.str());
      for (const TypePages& type : types) {
        const std::string file = "instructions_" + FilePart(type.Name) + ".html";
        std::ostringstream page;
        WriteTypePage(page, type, language, file);
        pages.emplace_back(folder / file, page.str());
      }
    }
  } catch (const ExceptionError& error) {
    std::fprintf(stderr, "instruction_help: %s\n", platform::ToUtf8Lossy(error.Message()).c_str());
    return 1;
  } catch (const fs::filesystem_error& error) {
    std::fprintf(stderr, "instruction_help: %s\n", error.what());
    return 1;
  }
  for (const auto& [path, text] : pages) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error || !WriteFile(path, text)) {
      std::fprintf(stderr, "instruction_help: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
