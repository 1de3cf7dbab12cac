// Building and loading the module records of page 3. Every record opens with the seven-byte
// frame (position, type, input start, input size, output start, output size, length N),
// carries its type's parameter bytes from byte 7 on and closes with a CRC-16/MODBUS, low byte
// first, over the parameter bytes its type covers (some types leave their last bytes outside
// it; the PLC and stored files rely on that coverage). The frame is never covered, so records
// behind a deleted module can be renumbered without touching their CRC.
#pragma once

#include <cstdint>
#include <span>

#include "sysblock/model/modules/module_params.h"
#include "sysblock/model/modules/module_types.h"

namespace corvell {

// Builds the record of module type `type` (1 to 23) standing at `position` of `list` from
// that type's values in `params`. The address bytes come from the type's model and the
// records before `position`. Empty for any other type code.
ModuleRecord BuildModuleRecord(uint8_t type, const ModuleParameterSet& params, uint8_t position,
                               const ModuleList& list, const AddressBases& bases = {});

// Whether `record` is a whole module record: type 1 to 23 and exactly its type's length.
bool IsWholeModuleRecord(std::span<const uint8_t> record);

// Puts a stored module record into its type's values of `params` (its parameter bytes and the
// labels its address bytes give). Values the record does not carry stay as they are. False,
// with nothing changed, when the record is not a whole module record.
bool LoadModuleRecord(std::span<const uint8_t> record, ModuleParameterSet& params);

// The values a newly added module of `type` starts from: the type's Default action (types 1
// to 21), zero indexes for types 22 and 23.
void ResetModuleParameters(uint8_t type, ModuleParameterSet& params);

// Removes record `index` (1 or more; the controller row stays) and renumbers the records
// behind it: each moves up one position and gets the input and output starts its type's
// address rules give there. Their other bytes, the CRC included, stay as they were. False,
// with nothing changed, for the controller row or an index beyond the list.
bool RemoveModuleRecord(ModuleList& list, size_t index, const AddressBases& bases = {});

}  // namespace corvell
