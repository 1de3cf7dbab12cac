#include "core/project/project_file.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <map>

#include "core/project/project_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/plc_type.h"
#include "core/program/ladder_metrics.h"
#include "core/project/program_stream.h"
#include "core/project/project_list.h"
#include "core/project/project_reset.h"
#include "core/project/stream_text_places.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace Brenno {

namespace {

enum class FileVersion { V10, V11, V12 };

ProjectEnvironment& Environment() {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr) throw ExceptionLogicError();
  return *environment;
}

StreamRecords SplitRecordValue(StreamBuffer buffer, const StreamRecordRef& record) {
  StreamRecords records;
  SplitStreamRecords(buffer, record.ValueOffset, record.EndOffset, records);
  return records;
}

template <class Table, class Decode>
void ReadSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records, Table& target,
                 Decode decode) {
  const StreamRecordRef& record = RequireStreamRecord(buffer, records, key);
  decode(buffer, record.ValueOffset, record.EndOffset, target);
}

template <class Row>
void AdoptLegacyPages(PagedTable<Row>& table, std::map<int, std::vector<Row>>& entries) {
  for (auto& [key, rows] : entries) AdoptLegacyTablePage(table, key, std::move(rows));
}

// Builds the working units of one block table from version-1.0 units, titles and locals.
void AdoptLegacyUnits(BlockTable& table, std::map<int, LegacyProgramUnit>& units,
                      const std::map<int, PageTitles>& titles, std::map<int, std::vector<VarEntry>>& locals) {
  for (auto& [key, unit] : units) {
    const auto title = titles.find(key);
    const auto local = locals.find(key);
    if (title == titles.end() || local == locals.end()) {
      ThrowStreamError(PickText(L"a program unit has no titles or no local variables: key ",
                                L"程序单元缺少标题或局部变量: 键 ") +
                       std::to_wstring(key));
    }
    BlockRecord record;
    ProgramPage::Create(record.Page);
    record.Page.UndoLog.Networks = std::move(unit.Networks);
    record.Page.UndoLog.Steps.clear();
    record.Page.UndoLog.Position = 0;
    record.Page.LocalVars = local->second;
    record.Name = title->second.Name;
    record.Address = title->second.Address;
    record.Comment = title->second.Comment;
    if (table.HasReferencePage(key)) table.Working.insert_or_assign(key, std::move(record));
  }
}

FileVersion ParseVersion(const std::wstring& marker) {
  if (marker == kProjectFileVersion10) return FileVersion::V10;
  if (marker == kProjectFileVersion11) return FileVersion::V11;
  if (marker == kProjectFileVersion12) return FileVersion::V12;
  throw ExceptionInitFileVerError();
}

// What selecting the file's PLC type changes outside the newest project, to be put back when
// the open fails.
class TypeSelectionGuard {
 public:
  explicit TypeSelectionGuard(ProjectEnvironment& environment)
      : environment_(environment), plcName_(environment.Config.PlcName) {
    if (environment.ProjectList.size() >= 2) {
      previousType_ = std::prev(environment.ProjectList.end(), 2)->Type;
    }
  }
  ~TypeSelectionGuard() {
    if (committed_) return;
    environment_.Config.PlcName = plcName_;
    if (previousType_ != nullptr) SetLadderMetrics(environment_.Config.ViewZoom, previousType_->IsFxMode());
  }
  void Commit() { committed_ = true; }

 private:
  ProjectEnvironment& environment_;
  std::wstring plcName_;
  const PlcType* previousType_ = nullptr;
  bool committed_ = false;
};

// Why a system call on a file failed, in the user's language where the reason is a common one.
std::wstring SystemErrorText(int number) {
  switch (number) {
    case ENOSPC:
      return PickText(L"The disk is full", L"磁盘已满");
    case EDQUOT:
      return PickText(L"The disk quota is used up", L"磁盘配额已用完");
    case EFBIG:
      return PickText(L"The file is larger than the system allows", L"文件大小超出系统限制");
    case EACCES:
    case EPERM:
      return PickText(L"Access is denied", L"拒绝访问");
    case EROFS:
      return PickText(L"The file system is read-only", L"文件系统为只读");
    case ENOENT:
    case ENOTDIR:
      return PickText(L"The folder does not exist", L"文件夹不存在");
    case ELOOP:
      return PickText(L"Too many symbolic links", L"符号链接过多");
    case EIO:
      return PickText(L"The disk reports an input/output error", L"磁盘输入/输出错误");
    default:
      return platform::FromUtf8Lossy(std::strerror(number));
  }
}

template <class Bytes>
void ReadProjectFileBytes(Bytes& bytes, const std::wstring& path) {
  std::wstring reason;
  Bytes read;
  switch (platform::ReadFileBytesUpTo(path, kProjectFileMaxSize, read, &reason)) {
    case platform::ReadFileResult::Ok:
      break;
    case platform::ReadFileResult::Failed:
      ThrowStreamError(reason);
    case platform::ReadFileResult::TooLarge:
      ThrowStreamError(path + PickText(L": the file is larger than any project file (more than ",
                                       L": 文件大于任何项目文件 (超过 ") +
                       std::to_wstring(kProjectFileMaxSize) + PickText(L" bytes)", L" 字节)"));
  }
  if (read.empty()) ThrowStreamError(path + PickText(L": the file is empty", L": 文件为空"));
  bytes.swap(read);
}

}  // namespace

// ---------------------------------------------------------------- whole files

void ReadWholeFile(std::vector<uint8_t>& bytes, const std::wstring& path) { ReadProjectFileBytes(bytes, path); }

void ReadWholeFile(platform::FileBytes& bytes, const std::wstring& path) { ReadProjectFileBytes(bytes, path); }

void WriteWholeFile(const std::vector<uint8_t>& bytes, const std::wstring& path) {
  if (bytes.empty()) ThrowStreamError(path + PickText(L": nothing to write", L": 没有要写入的内容"));
  platform::FileWriteFailure failure;
  if (!platform::WriteFileBytes(path, bytes.data(), bytes.size(), failure)) ThrowFileWriteError(path, failure);
}

void ThrowFileWriteError(const std::wstring& path, const platform::FileWriteFailure& failure) {
  std::wstring detail = PickText(L"Write file error : \"", L"写文件错误 : \"") + path + L"\"\r\n  ";
  switch (failure.What) {
    case platform::FileWriteFailure::ReadOnly:
      detail += PickText(L"The file is read-only", L"文件为只读");
      break;
    case platform::FileWriteFailure::NotAFile:
      detail += PickText(L"It is not a regular file", L"不是普通文件");
      break;
    default:
      detail += SystemErrorText(failure.Errno);
      break;
  }
  if (failure.What == platform::FileWriteFailure::InPlaceIncomplete) {
    detail += PickText(L"\r\n  The file may be incomplete; its whole new content is in \"",
                       L"\r\n  文件可能不完整，完整的新内容保存在 \"") +
              failure.KeptCopy + L"\"";
  }
  const std::wstring earlier = KeptCopiesNotice(path, failure.KeptCopy);
  if (!earlier.empty()) detail += L"\r\n\r\n" + earlier;
  ThrowStreamError(detail);
}

std::wstring KeptCopiesNotice(const std::wstring& path, const std::wstring& leaveOut) {
  std::wstring list;
  for (const std::wstring& copy : platform::KeptCopiesBeside(path)) {
    if (copy != leaveOut) list += L"\r\n  \"" + copy + L"\"";
  }
  if (list.empty()) return {};
  return PickText(L"A save of \"", L"保存 \"") + path +
         PickText(L"\" stopped part-way and left a whole copy of the content it was writing beside it:",
                  L"\" 时曾中途停止，旁边留有当时正在写入的完整内容的副本：") +
         list +
         PickText(L"\r\nThe file may not hold that content. Keep what you need of the copy, then move or delete "
                  L"it; until then this is said whenever the file is opened or saved.",
                  L"\r\n该文件可能没有这些内容。请保留副本中需要的内容，然后移走或删除副本；在此之前，每次打开或保存该文件时都会显示此提示。");
}

// ---------------------------------------------------------------- sections

void ReadSymbolVarSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records, SymbolTable& table) {
  ReadSection(key, buffer, records, table, DecodeSymbolTable);
}

void ReadDataBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          DataBlockTable& table) {
  ReadSection(key, buffer, records, table, DecodeDataBlockTable);
}

void ReadSystemBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                            SystemBlockTable& table) {
  ReadSection(key, buffer, records, table, DecodeSystemBlockTable);
}

void ReadProgramBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                             ProgramBlock& program) {
  ReadSection(key, buffer, records, program, DecodeProgramBlock);
}

void ReadStatusChartSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records, StatusChart& chart) {
  ReadSection(key, buffer, records, chart, DecodeStatusChartTable);
}

void WriteSymbolVarSection(StreamBytes& bytes, std::string_view key, const SymbolTable& table) {
  EncodeStructField(bytes, key, table, EncodeSymbolTable);
}

void WriteDataBlockSection(StreamBytes& bytes, std::string_view key, const DataBlockTable& table) {
  EncodeStructField(bytes, key, table, EncodeDataBlockTable);
}

void WriteSystemBlockSection(StreamBytes& bytes, std::string_view key, const SystemBlockTable& table) {
  EncodeStructField(bytes, key, table, EncodeSystemBlockTable);
}

void WriteProgramBlockSection(StreamBytes& bytes, std::string_view key, const ProgramBlock& program) {
  EncodeStructField(bytes, key, program, EncodeProgramBlock);
}

void WriteStatusChartSection(StreamBytes& bytes, std::string_view key, const StatusChart& chart) {
  EncodeStructField(bytes, key, chart, EncodeStatusChartTable);
}

// ---------------------------------------------------------------- version 1.0

void ReadLegacySymbolTable(StreamBuffer buffer, const StreamRecords& records, SymbolTable& table) {
  const StreamRecords fields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kSymbolVarKey));
  std::map<int, std::vector<VarEntry>> pages;
  DecodeLegacyVarEntryMap(pages, "#1", fields, buffer);
  AdoptLegacyPages(table, pages);
}

void ReadLegacyDataBlocks(StreamBuffer buffer, const StreamRecords& records, DataBlockTable& table) {
  const StreamRecords fields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kDataBlockKey));
  std::map<int, std::vector<DataRow>> pages;
  DecodeLegacyDataRowMap(pages, "#1", fields, buffer);
  AdoptLegacyPages(table, pages);
}

void ReadLegacySystemBlocks(StreamBuffer buffer, const StreamRecords& records, SystemBlockTable& table) {
  const StreamRecords fields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kSystemBlockKey));
  std::map<int, std::vector<uint8_t>> pages;
  DecodeLegacyByteMap(pages, "#1", fields, buffer);
  AdoptLegacyPages(table, pages);
}

void ReadLegacyStatusChart(StreamBuffer buffer, const StreamRecords& records, StatusChart& chart) {
  const StreamRecords fields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kStatusChartKey));
  std::map<int, std::vector<StatusRow>> pages;
  DecodeLegacyStatusRowMap(pages, "#1", fields, buffer);
  for (auto& [key, rows] : pages) AdoptLegacyChartPage(chart, key, std::move(rows));
}

void ReadLegacyProgramBlock(StreamBuffer buffer, const StreamRecords& records, ProgramBlock& program) {
  const StreamRecords titleFields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kSymbolFunKey));
  std::map<int, PageTitles> interruptTitles;
  std::map<int, PageTitles> subroutineTitles;
  DecodeLegacyTitlesMap(interruptTitles, "#1", titleFields, buffer);
  DecodeLegacyTitlesMap(subroutineTitles, "#2", titleFields, buffer);

  const StreamRecords symbolFields = SplitRecordValue(buffer, RequireStreamRecord(buffer, records, kSymbolVarKey));
  std::map<int, std::vector<VarEntry>> interruptLocals;
  std::map<int, std::vector<VarEntry>> subroutineLocals;
  DecodeLegacyVarEntryMap(interruptLocals, "#2", symbolFields, buffer);
  DecodeLegacyVarEntryMap(subroutineLocals, "#3", symbolFields, buffer);

  const StreamRecordRef& programRecord = RequireStreamRecord(buffer, records, kProgramBlockKey);
  LegacyProgramBlock legacy;
  DecodeLegacyProgramBlock(buffer, programRecord.ValueOffset, programRecord.EndOffset, legacy);

  program.ViewMode = legacy.ViewMode;
  AdoptLegacyUnits(program.InterruptTable, legacy.Interrupts, interruptTitles, interruptLocals);
  AdoptLegacyUnits(program.SubroutineTable, legacy.Subroutines, subroutineTitles, subroutineLocals);
}

// ---------------------------------------------------------------- open and save

ProjectOpenNotes OpenProjectFile(const std::wstring& path) {
  Environment();
  CurrentProject();
  platform::FileBytes bytes;
  ReadWholeFile(bytes, path);
  return OpenProjectBytes(bytes);
}

ProjectOpenNotes OpenProjectBytes(StreamBuffer buffer) {
  ProjectEnvironment& environment = Environment();
  Project& project = CurrentProject();

  StreamRecords records;
  SplitStreamRecords(buffer, records);
  // A text whose bytes are not valid code page 936 costs only that text: it is read as empty
  // and the user is told where it was.
  StreamTextCollector badTexts;

  std::wstring marker;
  DecodeStringField(kFileVerKey, buffer, records, marker);
  const FileVersion version = ParseVersion(marker);
  std::wstring typeName;
  DecodeStringField(kPlcTypeKey, buffer, records, typeName);

  TypeSelectionGuard guard(environment);
  if (!SelectPlcType(environment, typeName)) throw ExceptionInitPlcTypeError();
  ResetProjectForType(project);

  std::vector<uint8_t> passwords;
  if (version == FileVersion::V10) {
    ReadLegacySymbolTable(buffer, records, project.Symbols);
    ReadLegacyDataBlocks(buffer, records, project.DataBlocks);
    ReadLegacySystemBlocks(buffer, records, project.SystemBlocks);
    ReadLegacyProgramBlock(buffer, records, project.Program);
    ReadLegacyStatusChart(buffer, records, project.StatusChart);
  } else {
    ReadSymbolVarSection(kSymbolVarKey, buffer, records, project.Symbols);
    ReadDataBlockSection(kDataBlockKey, buffer, records, project.DataBlocks);
    ReadSystemBlockSection(kSystemBlockKey, buffer, records, project.SystemBlocks);
    ReadProgramBlockSection(kProgramBlockKey, buffer, records, project.Program);
    ReadStatusChartSection(kStatusChartKey, buffer, records, project.StatusChart);
    if (version == FileVersion::V12) ReadByteRecords(passwords, kPasswordKey, records, buffer);
  }

  // A file this version saved holds its program and data as the type wants them; walking them
  // again would only cost time.
  int32_t typeLevel = 0;
  if (const StreamRecordRef* level = FindRecord(buffer, records, kTypeLevelKey)) {
    try {
      DecodeIntValue(buffer, level->ValueOffset, level->EndOffset, typeLevel);
    } catch (const ExceptionError&) {
      typeLevel = 0;  // a mark that does not read promises nothing
    }
  }
  ProjectOpenNotes notes;
  notes.Cuts = NormalizeProjectForType(project, version != FileVersion::V10 && typeLevel >= kProjectTypeLevel);
  notes.EmptiedTexts = DescribeCollectedTexts(buffer, badTexts, [&](const std::vector<StreamPathStep>& path) {
    return DescribeProjectTextPlace(project, version == FileVersion::V10, path);
  });

  // Everything read: now the password table. A version-1.2 file defines the whole table: bytes
  // without a record become 0, records beyond the table are ignored.
  if (version == FileVersion::V12) {
    environment.PasswordTable1.fill(0);
    for (size_t i = 0; i < passwords.size() && i < kUnitPasswordTableSize; ++i) environment.PasswordTable1[i] = passwords[i];
  }
  guard.Commit();
  return notes;
}

ProjectOpenNotes OpenProjectAsCurrent(const std::wstring& path) {
  ProjectEnvironment& environment = Environment();
  environment.ProjectList.emplace_back();
  ProjectOpenNotes notes;
  try {
    notes = OpenProjectFile(path);
  } catch (...) {
    environment.ProjectList.pop_back();
    throw;
  }
  while (environment.ProjectList.size() > 1) DropOldestProject();
  return notes;
}

StreamBytes BuildProjectFileBytes(const Project& project, const std::array<uint8_t, kUnitPasswordTableSize>& passwords,
                                  size_t expectedSize) {
  if (project.Type == nullptr) throw ExceptionLogicError();
  return BuildStreamNamingUnstorableTexts(
      [&] {
        StreamBytes bytes;
        platform::ReserveLargeBuffer(bytes, expectedSize);
        EncodeStringField(bytes, kFileVerKey, kProjectFileVersion12);
        EncodeStringField(bytes, kPlcTypeKey, project.Type->Name());
        WriteSymbolVarSection(bytes, kSymbolVarKey, project.Symbols);
        WriteDataBlockSection(bytes, kDataBlockKey, project.DataBlocks);
        WriteSystemBlockSection(bytes, kSystemBlockKey, project.SystemBlocks);
        WriteProgramBlockSection(bytes, kProgramBlockKey, project.Program);
        WriteStatusChartSection(bytes, kStatusChartKey, project.StatusChart);
        WriteByteRecords(bytes, kPasswordKey, passwords);
        EncodeIntField(bytes, kTypeLevelKey, kProjectTypeLevel);
        return bytes;
      },
      [&](const std::vector<StreamPathStep>& path) { return DescribeProjectTextPlace(project, false, path); });
}

void SaveProjectFile(const std::wstring& path) {
  // The file being replaced is most often the last save of the same project: its size, with a
  // little more for what was added since, is room enough for the new bytes.
  uint64_t oldSize = 0;
  size_t expected = 0;
  if (platform::FileSize(path, oldSize) && oldSize <= kProjectFileMaxSize) {
    expected = static_cast<size_t>(oldSize + oldSize / 16);
  }
  const StreamBytes bytes = BuildProjectFileBytes(CurrentProject(), Environment().PasswordTable1, expected);
  WriteWholeFile(bytes, path);
}

}  // namespace Brenno
