// The project file (*.lqw): one tagged stream of top-level records. Saving always writes
// version 1.2:
//   "FileVer" "MERIDAX-POLVENT 1.2", "PlcType" the type name, "SymbolVar", "DataBlock",
//   "SystemBlock", "ProgramBlock", "StatusChart" (the working pages of the tables and the
//   program), then 128 "Password" records, one ":b" byte each: the unit password table, and
//   "TypeLevel" (see kTypeLevelKey).
// Opening reads versions 1.0, 1.1 and 1.2 and refuses every other marker. Top-level records are
// found by key wherever they stand (the first of a key counts; every "Password" counts);
// unknown keys are ignored. Everything that follows from the PLC type (reference pages, limits,
// libraries) is rebuilt from the type, not read.
//
// Opening writes only into the newest project of the environment's project list and, for
// version 1.2, into the unit password table once everything else succeeded. A failed open
// leaves the password table, the configured PLC type name and the ladder metrics as they were;
// the caller drops the newest project (OpenProjectAsCurrent does all of it). Saving builds the
// whole file in memory and replaces the old file only once the new one is complete.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/program/program_block.h"
#include "core/project/project.h"
#include "core/project/project_reset.h"
#include "core/project/stream_text_places.h"
#include "core/project/table_stream.h"
#include "core/project/tagged_stream.h"
#include "platform/file_util.h"

namespace Brenno {

inline constexpr wchar_t kProjectFileVersion10[] = L"MERIDAX-POLVENT 1.0";
inline constexpr wchar_t kProjectFileVersion11[] = L"MERIDAX-POLVENT 1.1";
inline constexpr wchar_t kProjectFileVersion12[] = L"MERIDAX-POLVENT 1.2";
inline constexpr size_t kUnitPasswordTableSize = 128;

// Top-level keys.
inline constexpr std::string_view kFileVerKey = "FileVer";
inline constexpr std::string_view kPlcTypeKey = "PlcType";
inline constexpr std::string_view kSymbolVarKey = "SymbolVar";
inline constexpr std::string_view kSymbolFunKey = "SymbolFun";
inline constexpr std::string_view kDataBlockKey = "DataBlock";
inline constexpr std::string_view kSystemBlockKey = "SystemBlock";
inline constexpr std::string_view kProgramBlockKey = "ProgramBlock";
inline constexpr std::string_view kStatusChartKey = "StatusChart";
inline constexpr std::string_view kPasswordKey = "Password";
// The program and data rows are written as this version writes them for the file's type
// (":d", kProjectTypeLevel): an open then need not bring them in line (NormalizeProjectForType).
// Versions that do not know the record ignore it and do not write it back, so a file they saved
// is brought in line again. A later change of what the shipped types write raises the level.
inline constexpr std::string_view kTypeLevelKey = "TypeLevel";
inline constexpr int32_t kProjectTypeLevel = 1;

// What an open changed of what the file holds, for the user to be told.
struct ProjectOpenNotes {
  // What fitting the program to the type had to cut.
  std::vector<ProgramBlockCut> Cuts;
  // Where texts stood whose bytes are not valid code page 936: each was read as empty, the rest
  // of the file as it is.
  StreamTextPlaces EmptiedTexts;
};

// Reads the file into the newest project (the current one: the caller appended it). Throws
// ExceptionParseStreamError (unreadable or empty file, malformed records, missing record or
// field), ExceptionInitFileVerError (unknown marker, checked first) or
// ExceptionInitPlcTypeError (type not installed).
ProjectOpenNotes OpenProjectFile(const std::wstring& path);
// The same from the file's bytes.
ProjectOpenNotes OpenProjectBytes(StreamBuffer bytes);

// Appends a fresh project, opens the file into it and, on success, drops every older project so
// that the opened one is the only and current project. On failure the fresh project is dropped
// and the error is rethrown: the current project is untouched.
ProjectOpenNotes OpenProjectAsCurrent(const std::wstring& path);

// Writes the current project and the unit password table as a version-1.2 file. Throws
// ExceptionParseStreamError for texts that code page 936 cannot hold (naming each text and where
// it is) and when the file cannot be written; the old file then stays as it was.
void SaveProjectFile(const std::wstring& path);
// The bytes SaveProjectFile writes (throwing as it does for texts the code page cannot hold).
// `expectedSize` (0: unknown) is room made before encoding: a large project then does not
// outgrow its buffer again and again.
StreamBytes BuildProjectFileBytes(const Project& project, const std::array<uint8_t, kUnitPasswordTableSize>& passwords,
                                  size_t expectedSize = 0);

// Offsets into a stream are 32 bits wide: no project file is larger than this.
inline constexpr uint64_t kProjectFileMaxSize = UINT32_MAX;

// The file's bytes; ExceptionParseStreamError (naming the path) when it cannot be read, is empty
// or is larger than kProjectFileMaxSize (refused before it is read).
void ReadWholeFile(std::vector<uint8_t>& bytes, const std::wstring& path);
void ReadWholeFile(platform::FileBytes& bytes, const std::wstring& path);
// Replaces the file with the bytes (platform::WriteFileBytes: nothing of the old file changes
// before the new content is whole); an empty vector is refused.
void WriteWholeFile(const std::vector<uint8_t>& bytes, const std::wstring& path);
// Throws the ExceptionParseStreamError of a file that could not be written: "Write file error"
// with the path, and why (read-only, disk full, ...) in the user's language, followed by the
// copies that earlier writes kept beside the file (KeptCopiesNotice, leaving out the one the
// failure names).
[[noreturn]] void ThrowFileWriteError(const std::wstring& path, const platform::FileWriteFailure& failure);
// What the user is told while whole copies stand beside the file, left by saves whose
// overwrite in place stopped part-way (platform::KeptCopiesBeside): the file's path and each
// copy's, in the user's language; empty when there is none but `leaveOut`.
std::wstring KeptCopiesNotice(const std::wstring& path, const std::wstring& leaveOut = {});

// ---- Sections of versions 1.1 and 1.2: the first top-level record of the key decoded into
// the target; ExceptionParseStreamError when there is none.
void ReadSymbolVarSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records, SymbolTable& table);
void ReadDataBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                          DataBlockTable& table);
void ReadSystemBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                            SystemBlockTable& table);
void ReadProgramBlockSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records,
                             ProgramBlock& program);
void ReadStatusChartSection(std::string_view key, StreamBuffer buffer, const StreamRecords& records, StatusChart& chart);

void WriteSymbolVarSection(StreamBytes& bytes, std::string_view key, const SymbolTable& table);
void WriteDataBlockSection(StreamBytes& bytes, std::string_view key, const DataBlockTable& table);
void WriteSystemBlockSection(StreamBytes& bytes, std::string_view key, const SystemBlockTable& table);
void WriteProgramBlockSection(StreamBytes& bytes, std::string_view key, const ProgramBlock& program);
void WriteStatusChartSection(StreamBytes& bytes, std::string_view key, const StatusChart& chart);

// ---- Version-1.0 sections, adopted into tables that were reset for the type: an entry whose
// key is a reference page becomes that working page with the reference titles; others are
// dropped.
void ReadLegacySymbolTable(StreamBuffer buffer, const StreamRecords& records, SymbolTable& table);
void ReadLegacyDataBlocks(StreamBuffer buffer, const StreamRecords& records, DataBlockTable& table);
void ReadLegacySystemBlocks(StreamBuffer buffer, const StreamRecords& records, SystemBlockTable& table);
void ReadLegacyStatusChart(StreamBuffer buffer, const StreamRecords& records, StatusChart& chart);
// Program units with the titles of "SymbolFun" and the local variables of "SymbolVar"; a unit
// without either is refused.
void ReadLegacyProgramBlock(StreamBuffer buffer, const StreamRecords& records, ProgramBlock& program);

}  // namespace Brenno
