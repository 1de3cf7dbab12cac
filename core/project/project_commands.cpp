#include "core/project/project_commands.h"

#include <iterator>

#include "core/project/project_environment.h"
#include "core/project/environment_loader.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/env/page_names.h"
#include "core/env/plc_type.h"
#include "core/program/compile_report.h"
#include "core/program/ladder_metrics.h"
#include "core/convert/program_view_switch.h"
#include "core/project/message_box.h"
#include "core/project/pmw_import.h"
#include "core/project/program_upgrade.h"
#include "core/project/project.h"
#include "core/project/project_file.h"
#include "core/project/project_list.h"
#include "core/project/project_reset.h"
#include "core/project/stream_text_places.h"

namespace Brenno {

namespace {

ProjectEnvironment& Environment() {
  ProjectEnvironment* environment = InstalledEnvironment();
  if (environment == nullptr) throw ExceptionLogicError();
  return *environment;
}

// What selecting a PLC type changes outside the newest project: the configured type name and
// the ladder metrics. Taken before a replacing command, put back when it fails.
class TypeSettingsSnapshot {
 public:
  explicit TypeSettingsSnapshot(const ProjectEnvironment& environment)
      : plcName_(environment.Config.PlcName),
        type_(environment.ProjectList.empty() ? nullptr : environment.ProjectList.back().Type) {}

  void Restore(ProjectEnvironment& environment) const {
    environment.Config.PlcName = plcName_;
    if (type_ != nullptr) SetLadderMetrics(environment.Config.ViewZoom, type_->IsFxMode());
  }

 private:
  std::wstring plcName_;
  const PlcType* type_;
};

// The replace transaction around one operation that builds the newest project; `note` follows
// the message of a failure.
template <class Operation>
bool RunReplaceTransaction(Operation operation, const std::wstring& note = {}) {
  ProjectEnvironment& environment = Environment();
  const TypeSettingsSnapshot settings(environment);
  PushDefaultProject();
  try {
    operation();
  } catch (const ExceptionError& error) {
    DropNewestProject();
    settings.Restore(environment);
    MessageBoxOk(note.empty() ? error.Message() : error.Message() + L"\r\n\r\n" + note, kMessageIconStop);
    return false;
  } catch (...) {
    // Not an error of the workbench (out of memory, for instance): the previous project is made
    // current again before the failure goes on to the caller.
    DropNewestProject();
    settings.Restore(environment);
    throw;
  }
  DropOldestProject();
  return true;
}

// Tells the user what a replacing command changed of what it read: texts read as empty and
// networks or local variables cut to the type's limits; then `note`. Nothing to tell shows
// nothing.
void ReportReadChanges(const std::vector<ProgramBlockCut>& cuts, const StreamTextPlaces& emptiedTexts,
                       const std::wstring& note = {}) {
  std::wstring text;
  if (!emptiedTexts.empty()) text = EmptiedTextsMessage(emptiedTexts);
  if (!cuts.empty()) {
    if (!text.empty()) text += L"\r\n\r\n";
    text += PickText(L"The program does not fit the PLC type and was cut:", L"程序超出 PLC 类型的限制，已截断:");
    const ProgramBlock& program = CurrentProject().Program;
    for (const ProgramBlockCut& cut : cuts) {
      std::wstring unit;
      if (!program.DescribeProgramUnitKey(cut.Key, unit)) unit = std::to_wstring(cut.Key);
      text += L"\r\n  " + DescribeProgramBlockCut(cut, unit);
    }
  }
  if (!note.empty()) text += (text.empty() ? L"" : L"\r\n\r\n") + note;
  if (!text.empty()) MessageBoxOk(text, kMessageIconWarning);
}

void SelectTypeOrThrow(ProjectEnvironment& environment, const std::wstring& typeName) {
  const std::wstring name = typeName;  // may be the configured name that selecting overwrites
  if (!SelectPlcType(environment, name)) throw ExceptionInitPlcTypeError();
}

}  // namespace

// ---------------------------------------------------------------- wrappers

bool TryNewProject() {
  return RunReplaceTransaction([] { NewProject(); });
}

bool TryOpenProject(const std::wstring& path, std::vector<ProgramBlockCut>* cuts) {
  ProjectOpenNotes notes;
  // Copies that saves kept beside the file are told with what the open says.
  const std::wstring keptCopies = KeptCopiesNotice(path);
  const bool ok = RunReplaceTransaction([&] { notes = OpenProjectFile(path); }, keptCopies);
  if (!ok) return false;
  ReportReadChanges(notes.Cuts, notes.EmptiedTexts, keptCopies);
  if (cuts != nullptr) *cuts = std::move(notes.Cuts);
  return true;
}

bool TryImportPmw(const std::wstring& path) {
  return RunReplaceTransaction([&] { ImportPmwFile(path); });
}

bool TryChangePlcType(const std::wstring& typeName, std::vector<ProgramBlockCut>* cuts) {
  std::vector<ProgramBlockCut> made;
  const bool ok = RunReplaceTransaction([&] { made = ChangePlcType(typeName); });
  if (!ok) return false;
  ReportReadChanges(made, {});
  if (cuts != nullptr) *cuts = std::move(made);
  return true;
}

bool TrySaveProject(const std::wstring& path) {
  try {
    SaveProjectFile(path);
  } catch (const ExceptionError& error) {
    MessageBoxOk(error.Message(), kMessageIconStop);  // names the copies kept beside the file
    return false;
  }
  const std::wstring keptCopies = KeptCopiesNotice(path);
  if (!keptCopies.empty()) MessageBoxOk(keptCopies, kMessageIconWarning);
  return true;
}

// ---------------------------------------------------------------- operations

void NewProject() {
  ProjectEnvironment& environment = Environment();
  SelectTypeOrThrow(environment, environment.Config.PlcName);
  Project& project = CurrentProject();
  ResetProjectForType(project);
  FillDefaultProject(project);
}

std::vector<ProgramBlockCut> ChangePlcType(const std::wstring& typeName) {
  ProjectEnvironment& environment = Environment();
  SelectTypeOrThrow(environment, typeName);
  if (environment.ProjectList.size() < 2) throw ExceptionLogicError();
  Project& project = environment.ProjectList.back();
  const Project& previous = *std::prev(environment.ProjectList.end(), 2);

  ResetProjectForType(project);
  project.Symbols.Working = previous.Symbols.Working;
  project.DataBlocks.Working = previous.DataBlocks.Working;
  project.Program.ViewMode = previous.Program.ViewMode;
  project.Program.InterruptTable.Working = previous.Program.InterruptTable.Working;
  project.Program.SubroutineTable.Working = previous.Program.SubroutineTable.Working;
  project.StatusChart.Working = previous.StatusChart.Working;
  return NormalizeProjectForType(project);
}

void ImportPmwFile(const std::wstring& path) {
  ProjectEnvironment& environment = Environment();
  SelectTypeOrThrow(environment, environment.Config.PlcName);
  Project& project = CurrentProject();
  ResetProjectForType(project);
  FillDefaultProject(project);

  std::vector<uint8_t> bytes;
  ReadPmwFile(path, bytes);
  std::vector<PmwInstruction> instructions;
  DecodePmwInstructions(bytes, instructions);
  GroupPmwNetworks(instructions);
  std::wstring listing;
  FormatPmwListing(instructions, listing);
  // Every line of the listing ends with the separator, the last one too; read as network text,
  // a final separator would give the last network one more, empty, line.
  if (listing.ends_with(L"\r\n")) listing.resize(listing.size() - 2);

  CompileReport report;
  report.Print = false;
  SwitchProgramView(project.Program, report, kViewModeStl);
  if (!project.Program.InterruptTable.HasWorkingPage(kMainProgramKey)) throw ExceptionLogicError();
  project.Program.InterruptTable.GetBlockPage(kMainProgramKey).LoadFromText(L"\r\n", listing);
  // The file writes every constant as the unsigned number of its bits (K65535 for K-1): the
  // signed slots get the signed form, as a project of an earlier version gets it when opened.
  UpgradeProgramToType(project);
  report.PrintTotal();
}

}  // namespace Brenno
