// The argument words of one program page: one word per IN, IN_OUT and OUT variable of its local
// variable table, in table order (TEMP variables are never stored). Each is an operand word in
// the raw layout (no kind mapping) whose kind code holds the area (0 IN, 1 IN_OUT, 2 OUT) and
// whose region slot holds the data type index 0..10; the other fields are the variable's
// address in the local region. A word 0xFFFFFFFF is skipped when decoding.
//
// Both coders read the current project's memory map (its local region) and the local address
// formats of its symbol table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/project/symbol_table.h"

namespace Brenno {

// Appends one word per complete (check flags 31) variable of area 0, 1 or 2. A variable whose
// address is not a direct address of the local region of its type's width throws
// ExceptionParseBinaryArgumentError.
void EncodeArguments(const LocalVarTable& variables, std::vector<uint32_t>& words);
// Appends one complete variable per word, named per area in word order (IN1, IN2, ...,
// IN_OUT1, ..., OUT1, ...), with an empty comment. An area outside 0..2, a data type outside
// 0..10 or a position outside the local region throws ExceptionParseBinaryArgumentError.
void DecodeArguments(LocalVarTable& variables, const std::vector<uint32_t>& words);

// "IN", "IN_OUT" or "OUT" for area 0, 1, 2, followed by the number in decimal (IN1).
// Another area throws ExceptionLogicError.
std::wstring MakeArgumentName(int area, int number);

}  // namespace Brenno
