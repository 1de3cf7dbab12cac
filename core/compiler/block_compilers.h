// The six block compilers between the current project and a BinaryImage: the encoders compile
// the data blocks, system pages and program pages into an empty image (working on copies with
// every symbol turned back into its address: the project is never changed); the decoders
// rebuild them in the current project from an uploaded image. Callers run the three of one
// direction in the order data, system, program with one report, then judge the run by
// CompileReport::TotalErrors (not 0: the run failed and its result is discarded).
//
// Every compiler opens a section in the report, counts one error per failed page or network
// and writes one line for it, and writes the block's size line only when its section counted no
// error. A failure inside one page never leaves the compiler: the page is counted and left out
// and the next page follows, so every section is closed on the way out.
#pragma once

#include "core/compiler/binary_image.h"
#include "core/convert/program_view_switch.h"
#include "core/project/data_block_table.h"
#include "core/project/system_block_table.h"

namespace Brenno {

class CompileReport;

void EncodeDataBlocks(CompileReport& report, BinaryImage& image);
void EncodeSystemBlock(CompileReport& report, BinaryImage& image);
// Arguments of every page first; any argument failure stops before the networks. A page whose
// conversion to statement list or any network fails gets no instruction entry.
void EncodeProgramBlocks(CompileReport& report, BinaryImage& image);
// The same; `forms` also receives, by page key and network index, the statement-list form of
// every ladder network that converted (with its operands as addresses), for a switch of the
// program to statement list that follows before the program changes.
void EncodeProgramBlocks(CompileReport& report, BinaryImage& image, PreparedStlForms* forms);

void DecodeDataBlocks(CompileReport& report, const BinaryImage& image);
void DecodeSystemBlock(CompileReport& report, const BinaryImage& image);
// A page key of the instruction words that no reference unit of the PLC type knows is counted
// as a page error (its words cannot be placed anywhere).
void DecodeProgramBlocks(CompileReport& report, const BinaryImage& image);

// The rows become the working page of the key with the reference page's titles; the key, or -1
// (nothing stored) when the key is no reference page.
int StoreDataBlockPage(int key, const std::vector<DataRow>& rows, DataBlockTable& table);
// The same for a system page.
int StoreSystemPage(SystemBlockTable& table, const std::vector<uint8_t>& bytes, int key);

}  // namespace Brenno
