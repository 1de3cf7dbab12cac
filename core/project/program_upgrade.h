// Brings the program units of an opened project in line with its PLC type's instruction set and
// memory map, where an older version of them wrote things another way: ladder elements whose
// operands moved between the lists of their definition (a set coil's count now an input), the
// places of the operands of contacts, coils and FX boxes, and decimal constants written without
// a prefix where the type now writes every constant with one (K100 where 100 was written).
#pragma once

namespace Brenno {

struct Project;

// Every network of every working and reference page. The meaning of the program stays.
void UpgradeProgramToType(Project& project);

}  // namespace Brenno
