// An FX program as a .pmw file of the other vendor's tool writes it, using every code of the
// FX code table (the step-ladder codes excepted), imports into the shipped FX type, compiles,
// and decodes from its image (as an upload does) into a program that compiles into the same
// image again.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/compiler/binary_image.h"
#include "core/compiler/block_compilers.h"
#include "core/env/exception_error.h"
#include "core/env/language.h"
#include "core/program/compile_report.h"
#include "core/program/network.h"
#include "core/program/stl_line.h"
#include "core/project/fx_code_table.h"
#include "core/project/project.h"
#include "core/project/project_commands.h"
#include "core/project/project_reset.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"
#include "support/shipped_catalog.h"

namespace {

using namespace Brenno;

std::string U(const std::wstring& text) { return platform::ToUtf8Lossy(text); }

// One operand of an FX program as the .pmw format stores it in its operand words.
struct PmwOperand {
  enum Kind { kDecimal, kHex, kBits, kWord, kPointer } kind = kDecimal;
  uint32_t value = 0;   // constants
  char device = 0;      // bits: S X Y T M C; words: D T C, or Z and V for the index registers
  int number = 0;       // device number (X and Y: the octal text read as octal)
  int digits = 0;       // digit groups of a bit device (K4M10: 4); 0 for the bit device itself
  char index = 0;       // index suffix: 0, 'V' or 'Z'
  int reg = 0;          // its register number

  PmwOperand Z(int r) const { return Indexed('Z', r); }
  PmwOperand V(int r) const { return Indexed('V', r); }
  PmwOperand Indexed(char letter, int r) const {
    PmwOperand o = *this;
    o.index = letter;
    o.reg = r;
    return o;
  }
};

PmwOperand K(uint32_t value) { return {PmwOperand::kDecimal, value}; }
PmwOperand H(uint32_t value) { return {PmwOperand::kHex, value}; }
PmwOperand Bit(char device, int number) { return {PmwOperand::kBits, 0, device, number}; }
PmwOperand Kn(int digits, char device, int number) { return {PmwOperand::kBits, 0, device, number, digits}; }
PmwOperand Word(char device, int number) { return {PmwOperand::kWord, 0, device, number}; }
PmwOperand P(int number) { return {PmwOperand::kPointer, 0, 'P', number}; }

// The device code inside an instruction word (LD, AND, OR, OUT, SET, RST with the device in
// the word).
uint16_t DeviceInWord(char device, int n) {
  switch (device) {
    case 'S': return static_cast<uint16_t>(n);
    case 'X': return static_cast<uint16_t>(0x400 | n);
    case 'Y': return static_cast<uint16_t>(0x500 | n);
    case 'T': return static_cast<uint16_t>(0x600 | n);
    case 'M': return static_cast<uint16_t>(n >= 8000 ? 0xF00 | (n - 8000) : 0x800 + n);
    case 'C': return static_cast<uint16_t>(0xE00 | n);
  }
  ADD_FAILURE() << "no device " << device;
  return 0;
}

// One operand word naming a bit device (OUT, SET, RST, PLS, PLF, MC and the edge contacts).
uint16_t DeviceWord(char device, int n) {
  switch (device) {
    case 'S': return static_cast<uint16_t>((0x80 | n >> 8) << 8 | (n & 0xFF));
    case 'X': return static_cast<uint16_t>(0x8400 | n);
    case 'Y': return static_cast<uint16_t>(0x8500 | n);
    case 'T': return static_cast<uint16_t>(0x8600 | n);
    case 'C': return static_cast<uint16_t>(0x8E00 | n);
    case 'M':
      if (n >= 8000) return static_cast<uint16_t>(0x8F00 | (n - 8000));
      if (n < 1536) return static_cast<uint16_t>((0x88 + (n >> 8)) << 8 | (n & 0xFF));
      return static_cast<uint16_t>((0xA8 + ((n - 1536) >> 8)) << 8 | ((n - 1536) & 0xFF));
  }
  ADD_FAILURE() << "no device " << device;
  return 0;
}

// The operand words of an application instruction: two (16-bit instruction) or four (32-bit).
std::vector<uint16_t> OperandWords(const PmwOperand& o, bool wide) {
  const uint16_t prefix = o.index == 'V' ? 0x9000 : o.index == 'Z' ? 0xA000 : 0x8000;
  const uint16_t reg = static_cast<uint16_t>(o.reg);
  std::vector<uint16_t> words;
  switch (o.kind) {
    case PmwOperand::kDecimal:
    case PmwOperand::kHex: {
      const uint16_t kind = o.kind == PmwOperand::kHex ? 0x0200 : 0;
      words = {static_cast<uint16_t>(prefix | kind | (o.value & 0xFF)),
               static_cast<uint16_t>(0x8000 | reg << 8 | ((o.value >> 8) & 0xFF))};
      if (wide) words.insert(words.end(), {static_cast<uint16_t>(0x8000 | ((o.value >> 16) & 0xFF)),
                                           static_cast<uint16_t>(0x8000 | (o.value >> 24))});
      return words;
    }
    case PmwOperand::kBits: {
      int s = 0;
      int low = o.number;
      switch (o.device) {
        case 'S': s = (o.number >> 8) & 3, low = o.number & 0xFF; break;
        case 'X': s = 4; break;
        case 'Y': s = 5; break;
        case 'T': s = 6; break;
        case 'C': s = 0x0E; break;
        case 'M':
          if (o.number >= 8000) {
            s = 0x0F, low = o.number - 8000;
          } else if (o.number < 1536) {
            s = 8 + (o.number >> 8), low = o.number & 0xFF;
          } else {
            s = 0x28 + ((o.number - 1536) >> 8), low = (o.number - 1536) & 0xFF;
          }
          break;
        default: ADD_FAILURE() << "no bit device " << o.device;
      }
      words = {static_cast<uint16_t>(prefix | 0x0400 | low),
               static_cast<uint16_t>(0x8000 | o.digits << 9 | reg << 6 | s)};
      break;
    }
    case PmwOperand::kWord:
    case PmwOperand::kPointer: {
      // Selectors of the word devices: 0 D8000 + a, 1 T a, 2 C a, 3 D a; Z and V are D8028,
      // D8029 and D8182 onwards.
      int selector = 3;
      int a = o.number;
      if (o.kind == PmwOperand::kPointer) {
        selector = 0;
      } else if (o.device == 'T') {
        selector = 1;
      } else if (o.device == 'C') {
        selector = 2;
      } else if (o.device == 'Z' || o.device == 'V') {
        selector = 0;
        a = (o.number == 0 ? 28 : 180 + 2 * o.number) + (o.device == 'V' ? 1 : 0);
      } else if (o.number >= 8000) {
        selector = 0;
        a = o.number - 8000;
      }
      const int v = 2 * a;
      const uint16_t kind = o.kind == PmwOperand::kPointer ? 0x0800 : 0x0600;
      words = {static_cast<uint16_t>(prefix | kind | (v & 0xFF)),
               static_cast<uint16_t>(0x8000 | selector << 9 | reg << 6 | v >> 8)};
      break;
    }
  }
  if (wide) words.insert(words.end(), {0x8000, 0x8000});
  return words;
}

// The operands of each application instruction in a real FX program, by mnemonic of the 16-bit
// form; the 32-bit forms take the second list when there is one. X and Y numbers are written as
// octal literals (010 is X010).
struct AppliedOperands {
  const wchar_t* mnemonic;
  std::vector<PmwOperand> operands;
  std::vector<PmwOperand> wide = {};
};

const std::vector<AppliedOperands>& AppliedTable() {
  static const std::vector<AppliedOperands> table = {
      {L"CJ", {P(10)}},
      {L"CALL", {P(20)}},
      {L"SRET", {}},
      {L"IRET", {}},
      {L"EI", {}},
      {L"DI", {}},
      {L"FEND", {}},
      {L"WDT", {}},
      {L"FOR", {K(3)}},
      {L"NEXT", {}},
      {L"CMP", {K(100), Word('D', 0), Bit('M', 0)}},
      {L"ZCP", {K(10), K(100), Word('C', 0), Bit('M', 3)}, {K(10), K(100000), Word('C', 235), Bit('M', 3)}},
      {L"MOV", {K(100).Z(1), Kn(4, 'Y', 0)}, {K(100000), Word('D', 20).V(2)}},
      {L"SMOV", {Word('D', 0), K(4), K(2), Word('D', 2), K(3)}},
      {L"CML", {Word('D', 8000), Word('D', 0)}, {Word('D', 0), Kn(8, 'Y', 0)}},
      {L"BMOV", {Word('D', 0), Word('D', 100), K(10)}},
      {L"FMOV", {K(0), Word('D', 0), K(10)}},
      {L"XCH", {Word('D', 0), Word('D', 2)}},
      {L"BCD", {Word('D', 0), Kn(4, 'Y', 010)}, {Word('D', 0), Kn(8, 'Y', 0)}},
      {L"BIN", {Kn(4, 'X', 0), Word('D', 0)}, {Kn(8, 'X', 0), Word('D', 0)}},
      {L"ADD", {Word('T', 0), Word('C', 0), Word('D', 2)}, {Word('C', 200), K(100000), Word('D', 4)}},
      {L"SUB", {Word('D', 0), H(0x00FF), Word('D', 2)}},
      {L"MUL", {Word('D', 0), Word('D', 2), Word('D', 4)}},
      {L"DIV", {Word('D', 0), K(3), Word('D', 4)}},
      {L"INC", {Word('Z', 0)}, {Word('Z', 1)}},
      {L"DEC", {Word('V', 1)}, {Word('D', 0)}},
      {L"WAND", {Kn(4, 'M', 2000), H(0x0F0F), Word('D', 2)}},
      {L"WOR", {Word('D', 0), H(0xF000), Word('D', 2)}},
      {L"WXOR", {Kn(4, 'M', 0).Z(2), Word('D', 0), Kn(4, 'S', 0)}},
      {L"NEG", {Word('D', 0)}},
      {L"ROR", {Word('D', 0), K(4)}},
      {L"ROL", {Word('D', 0), K(4)}},
      {L"RCR", {Word('D', 0), K(4)}},
      {L"RCL", {Word('D', 0), K(4)}},
      {L"SFTR", {Bit('X', 0), Bit('M', 0), K(16), K(4)}},
      {L"SFTL", {Bit('X', 0), Bit('M', 100), K(16), K(4)}},
      {L"WSFR", {Word('D', 0), Word('D', 100), K(16), K(4)}},
      {L"WSFL", {Word('D', 0), Word('D', 100), K(16), K(4)}},
      {L"SFWR", {Word('D', 0), Word('D', 100), K(10)}},
      {L"SFRD", {Word('D', 100), Word('D', 20), K(10)}},
      {L"ZRST", {Word('D', 0), Word('D', 100)}},
      {L"DECO", {Bit('X', 0), Bit('M', 10), K(3)}},
      {L"ENCO", {Bit('M', 10), Word('D', 0), K(3)}},
      {L"SUM", {Kn(4, 'M', 8000), Word('D', 0)}, {Word('D', 0), Word('D', 2)}},
      {L"BON", {Word('D', 0), Bit('M', 0), K(15)}},
      {L"MEAN", {Word('D', 0), Word('D', 10), K(3)}},
      {L"ANS", {Word('T', 10), K(10), Bit('S', 900)}},
      {L"ANR", {}},
      {L"SQR", {Word('D', 0), Word('D', 2)}},
      {L"FLT", {Word('D', 0), Word('D', 10)}},
      {L"REF", {Bit('X', 0), K(8)}},
      {L"REFF", {K(10)}},
      {L"MTR", {Bit('X', 0), Bit('Y', 0), Bit('M', 0), K(3)}},
      {L"HSCS", {K(100), Word('C', 235), Bit('Y', 0)}, {K(100000), Word('C', 235), Bit('Y', 0)}},
      {L"HSCR", {K(200), Word('C', 235), Bit('C', 235)}},
      {L"HSZ", {K(10), K(100), Word('C', 235), Bit('Y', 0)}},
      {L"SPD", {Bit('X', 0), K(1000), Word('D', 0)}},
      {L"PLSY", {K(1000), Word('D', 0), Bit('Y', 0)}},
      {L"PWM", {K(10), K(100), Bit('Y', 1)}},
      {L"PLSR", {K(1000), Word('D', 0), K(100), Bit('Y', 0)}},
      {L"IST", {Bit('X', 020), Bit('S', 20), Bit('S', 27)}},
      {L"SER", {Word('D', 0), Word('D', 100), Word('D', 200), K(10)}},
      {L"ABSD", {Word('D', 300), Word('C', 0), Bit('M', 0), K(4)}, {Word('D', 300), Word('C', 200), Bit('M', 0), K(4)}},
      {L"INCD", {Word('D', 300), Word('C', 0), Bit('M', 0), K(4)}},
      {L"TTMR", {Word('D', 0), K(0)}},
      {L"STMR", {Word('T', 10), K(100), Bit('M', 0)}},
      {L"ALT", {Bit('M', 0)}},
      {L"RAMP", {Word('D', 1), Word('D', 2), Word('D', 3), K(100)}},
      {L"ROTC", {Word('D', 200), K(10), K(2), Bit('M', 0)}},
      {L"SORT", {Word('D', 100), K(5), K(3), Word('D', 200), K(2)}},
      {L"TKY", {Bit('X', 0), Word('D', 0), Bit('M', 10)}},
      {L"HKY", {Bit('X', 0), Bit('Y', 0), Word('D', 0), Bit('M', 0)}},
      {L"DSW", {Bit('X', 010), Bit('Y', 010), Word('D', 0), K(1)}},
      {L"SEGD", {Word('D', 0), Kn(2, 'Y', 0)}},
      {L"SEGL", {Word('D', 0), Bit('Y', 010), K(4)}},
      {L"ARWS", {Bit('X', 010), Word('D', 0), Bit('Y', 0), K(0)}},
      {L"ASC", {H(0x4142), Word('D', 0)}},
      {L"PR", {Word('D', 0), Bit('Y', 0)}},
      {L"FROM", {K(0), K(1), Word('D', 0), K(1)}},
      {L"TO", {K(0), K(1), Word('D', 0), K(1)}},
      {L"RS", {Word('D', 100), K(10), Word('D', 200), K(10)}},
      {L"PRUN", {Kn(4, 'X', 0), Kn(4, 'M', 0)}},
      {L"ASCI", {Word('D', 0), Word('D', 10), K(4)}},
      {L"HEX", {Word('D', 10), Word('D', 0), K(4)}},
      {L"CCD", {Word('D', 0), Word('D', 100), K(10)}},
      {L"VRRD", {K(0), Word('D', 0)}},
      {L"VRSC", {K(0), Word('D', 0)}},
      {L"PID", {Word('D', 0), Word('D', 1), Word('D', 100), Word('D', 150)}},
      {L"OPT", {Word('D', 0), Word('D', 2)}},
      {L"MNET", {Bit('X', 0), Bit('M', 0)}},
      {L"ANRD", {Bit('X', 0), Bit('Y', 0), K(0), Word('D', 0)}},
      {L"ANWR", {Word('D', 0), Bit('Y', 0), K(0), Bit('M', 0)}},
      {L"RMST", {Bit('X', 0), Bit('Y', 0), Bit('M', 0)}},
      {L"RMWR", {Word('D', 0), Bit('Y', 0), Bit('M', 0)}},
      {L"RMRD", {Bit('X', 0), Word('D', 0), Bit('M', 0)}},
      {L"RMMN", {Bit('X', 0), Word('D', 0)}},
      {L"BLK", {Word('D', 0), Bit('Y', 0)}},
      {L"MCDE", {Word('D', 0), Bit('Y', 0)}},
      {L"ECMP", {Word('D', 0), K(100), Bit('M', 0)}},
      {L"EZCP", {Word('D', 0), Word('D', 2), Word('D', 4), Bit('M', 0)}},
      {L"EBCD", {Word('D', 0), Word('D', 10)}},
      {L"EBIN", {Word('D', 10), Word('D', 0)}},
      {L"EADD", {Word('D', 0), K(10), Word('D', 4)}},
      {L"ESUB", {Word('D', 0), K(10), Word('D', 4)}},
      {L"EMUL", {Word('D', 0), K(10), Word('D', 4)}},
      {L"EDIV", {Word('D', 0), K(10), Word('D', 4)}},
      {L"ESQR", {Word('D', 0), Word('D', 4)}},
      {L"INT", {Word('D', 0), Word('D', 10)}},
      {L"SIN", {Word('D', 0), Word('D', 10)}},
      {L"COS", {Word('D', 0), Word('D', 10)}},
      {L"TAN", {Word('D', 0), Word('D', 10)}},
      {L"SWAP", {Word('D', 0)}},
      {L"TCMP", {K(10), K(30), K(0), Word('D', 0), Bit('M', 0)}},
      {L"TZCP", {Word('D', 0), Word('D', 10), Word('D', 20), Bit('M', 0)}},
      {L"TADD", {Word('D', 0), Word('D', 10), Word('D', 20)}},
      {L"TSUB", {Word('D', 0), Word('D', 10), Word('D', 20)}},
      {L"TRD", {Word('D', 0)}},
      {L"TWR", {Word('D', 0)}},
      {L"GRY", {K(1234), Word('D', 0)}},
      {L"GBIN", {Kn(4, 'X', 0), Word('D', 0)}},
  };
  return table;
}

// An FX program as the instruction words of a .pmw file, with the codes it used.
class PmwProgram {
 public:
  // An instruction that carries its device in its own word.
  void DeviceInstruction(uint16_t code, char device, int n) {
    Emit(static_cast<uint16_t>((code & 0xF000) | DeviceInWord(device, n)), code);
  }
  // An instruction without operands (block instructions, END, ...).
  void Plain(uint16_t code) { Emit(code, code); }
  // An instruction with one operand word naming a bit device.
  void WithDevice(uint16_t code, char device, int n) {
    Emit(code, code);
    words_.push_back(DeviceWord(device, n));
  }
  void MasterControl(int nest, char device, int n) {
    WithDevice(0x000A, device, n);
    words_.insert(words_.end() - 1, static_cast<uint16_t>(0x8000 | nest));
  }
  void MasterControlReset(int nest) {
    Emit(0x000B, 0x000B);
    words_.push_back(static_cast<uint16_t>(0x8000 | nest));
  }
  // OUT T n / OUT C n with the set value.
  void TimerCounter(char device, int n, const PmwOperand& preset) {
    Emit(static_cast<uint16_t>((device == 'T' ? 0x0600 : 0x0E00) | n), device == 'T' ? 0x06FF : 0x0EFF);
    Operands({preset}, false);
  }
  void Label(char kind, int n) { Emit(static_cast<uint16_t>(0xB000 | (kind == 'I' ? 0x0800 : 0) | n), 0xBFFF); }
  // Application instructions and compare contacts: the code, then the operands in two-word or
  // (32-bit forms, odd codes) four-word form.
  void Applied(uint16_t code, const std::vector<PmwOperand>& operands) {
    Emit(code, code);
    Operands(operands, (code & 1) != 0);
  }
  void ResetWord(const PmwOperand& operand) {
    Emit(0x000D, 0x000D);
    Operands({operand}, false);
  }

  const std::vector<uint16_t>& Words() const { return words_; }
  const std::set<int32_t>& Codes() const { return codes_; }
  int Count() const { return count_; }

  // The .pmw file: 348 header bytes with the program length (96 + the size of the words) at
  // offset 78, then the words, little-endian.
  std::vector<uint8_t> FileBytes() const {
    std::vector<uint8_t> file(348, 0);
    const size_t length = 96 + 2 * words_.size();
    file[78] = static_cast<uint8_t>(length & 0xFF);
    file[79] = static_cast<uint8_t>(length >> 8);
    for (uint16_t word : words_) {
      file.push_back(static_cast<uint8_t>(word & 0xFF));
      file.push_back(static_cast<uint8_t>(word >> 8));
    }
    return file;
  }

 private:
  void Emit(uint16_t word, int32_t code) {
    words_.push_back(word);
    codes_.insert(code);
    ++count_;
  }
  void Operands(const std::vector<PmwOperand>& operands, bool wide) {
    for (const PmwOperand& operand : operands) {
      const std::vector<uint16_t> words = OperandWords(operand, wide);
      words_.insert(words_.end(), words.begin(), words.end());
    }
  }

  std::vector<uint16_t> words_;
  std::set<int32_t> codes_;
  int count_ = 0;
};

// The codes of the application instructions (with their pulse forms) and of the compare
// contacts: their operands follow the code.
bool IsApplied(int32_t code) { return code < 0x2000 && (code & 0x0FFF) >= 0x0010 && (code & 0x0FFF) <= 0x01C9; }
bool IsCompareContact(int32_t code) { return code >= 0x01D0 && code <= 0x01FD; }

// A program that uses every code of the FX code table except the step ladder (which no PLC type
// imports): every instruction in a network of the form a real program gives it, with operands of
// every kind the format carries (constants, digit groups, bit and word devices, index suffixes,
// special relays and registers, index registers, pointers and nesting levels).
PmwProgram EveryCodeProgram() {
  PmwProgram program;
  auto input = [&](int n) { program.DeviceInstruction(0x2FFF, 'X', n); };
  auto output = [&](int n) { program.DeviceInstruction(0xCFFF, 'Y', n); };
  // Contacts in every device form, block instructions and the stack.
  for (const auto& [code, device, n] : std::vector<std::tuple<uint16_t, char, int>>{
           {0x2FFF, 'X', 0}, {0x4FFF, 'M', 0}, {0x5FFF, 'C', 0}, {0x6FFF, 'T', 0}, {0x7FFF, 'M', 8000}}) {
    if (code != 0x2FFF) input(1);
    program.DeviceInstruction(code, device, n);
    output(0);
  }
  program.DeviceInstruction(0x3FFF, 'S', 0);
  program.DeviceInstruction(0xDFFF, 'Y', 1);
  input(2);
  program.DeviceInstruction(0xEFFF, 'Y', 1);
  for (const uint16_t code : {0x01CA, 0x01CB}) {
    program.WithDevice(code, 'X', 3);
    output(2);
  }
  for (const uint16_t code : {0x01CC, 0x01CD, 0x01CE, 0x01CF}) {
    input(3);
    program.WithDevice(code, 'M', 1500);
    output(2);
  }
  input(4);
  program.Plain(0xFFFD);  // INV
  output(3);
  for (const uint16_t block : {0xFFF8, 0xFFF9}) {  // ANB, ORB
    input(5);
    input(6);
    program.Plain(block);
    output(4);
  }
  input(7);
  program.Plain(0xFFFA);  // MPS
  program.DeviceInstruction(0x4FFF, 'X', 010);
  output(5);
  program.Plain(0xFFFB);  // MRD
  program.DeviceInstruction(0x4FFF, 'X', 011);
  output(6);
  program.Plain(0xFFFC);  // MPP
  output(7);
  // Outputs with operand words.
  for (const auto& [code, device, n] : std::vector<std::tuple<uint16_t, char, int>>{
           {0x0002, 'Y', 1}, {0x0003, 'M', 2000}, {0x0004, 'S', 300}, {0x0005, 'M', 8034}, {0x0006, 'S', 10},
           {0x0007, 'M', 10}, {0x0008, 'M', 20}, {0x0009, 'Y', 2}, {0x000C, 'T', 5}}) {
    input(10);
    program.WithDevice(code, device, n);
  }
  input(11);
  program.ResetWord(Word('D', 100));
  input(12);
  program.TimerCounter('T', 5, K(50));
  input(13);
  program.TimerCounter('T', 6, Word('D', 10));
  input(14);
  program.TimerCounter('C', 5, K(10));
  // Application instructions and compare contacts, in the order of the code table.
  for (size_t i = 0; i < FxInstructionCodeCount; ++i) {
    const FxInstructionCode& record = FxInstructionCodeTable[i];
    if (record.code == 0x0010 || record.code == 0x1010 || record.code == 0x0012 || record.code == 0x1012) continue;
    if (IsCompareContact(record.code)) {  // LD, AND and OR forms
      const std::vector<PmwOperand> operands = {Word('D', 0), K(100)};
      if (record.kind != FxKindLoad) input(15);
      program.Applied(static_cast<uint16_t>(record.code), operands);
      output(10);
      continue;
    }
    if (!IsApplied(record.code) || record.kind == FxKindStandalone) continue;
    const int32_t base = record.code & 0x0FFE;
    const std::wstring name = FxInstructionCodeTable[FindFxInstructionCode(base)].mnemonic;
    const auto entry = std::find_if(AppliedTable().begin(), AppliedTable().end(),
                                    [&](const AppliedOperands& e) { return name == e.mnemonic; });
    if (entry == AppliedTable().end()) {
      ADD_FAILURE() << "no operands for " << U(name);
      continue;
    }
    const bool wide = (record.code & 1) != 0;
    program.DeviceInstruction(0x2FFF, 'M', 8000);
    program.Applied(static_cast<uint16_t>(record.code), wide && !entry->wide.empty() ? entry->wide : entry->operands);
  }
  // Program flow: interrupts, jumps, master control, a loop, subroutine and interrupt routine.
  program.Applied(0x0018, {});  // EI
  input(20);
  program.Applied(0x0010, {P(10)});  // CJ
  input(21);
  program.Applied(0x1010, {P(10)});  // CJP
  input(22);
  program.MasterControl(0, 'M', 100);
  input(23);
  output(20);
  program.MasterControlReset(0);
  program.Applied(0x0020, {K(3)});  // FOR
  program.DeviceInstruction(0x2FFF, 'M', 8000);
  program.Applied(0x0040, {Word('D', 0)});  // INC
  program.Applied(0x0022, {});  // NEXT
  program.Label('P', 10);
  input(24);
  program.Applied(0x0012, {P(20)});  // CALL
  input(25);
  program.Applied(0x1012, {P(20)});  // CALLP
  program.Applied(0x001A, {});  // DI
  program.Applied(0x001C, {});  // FEND
  program.Label('P', 20);
  program.DeviceInstruction(0x2FFF, 'M', 8000);
  output(21);
  program.Applied(0x0014, {});  // SRET
  program.Label('I', 1);
  program.DeviceInstruction(0x2FFF, 'M', 8000);
  output(22);
  program.Applied(0x0016, {});  // IRET
  program.Plain(0x000F);       // END
  return program;
}

std::wstring ReportText(const CompileReport& report) {
  std::wstring text;
  for (const std::wstring& line : report.Lines) text += line + L"\n";
  return text;
}

TEST(ShippedFxType, APmwProgramWithEveryFxCodeImportsAndCompiles) {
  testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", kLanguageEnglish);
  AppEnvironment* env_ = &shipped.Env();
  const PmwProgram program = EveryCodeProgram();
  for (size_t i = 0; i < FxInstructionCodeCount; ++i) {
    const FxInstructionCode& record = FxInstructionCodeTable[i];
    if (record.kind == FxKindStepLadder) continue;
    EXPECT_EQ(program.Codes().count(record.code), 1u) << "unused code " << std::hex << record.code;
  }
  const std::wstring path = platform::FromUtf8Lossy(shipped.Dir().File("every_code.pmw"));
  ASSERT_TRUE(platform::WriteFileBytes(path, program.FileBytes()));

  try {
    ImportPmwFile(path);
  } catch (const ExceptionError& error) {
    FAIL() << U(error.Message());
  }
  const Project& project = CurrentProject();
  ASSERT_EQ(project.Type->Name(), L"CPU-Feldrin-FX");
  size_t lines = 0;
  std::set<std::wstring> operands;
  for (const Network& network : project.Program.GetProgramPage(kMainProgramKey).Networks()) {
    for (const StlLine& line : network.Lines) {
      if (line.Mnemonic.empty()) continue;
      ++lines;
      operands.insert(line.Operands.begin(), line.Operands.end());
    }
  }
  EXPECT_EQ(lines, static_cast<size_t>(program.Count()));
  // The operand forms the decoder writes for the FX devices are all there (as the statement
  // list writes them).
  for (const wchar_t* text : {L"X011", L"K4Y010", L"K4M2000", L"K4M0Z2", L"K100Z1", L"D20V2", L"K100000", L"H00FF",
                              L"D8000", L"Z0", L"V1", L"Z1", L"C235", L"T10", L"S900", L"M8034", L"P10", L"I001",
                              L"N0"}) {
    EXPECT_EQ(operands.count(text), 1u) << U(text);
  }

  // It compiles; the image decodes (as an upload does) into a program that compiles into the
  // same image again.
  CompileReport report;
  BinaryImage image;
  EncodeProgramBlocks(report, image);
  EXPECT_EQ(report.TotalErrors(), 0) << U(ReportText(report));
  ASSERT_FALSE(image.ProgramInstructions.empty());

  env_->ProjectList.emplace_back();
  ASSERT_TRUE(SelectPlcType(*env_, L"CPU-Feldrin-FX"));
  ResetProjectForType(env_->ProjectList.back());
  CompileReport decoding;
  DecodeProgramBlocks(decoding, image);
  EXPECT_EQ(decoding.TotalErrors(), 0) << U(ReportText(decoding));
  CompileReport again;
  BinaryImage image2;
  EncodeProgramBlocks(again, image2);
  EXPECT_EQ(again.TotalErrors(), 0) << U(ReportText(again));
  EXPECT_EQ(image2.ProgramInstructions, image.ProgramInstructions);
  EXPECT_EQ(image2.ProgramConsts, image.ProgramConsts);
}

// The file writes constants as the unsigned number of their bits; a signed slot takes them in the
// signed form of the same bits, a 32-bit counter's set value as it stands.
TEST(ShippedFxType, APmwProgramsUnsignedConstantsComeInSignedForm) {
  testsupport::ShippedEnvironment shipped("CPU-Feldrin-FX", kLanguageEnglish);
  PmwProgram program;
  program.DeviceInstruction(0x2FFF, 'M', 8000);
  program.Applied(0x0028, {K(65535), Word('D', 0)});       // MOV
  program.Applied(0x0028, {K(40000), Word('D', 2)});       // MOV
  program.Applied(0x0029, {K(0xFFFFFFFF), Word('D', 4)});  // DMOV
  program.TimerCounter('C', 200, K(40000));
  program.Plain(0x000F);  // END
  const std::wstring path = platform::FromUtf8Lossy(shipped.Dir().File("unsigned.pmw"));
  ASSERT_TRUE(platform::WriteFileBytes(path, program.FileBytes()));
  try {
    ImportPmwFile(path);
  } catch (const ExceptionError& error) {
    FAIL() << U(error.Message());
  }
  std::vector<std::string> lines;
  for (const Network& network : CurrentProject().Program.GetProgramPage(kMainProgramKey).Networks()) {
    for (const StlLine& line : network.Lines) {
      std::wstring text;
      if (!line.Mnemonic.empty() && FormatStlLine(line, text)) lines.push_back(U(text));
    }
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"LD  M8000", "MOV  K-1, D0", "MOV  K-25536, D2", "DMOV  K-1, D4",
                                             "OUT  C200, K40000", "END"}));
  CompileReport report;
  BinaryImage image;
  EncodeProgramBlocks(report, image);
  EXPECT_EQ(report.TotalErrors(), 0) << U(ReportText(report));
}

}  // namespace
