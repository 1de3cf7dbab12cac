// Start-up and exit of the environment: reading the configuration and the PLC type catalog,
// selecting the configured type, and writing the configuration back.
#pragma once

#include <string>

#include "core/project/project_environment.h"

namespace Brenno {

// Fills a freshly built environment from the program directory: "Orvisto.xml", then every
// sub-folder of "Orvisto" in name order, then the configured PLC type (the first type when the
// configured name is not in the catalog). Any failure throws and ends the start-up.
void LoadEnvironment(ProjectEnvironment& env, const std::wstring& programDirectory);
void LoadEnvironment(ProjectEnvironment& env);

// Drops the current project and writes the configuration file back.
void SaveEnvironment(ProjectEnvironment& env, const std::wstring& programDirectory);
void SaveEnvironment(ProjectEnvironment& env);

// Makes the named catalog type the current project's type (exact, case-sensitive match): the
// project gets copies of the type's libraries and the ladder metrics follow the type. False and
// no change when no type has that name.
bool SelectPlcType(ProjectEnvironment& env, const std::wstring& name);

void AssignInstructionLibrary(InstructionLibrary& target, const InstructionLibrary& source);
void AssignMemoryAreaManager(MemoryAreaManager& target, const MemoryAreaManager& source);

}  // namespace Brenno
