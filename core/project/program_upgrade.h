// Brings the program units and data blocks of an opened project in line with its PLC type's
// instruction set and memory map, where an older version of them wrote things another way: ladder
// elements whose operands moved between the lists of their definition (a set coil's count now an
// input), the places of the operands of contacts, coils and FX boxes, decimal constants written
// without a prefix where the type now writes every constant with one (K100 where 100 was
// written), in the program and in the data rows, and FX constants of signed slots written as the
// unsigned number of their bits (K65535 where K-1 is meant), as earlier versions read them.
#pragma once

namespace Brenno {

class Project;

// Every network of every working and reference page. The meaning of the program stays.
void UpgradeProgramToType(Project& project);

// The values of the data rows of every working page; to be run before the rows are validated.
void UpgradeDataBlocksToType(Project& project);

}  // namespace Brenno
