// The instruction words of one program page: for each network a separator word (3 in FxMode 0,
// 4 in FxMode 1), then for each statement-list instruction a head word and one operand word per
// operand of its definition.
//
// Head word, FxMode 0: marker bits 0-3 (4, or 5 when bit 16 of the instruction code is set),
// variant bits 4-7, operand count bits 8-15, code bits 0-15 in bits 16-31.
// Head word, FxMode 1: marker bits 0-2 (5, or 6 for bit 16), operand count bits 3-5, code bits
// 0-15 in bits 16-31; no variant is stored.
//
// An operand word is the address as ParseOperandText packs it under the operand's format, or a
// reference into the image's constant table: an operand word of the memory map's constant
// region whose byte number is 4 x the constant's position, whose width is that of the format
// and whose index field holds the constant's index register (FxMode 1 only). The table holds
// every value once, in order of first use.
//
// The coders read the current project's instruction library and memory map.
#pragma once

#include <cstdint>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/convert/converter_model.h"
#include "core/program/network.h"

namespace Brenno {

class CompileReport;
class ProgramBlock;
class ProgramPage;

// Separator word of the current layout.
uint32_t NetworkSeparatorWord(int fxMode);

// Appends the words of the networks of the page with the key. Every network that fails (a
// ladder network, a line that matches no definition, an operand that compiles to nothing) is
// counted and reported once under the page's name and its position, and the next network
// follows; the words of a failed network stay, so the caller must not use the page's words when
// any network failed.
void EncodeNetworks(BinaryImage& image, CompileReport& report, const ProgramBlock& program, int key,
                    const std::vector<Network>& networks, std::vector<uint32_t>& words);
// Appends the head and operand words of the elements, adding constants to the image's table.
// Throws ExceptionParseBinaryInstructionError for what does not compile, among them a
// constant table that outgrows the operand word's byte field, more operands than the head
// word's count field holds, and a variant above 15.
void EncodeInstructions(BinaryImage& image, const std::vector<StlElement>& elements, std::vector<uint32_t>& words);

// Replaces the page's networks by those decoded from the words and empties its undo history.
// A network that fails is counted and reported once (numbered by the networks decoded before
// it) and left out.
void DecodeNetworks(const BinaryImage& image, CompileReport& report, const ProgramBlock& program, int key,
                    ProgramPage& page, const std::vector<uint32_t>& words);
// Appends one element per instruction of one network's words. Throws
// ExceptionParseBinaryInstructionError for a bad head word, an operand count above the words
// left, a code and count that name no single definition, or an operand word that is no operand
// of its format; ExceptionParseBinaryError for a constant position outside the table.
void DecodeInstructions(std::vector<StlElement>& elements, const std::vector<uint32_t>& constants,
                        const std::vector<uint32_t>& words);

// Position of the value in the image's constant table, appended when absent.
int IndexOfValue(BinaryImage& image, uint32_t value);

}  // namespace Brenno
