"""Instruction set of the PLC type CPU-Feldrin-FX: the FX instruction set (basic instructions
LD/AND/OR/OUT with MPS/MRD/MPP and ANB/ORB, and the numbered application instructions with their
32-bit "D" and pulse "P" forms), with FX contacts, coils and one-row FX boxes in the ladder.

Every instruction takes the code that the FX program format gives it as its instruction code in
the compiled image, so the codes of this set are those of the FX instruction code table: basic
instructions their fixed codes, application instruction n the code 0x10 + 2n, its 32-bit form the
next odd code and its pulse forms the code OR 0x1000. verify() checks the set against that table
(core/project/fx_code_table.cpp): one definition for every mnemonic, under one of its codes.

Operands are given by device class (see CLASSES below): which FX devices an operand position
takes, as an operand format that lists them, and the data type its constants and online values
are read in. Constants of values are signed (K-32768 to K32767 in 16-bit positions, K-2147483648
to K2147483647 in 32-bit ones) and a hexadecimal constant is the value's bit pattern (H8000 is
K-32768); the sources of the word logic instructions are bit patterns and show as H. Counts are
unsigned. Every constant carries its K or H, as FX programs write them.

The order of the statement-list definitions is part of the compiled image (definition index 177
has a fixed meaning in the workbench), so new instructions go at the end of the list.
"""

import os
import re

from catalog_gen import ROOT, Library, Operand, key_of, text as T

TYPE_FOLDER = "CPU-Feldrin-FX"
DESCRIPTION = "Instruction set of the PLC type CPU-Feldrin-FX (FX instruction set: statement list with LD/AND/OR/OUT " \
              "and the application instructions, ladder with FX contacts and boxes)."

# The workbench writes the first operand of this statement-list definition as a dotted IPv4
# address when it admits constants; in the FX set no definition takes an address, so the
# definition there must admit no constant in its first operand.
IP_ADDRESS_INSTRUCTION_INDEX = 177

FX_CODE_TABLE = os.path.join(ROOT, "core", "project", "fx_code_table.cpp")


# ---- Operand classes ---------------------------------------------------------------------------
#
# Devices of the memory map (ManagerVar.xml) by width:
#   bit:   X Y (octal), M (M0..M3071, M8000..M8255), S, T and C contacts;
#   word:  KnX KnY KnM KnS (digit groups K1..K4), T, C (C0..C199), D, V, Z;
#   dword: KnX KnY KnM KnS (K1..K8), C (C200..C255), D, Z (Z with V as its high word);
#   labels (byte-wide regions that no data position takes): P, I, N.

DIGIT_IN = ["X", "Y", "M", "S"]
DIGIT_OUT = ["Y", "M", "S"]
WORD_DEVICES = {"W": ["T", "C", "D", "V", "Z"], "D": ["C", "D", "Z"]}
DATA_DEVICES = {"W": ["T", "C", "D"], "D": ["C", "D"]}
INDEXED = set(DIGIT_IN + ["T", "C", "D"])  # regions that admit a V/Z index suffix

WIDTH_LETTER = {"T": "t", "B": "b", "W": "w", "D": "d"}


def fmt(width, items, const=False, index=True):
    """An operand format of the given width ("T", "W" or "D") admitting the listed items (name,
    width or None for the format's width), with a V/Z index suffix where the device takes one
    and index is set, and, with const, K and H constants."""
    head = width + "v" + ("c" if const else "")
    if not items:
        return width + "c:" if const else head + ":"
    fields = []
    for name, item_width in items:
        field = name + "v" + ("z" if index and name in INDEXED else "")
        if item_width is not None and item_width != width:
            field += WIDTH_LETTER[item_width]
        fields.append(field)
    return head + ":+:" + ":".join(fields) + ":"


def at(names, width=None):
    return [(n, width) for n in names]


# Data types of values: signed integers of the position's width.
def int_type(width, const):
    if width == "T":
        return "Bit"
    return "Int" if width == "W" else "Dint"


def count_type(width):
    return "Uint" if width == "W" else "Udint"


def pattern_type(width):
    return "Word" if width == "W" else "Dword"


# name -> function(width of the instruction) -> (format width, items, const, data type or None)
CLASSES = {
    # values: constants, digit groups and word devices
    "S": lambda w: (w, at(DIGIT_IN) + at(WORD_DEVICES[w]), True, None),
    # bit patterns (the word logic sources): constants show as H
    "SB": lambda w: (w, at(DIGIT_IN) + at(WORD_DEVICES[w]), True, pattern_type(w)),
    # data sources: no constants and not the index registers themselves (block and table sources)
    "Sd": lambda w: (w, at(DIGIT_IN) + at(DATA_DEVICES[w]), False, None),
    # destinations: digit groups of writable bits and word devices
    "D": lambda w: (w, at(DIGIT_OUT) + at(WORD_DEVICES[w]), False, None),
    "Dd": lambda w: (w, at(DIGIT_OUT) + at(DATA_DEVICES[w]), False, None),
    # counts and selectors: constants only
    "K": lambda w: (w, [], True, count_type(w)),
    "KD": lambda w: (w, at(["D"]), True, count_type(w)),
    # data registers only
    "R": lambda w: (w, at(["D"]), False, None),
    "TCD": lambda w: ("W", at(["T", "C", "D"]), False, None),
    "TCDVZ": lambda w: ("W", at(["T", "C", "D", "V", "Z"]), False, None),
    # bits
    "B_CONT": lambda w: ("T", at(["X", "Y", "M", "S", "T", "C"]), False, None),
    "B_IN": lambda w: ("T", at(DIGIT_IN), False, None),
    "B_OUT": lambda w: ("T", at(DIGIT_OUT), False, None),
    "B_YM": lambda w: ("T", at(["Y", "M"]), False, None),
    "B_XY": lambda w: ("T", at(["X", "Y"]), False, None),
    "B_X": lambda w: ("T", at(["X"]), False, None),
    "B_Y": lambda w: ("T", at(["Y"]), False, None),
    "B_S": lambda w: ("T", at(["S"]), False, None),
    "B_OUTC": lambda w: ("T", at(["Y", "M", "S", "C"]), False, None),
    # bits and word devices in one position
    "RST": lambda w: ("T", at(["Y", "M", "S", "T", "C"]) + at(["D", "V", "Z"], "W"), False, None),
    "ZRST": lambda w: ("T", at(["Y", "M", "S", "T", "C"]) + at(["D"], "W"), False, None),
    "DECO_S": lambda w: ("W", at(DIGIT_IN, "T") + at(["T", "C", "D", "V", "Z"]), True, "Uint"),
    "DECO_D": lambda w: ("W", at(DIGIT_OUT, "T") + at(["T", "C", "D"]), False, "Int"),
    "ENCO_S": lambda w: ("W", at(DIGIT_IN, "T") + at(["T", "C", "D", "V", "Z"]), False, "Int"),
    # timers and counters by number
    "TIMER": lambda w: ("W", at(["T"]), False, None),
    "CNT": lambda w: (w, at(["C"]), False, None),
    "HSC": lambda w: ("D", at(["C"]), False, None),
    # the timers and counters of the timer and counter coil: T and the 16-bit counters C0 to C199
    # in one definition, the 32-bit counters C200 to C255 in another
    "OUT_TC": lambda w: ("W", at(["T", "C"]), False, "Int"),
    "OUT_C32": lambda w: ("D", at(["C"]), False, "Dint"),
    # up to four ASCII characters as the codes of a double word (ASC)
    "ASCII": lambda w: ("D", [], True, "Dword"),
    # the set value of a timer or 16-bit counter: a data register or a 16-bit constant (K1 to
    # K32767, the slot's range); that of a 32-bit counter: a register pair or a 32-bit constant
    "PRESET": lambda w: ("W", at(["D"]), True, "Int"),
    "PRESET32": lambda w: ("D", at(["D"]), True, "Dint"),
    # the destination of the high-speed compare set: a bit, or the interrupt pointer I010 to I060
    "HSCS_D": lambda w: ("T", at(["Y", "M", "S"]) + at(["I"], "B"), False, None),
    # digit groups of inputs and auxiliary relays (PRUN)
    "KN_XM": lambda w: (w, at(["X", "M"]), False, None),
    "KN_YM": lambda w: (w, at(["Y", "M"]), False, None),
    # real numbers: sources take constants, registers hold 32-bit reals
    "E_S": lambda w: ("D", at(["D"]), True, "Udint"),
    "E_D": lambda w: ("D", at(["D"]), False, "Real"),
    "E_DI": lambda w: ("D", at(["D"]), False, "Dint"),
    # labels and nesting levels
    "PTR": lambda w: ("B", at(["P"]), False, "Uint"),
    "LABEL": lambda w: ("B", at(["P", "I"]), False, "Uint"),
    "NEST": lambda w: ("B", at(["N"]), False, "Uint"),
}


# The special relays the PLC sets, which the program only reads: RUN monitor and initial pulse,
# error, battery and power status (M8000 to M8009), the clock pulses (M8011 to M8014), the zero,
# borrow and carry flags (M8020 to M8022), instruction complete (M8029) and the error flags
# (M8060 to M8069). A position that writes bits or digit groups takes the other special relays
# only.
READ_ONLY_SPECIALS = "M8000 to M8009, M8011 to M8014, M8020 to M8022, M8029, M8060 to M8069"
WRITABLE_SPECIALS = ["M8010", "M8015~M8019", "M8023~M8028", "M8030~M8059", "M8070~M8255"]
WRITTEN_CLASSES = {"D", "Dd", "B_OUT", "B_YM", "B_OUTC", "RST", "ZRST", "HSCS_D", "DECO_D", "KN_YM"}


def operand(name, cls, width, marker=False, index=True, limits=None, addresses=None, **more):
    """The operand slot of a position of the class, in an instruction of the given width ("W" or
    "D"; a width in the class overrides it). Basic instructions (index False) take no V/Z index
    suffix. limits: the values a constant there may take; addresses: the addresses it takes in
    the areas they name; more: the other limits of catalog_gen.Operand. A position that writes
    takes the special relays the program may write only."""
    fwidth, items, const, data_type = CLASSES[cls](width)
    if cls in WRITTEN_CLASSES:
        addresses = WRITABLE_SPECIALS + (addresses or [])
    return Operand(name, fmt(fwidth, items, const, index), data_type or int_type(fwidth, const), marker, limits,
                   addresses=addresses, **more)


# ---- Groups ------------------------------------------------------------------------------------

G_CONTACT = T("Contacts", "触点")
G_CONNECT = T("Connection", "连接")
G_OUTPUT = T("Outputs", "输出")
G_MASTER = T("Master control", "主控")
G_FLOW = T("Program flow", "程序流程")
G_MOVE = T("Move and compare", "传送与比较")
G_MATH = T("Arithmetic and logic", "四则与逻辑运算")
G_SHIFT = T("Rotation and shift", "循环与移位")
G_DATA = T("Data operation", "数据处理")
G_HSP = T("High-speed processing", "高速处理")
G_HANDY = T("Handy instructions", "方便指令")
G_EXTIO = T("External I/O devices", "外部设备 I/O")
G_EXTSER = T("External serial devices", "外部设备 SER")
G_UNITS = T("Special units", "特殊单元")
G_FLOAT = T("Floating point", "浮点运算")
G_CLOCK = T("Real-time clock", "时钟运算")
G_GRAY = T("Gray code", "格雷码")
G_CMPCONT = T("Contact compare", "触点比较")


# ---- Application instructions ------------------------------------------------------------------
#
# (function number, mnemonic, forms, group, names, operands, help, standalone)
# forms: "" the 16-bit form only, "P" with its pulse form, "D" with its 32-bit form, "PD" all four.
# operands: (name, class) followed by any of: a width that fixes the position's width, a range
# (low, high) of its constants, a dict of further options of operand() (index, addresses,
# counts, at_most, read_write).
# standalone: the instruction stands on the power rail (it has no input condition).

# Operand options of the table: read and written back; the high-speed outputs and inputs and the
# counter interrupt pointers an instruction takes (without an index: a fixed device).
RW = {"read_write": True}
PULSE_OUTPUTS = {"addresses": ["Y000~Y001"], "index": False}
SPEED_INPUTS = {"addresses": ["X000~X005"], "index": False}
COUNTER_INTERRUPTS = ["I010", "I020", "I030", "I040", "I050", "I060"]


def A(fnc, name, forms, group, names, operands, help_text, standalone=False):
    return (fnc, name, forms, group, names, operands, help_text, standalone)


APPLIED = [
    # Program flow
    A(0, "CJ", "P", G_FLOW, T("Conditional jump", "条件跳转"), [("P", "PTR")],
      T("Jumps to the label P while the condition is on; the instructions skipped keep their outputs.",
        "条件为 ON 时跳转到标号 P；被跳过的指令保持其输出。")),
    A(1, "CALL", "P", G_FLOW, T("Call subroutine", "子程序调用"), [("P", "PTR")],
      T("Calls the subroutine that starts at the label P after FEND; SRET returns.",
        "调用 FEND 之后从标号 P 开始的子程序，由 SRET 返回。")),
    A(2, "SRET", "", G_FLOW, T("Subroutine return", "子程序返回"), [],
      T("Ends the subroutine and returns to the instruction after its CALL.", "结束子程序，返回到 CALL 之后的指令。"),
      standalone=True),
    A(3, "IRET", "", G_FLOW, T("Interrupt return", "中断返回"), [],
      T("Ends the interrupt routine and returns to the interrupted program.", "结束中断程序，返回被中断的程序。"),
      standalone=True),
    A(4, "EI", "", G_FLOW, T("Enable interrupts", "允许中断"), [],
      T("Enables the interrupts from here on; the interrupt routines start at the labels I.",
        "从此处起允许中断；中断程序从标号 I 开始。"), standalone=True),
    A(5, "DI", "", G_FLOW, T("Disable interrupts", "禁止中断"), [],
      T("Disables the interrupts from here on until the next EI.", "从此处起禁止中断，直到下一个 EI。"), standalone=True),
    A(6, "FEND", "", G_FLOW, T("End of main program", "主程序结束"), [],
      T("Ends the main program; subroutines and interrupt routines follow it.", "结束主程序；其后为子程序和中断程序。"),
      standalone=True),
    A(7, "WDT", "P", G_FLOW, T("Watchdog timer refresh", "监视定时器刷新"), [],
      T("Restarts the watchdog timer so that a long scan does not stop the PLC.", "重新启动监视定时器，以免长扫描使 PLC 停止。")),
    A(8, "FOR", "", G_FLOW, T("Start of loop", "循环开始"), [("S", "S", (1, 32767))],
      T("Repeats the instructions up to NEXT S times (a constant K1 to K32767).",
        "重复执行到 NEXT 为止的指令 S 次（常数为 K1 至 K32767）。"), standalone=True),
    A(9, "NEXT", "", G_FLOW, T("End of loop", "循环结束"), [],
      T("Ends the loop that FOR opened.", "结束 FOR 开始的循环。"), standalone=True),
    # Move and compare
    A(10, "CMP", "PD", G_MOVE, T("Compare", "比较"), [("S1", "S"), ("S2", "S"), ("D", "B_OUT")],
      T("Compares S1 with S2: D is on when S1 > S2, D+1 when S1 = S2, D+2 when S1 < S2.",
        "比较 S1 与 S2：S1 > S2 时 D 为 ON，S1 = S2 时 D+1 为 ON，S1 < S2 时 D+2 为 ON。")),
    A(11, "ZCP", "PD", G_MOVE, T("Zone compare", "区间比较"), [("S1", "S"), ("S2", "S"), ("S", "S"), ("D", "B_OUT")],
      T("Compares S with the zone S1..S2: D is on below it, D+1 inside it, D+2 above it.",
        "将 S 与区间 S1..S2 比较：小于时 D 为 ON，区间内时 D+1 为 ON，大于时 D+2 为 ON。")),
    A(12, "MOV", "PD", G_MOVE, T("Move", "传送"), [("S", "S"), ("D", "D")],
      T("Copies S to D.", "把 S 复制到 D。")),
    A(13, "SMOV", "P", G_MOVE, T("Shift move", "移位传送"),
      [("S", "S"), ("m1", "K", (1, 4)), ("m2", "K", (1, 4)), ("D", "D"), ("n", "K", (1, 4))],
      T("Moves m2 BCD digits of S, starting at digit m1, into D from digit n on.",
        "把 S 从第 m1 位起的 m2 个 BCD 位传送到 D 从第 n 位起的位置。")),
    A(14, "CML", "PD", G_MOVE, T("Complement", "取反传送"), [("S", "SB"), ("D", "D")],
      T("Writes the inverted bits of S to D.", "把 S 按位取反后写入 D。")),
    A(15, "BMOV", "P", G_MOVE, T("Block move", "成批传送"), [("S", "Sd"), ("D", "Dd"), ("n", "K", (1, 512))],
      T("Copies the n values (K1 to K512) starting at S to the n places starting at D.",
        "把从 S 开始的 n 个数据（K1 至 K512）复制到从 D 开始的 n 个地址。")),
    A(16, "FMOV", "PD", G_MOVE, T("Fill move", "多点传送"), [("S", "S"), ("D", "Dd"), ("n", "K", (1, 512))],
      T("Writes S into the n places (K1 to K512) starting at D.", "把 S 写入从 D 开始的 n 个地址（K1 至 K512）。")),
    A(17, "XCH", "PD", G_MOVE, T("Exchange", "交换"), [("D1", "D", RW), ("D2", "D", RW)],
      T("Exchanges the values of D1 and D2.", "交换 D1 与 D2 的值。")),
    A(18, "BCD", "PD", G_MOVE, T("Binary to BCD", "BIN 转 BCD"), [("S", "S"), ("D", "D")],
      T("Converts the binary value S into BCD in D.", "把二进制数 S 转换为 BCD 码存入 D。")),
    A(19, "BIN", "PD", G_MOVE, T("BCD to binary", "BCD 转 BIN"), [("S", "S"), ("D", "D")],
      T("Converts the BCD value S into binary in D.", "把 BCD 码 S 转换为二进制数存入 D。")),
    # Arithmetic and logic
    A(20, "ADD", "PD", G_MATH, T("Add", "加法"), [("S1", "S"), ("S2", "S"), ("D", "D")],
      T("D = S1 + S2; sets the zero, borrow and carry flags.", "D = S1 + S2；设置零、借位和进位标志。")),
    A(21, "SUB", "PD", G_MATH, T("Subtract", "减法"), [("S1", "S"), ("S2", "S"), ("D", "D")],
      T("D = S1 - S2; sets the zero, borrow and carry flags.", "D = S1 - S2；设置零、借位和进位标志。")),
    A(22, "MUL", "PD", G_MATH, T("Multiply", "乘法"), [("S1", "S"), ("S2", "S"), ("D", "D", "D")],
      T("D = S1 * S2; the product has twice the width of the factors.", "D = S1 * S2；积的宽度为因数的两倍。")),
    A(23, "DIV", "PD", G_MATH, T("Divide", "除法"), [("S1", "S"), ("S2", "S"), ("D", "D", "D")],
      T("Divides S1 by S2: the quotient goes to D, the remainder to the next word (pair) after it.",
        "S1 除以 S2：商存入 D，余数存入其后的字（字对）。")),
    A(24, "INC", "PD", G_MATH, T("Increment", "加 1"), [("D", "D", RW)],
      T("Increment: adds 1 to D each scan while the condition is on (INCP once on its rising edge). No flag is "
        "set: K32767 plus 1 gives K-32768, and in the 32-bit form DINC K2147483647 plus 1 gives K-2147483648.",
        "加 1：条件为 ON 时每个扫描周期把 D 加 1（INCP 只在条件的上升沿加一次）。不影响标志位：K32767 加 1 得 "
        "K-32768，32 位形式 DINC 中 K2147483647 加 1 得 K-2147483648。")),
    A(25, "DEC", "PD", G_MATH, T("Decrement", "减 1"), [("D", "D", RW)],
      T("Decrement: subtracts 1 from D each scan while the condition is on (DECP once on its rising edge). No "
        "flag is set: K-32768 minus 1 gives K32767, and in the 32-bit form DDEC K-2147483648 minus 1 gives "
        "K2147483647.",
        "减 1：条件为 ON 时每个扫描周期把 D 减 1（DECP 只在条件的上升沿减一次）。不影响标志位：K-32768 减 1 得 "
        "K32767，32 位形式 DDEC 中 K-2147483648 减 1 得 K2147483647。")),
    A(26, "WAND", "PD", G_MATH, T("Logical word AND", "逻辑字与"), [("S1", "SB"), ("S2", "SB"), ("D", "D")],
      T("D = S1 AND S2, bit by bit.", "D = S1 与 S2，按位运算。")),
    A(27, "WOR", "PD", G_MATH, T("Logical word OR", "逻辑字或"), [("S1", "SB"), ("S2", "SB"), ("D", "D")],
      T("D = S1 OR S2, bit by bit.", "D = S1 或 S2，按位运算。")),
    A(28, "WXOR", "PD", G_MATH, T("Logical exclusive OR", "逻辑字异或"), [("S1", "SB"), ("S2", "SB"), ("D", "D")],
      T("D = S1 XOR S2, bit by bit.", "D = S1 异或 S2，按位运算。")),
    A(29, "NEG", "PD", G_MATH, T("Negation", "求补码"), [("D", "D", RW)],
      T("D = -D (two's complement).", "D = -D（二进制补码）。")),
    # Rotation and shift
    A(30, "ROR", "PD", G_SHIFT, T("Rotate right", "循环右移"), [("D", "D", RW), ("n", "K")],
      T("Rotates D right by n bits; the last bit rotated goes to the carry flag.", "把 D 循环右移 n 位；最后移出的位进入进位标志。")),
    A(31, "ROL", "PD", G_SHIFT, T("Rotate left", "循环左移"), [("D", "D", RW), ("n", "K")],
      T("Rotates D left by n bits; the last bit rotated goes to the carry flag.", "把 D 循环左移 n 位；最后移出的位进入进位标志。")),
    A(32, "RCR", "PD", G_SHIFT, T("Rotate right with carry", "带进位循环右移"), [("D", "D", RW), ("n", "K")],
      T("Rotates D and the carry flag right by n bits.", "把 D 连同进位标志循环右移 n 位。")),
    A(33, "RCL", "PD", G_SHIFT, T("Rotate left with carry", "带进位循环左移"), [("D", "D", RW), ("n", "K")],
      T("Rotates D and the carry flag left by n bits.", "把 D 连同进位标志循环左移 n 位。")),
    A(34, "SFTR", "P", G_SHIFT, T("Bit shift right", "位右移"), [("S", "B_IN"), ("D", "B_OUT", RW), ("n1", "K", (1, 1024)), ("n2", "K", (1, 1024), {"at_most": "n1"})],
      T("Shifts the n1 bits starting at D right by n2 bits and fills in the n2 bits starting at S "
        "(1 <= n2 <= n1 <= 1024).",
        "把从 D 开始的 n1 位右移 n2 位，并移入从 S 开始的 n2 位（1 <= n2 <= n1 <= 1024）。")),
    A(35, "SFTL", "P", G_SHIFT, T("Bit shift left", "位左移"), [("S", "B_IN"), ("D", "B_OUT", RW), ("n1", "K", (1, 1024)), ("n2", "K", (1, 1024), {"at_most": "n1"})],
      T("Shifts the n1 bits starting at D left by n2 bits and fills in the n2 bits starting at S "
        "(1 <= n2 <= n1 <= 1024).",
        "把从 D 开始的 n1 位左移 n2 位，并移入从 S 开始的 n2 位（1 <= n2 <= n1 <= 1024）。")),
    A(36, "WSFR", "P", G_SHIFT, T("Word shift right", "字右移"), [("S", "Sd"), ("D", "Dd", RW), ("n1", "K", (1, 1024)), ("n2", "K", (1, 1024), {"at_most": "n1"})],
      T("Shifts the n1 words starting at D right by n2 words and fills in the n2 words starting at S "
        "(1 <= n2 <= n1 <= 1024).",
        "把从 D 开始的 n1 个字右移 n2 个字，并移入从 S 开始的 n2 个字（1 <= n2 <= n1 <= 1024）。")),
    A(37, "WSFL", "P", G_SHIFT, T("Word shift left", "字左移"), [("S", "Sd"), ("D", "Dd", RW), ("n1", "K", (1, 1024)), ("n2", "K", (1, 1024), {"at_most": "n1"})],
      T("Shifts the n1 words starting at D left by n2 words and fills in the n2 words starting at S "
        "(1 <= n2 <= n1 <= 1024).",
        "把从 D 开始的 n1 个字左移 n2 个字，并移入从 S 开始的 n2 个字（1 <= n2 <= n1 <= 1024）。")),
    A(38, "SFWR", "P", G_SHIFT, T("Shift register write", "移位寄存器写入"), [("S", "S"), ("D", "Dd", RW), ("n", "K")],
      T("Writes S into the first-in first-out table of n words at D; D holds the entry count.",
        "把 S 写入从 D 开始的 n 个字的先入先出表；D 为当前数据个数。")),
    A(39, "SFRD", "P", G_SHIFT, T("Shift register read", "移位寄存器读出"), [("S", "Sd", RW), ("D", "D"), ("n", "K")],
      T("Reads the oldest entry of the first-in first-out table of n words at S into D.",
        "从 S 开始的 n 个字的先入先出表中读出最早的数据存入 D。")),
    # Data operation
    A(40, "ZRST", "P", G_DATA, T("Zone reset", "成批复位"), [("D1", "ZRST"), ("D2", "ZRST")],
      T("Resets every device from D1 to D2 (bits, timers, counters or data registers of one kind).",
        "把 D1 到 D2 之间的同类元件（位、定时器、计数器或数据寄存器）全部复位。")),
    A(41, "DECO", "P", G_DATA, T("Decode", "译码"), [("S", "DECO_S"), ("D", "DECO_D"), ("n", "K", (1, 8))],
      T("Sets the bit of D whose number is held in the n low bits of S.", "把 D 中编号等于 S 低 n 位数值的位置 ON。")),
    A(42, "ENCO", "P", G_DATA, T("Encode", "编码"), [("S", "ENCO_S"), ("D", "TCDVZ"), ("n", "K", (1, 8))],
      T("Writes the number of the highest bit that is on among the 2^n bits of S into D.",
        "把 S 的 2^n 个位中最高的 ON 位的编号写入 D。")),
    A(43, "SUM", "PD", G_DATA, T("Sum of active bits", "ON 位数"), [("S", "S"), ("D", "D")],
      T("Counts the bits of S that are on and writes the count into D.", "统计 S 中为 ON 的位数，写入 D。")),
    A(44, "BON", "PD", G_DATA, T("Check specified bit", "ON 位判定"), [("S", "S"), ("D", "B_OUT"), ("n", "K")],
      T("Turns D on when bit n of S is on.", "S 的第 n 位为 ON 时 D 为 ON。")),
    A(45, "MEAN", "PD", G_DATA, T("Mean", "平均值"), [("S", "Sd"), ("D", "D"), ("n", "K")],
      T("Writes the mean of the n values starting at S into D.", "把从 S 开始的 n 个数据的平均值写入 D。")),
    A(46, "ANS", "", G_DATA, T("Timed annunciator set", "报警器置位"), [("S", "TIMER"), ("m", "K", (1, 32767)), ("D", "B_S")],
      T("Sets the annunciator state D when the condition stays on for m x 100 ms, timed by S.",
        "条件持续 m x 100 ms（由定时器 S 计时）后置位报警状态 D。")),
    A(47, "ANR", "P", G_DATA, T("Annunciator reset", "报警器复位"), [],
      T("Resets the lowest annunciator state that is set.", "复位已置位的最小编号报警状态。")),
    A(48, "SQR", "PD", G_DATA, T("Square root", "开平方"), [("S", "KD"), ("D", "R")],
      T("D = the integer square root of S.", "D = S 的整数平方根。")),
    A(49, "FLT", "PD", G_DATA, T("Integer to floating point", "整数转浮点数"), [("S", "R"), ("D", "E_D")],
      T("Converts the integer S into a 32-bit real in D.", "把整数 S 转换为 32 位实数存入 D。")),
    # High-speed processing
    A(50, "REF", "P", G_HSP, T("Refresh", "输入输出刷新"), [("D", "B_XY"), ("n", "K")],
      T("Refreshes the n inputs or outputs starting at D at once (D a multiple of 10, n a multiple of 8).",
        "立即刷新从 D 开始的 n 个输入或输出（D 为 10 的倍数，n 为 8 的倍数）。")),
    A(51, "REFF", "P", G_HSP, T("Refresh and filter adjust", "滤波调整"), [("n", "K", (0, 60))],
      T("Refreshes the inputs X000..X017 with an input filter of n ms.", "以 n ms 的输入滤波刷新输入 X000..X017。")),
    A(52, "MTR", "", G_HSP, T("Input matrix", "矩阵输入"), [("S", "B_X"), ("D1", "B_Y"), ("D2", "B_OUT"), ("n", "K")],
      T("Reads an 8 x n input matrix: 8 inputs from S, n strobe outputs from D1, results from D2.",
        "读取 8 x n 输入矩阵：S 起 8 个输入，D1 起 n 个选通输出，结果存入 D2 起的位。")),
    A(53, "HSCS", "D", G_HSP, T("High-speed counter set", "高速计数器置位"),
      [("S1", "S"), ("S2", "HSC"), ("D", "HSCS_D", {"addresses": COUNTER_INTERRUPTS})],
      T("Sets D at once when the high-speed counter S2 reaches S1; with one of the counter interrupt pointers "
        "I010, I020, I030, I040, I050 or I060 as D the interrupt routine of that label runs instead.",
        "高速计数器 S2 的当前值等于 S1 时立即置位 D；D 为计数器中断指针 I010、I020、I030、I040、I050 或 I060 之一时"
        "改为执行该标号的中断程序。")),
    A(54, "HSCR", "D", G_HSP, T("High-speed counter reset", "高速计数器复位"), [("S1", "S"), ("S2", "HSC"), ("D", "B_OUTC")],
      T("Resets D at once when the high-speed counter S2 reaches S1.", "高速计数器 S2 的当前值等于 S1 时立即复位 D。")),
    A(55, "HSZ", "D", G_HSP, T("High-speed zone compare", "高速区间比较"),
      [("S1", "S"), ("S2", "S"), ("S", "HSC"), ("D", "B_OUT")],
      T("Compares the high-speed counter S with the zone S1..S2 at once: D, D+1, D+2 as for ZCP.",
        "立即将高速计数器 S 与区间 S1..S2 比较：D、D+1、D+2 同 ZCP。")),
    A(56, "SPD", "", G_HSP, T("Speed detection", "速度检测"),
      [("S1", "B_X", SPEED_INPUTS), ("S2", "S"), ("D", "TCDVZ")],
      T("Counts the pulses at input S1 (X000 to X005) during S2 ms and writes the count into D.",
        "在 S2 ms 内计数输入 S1（X000 至 X005）的脉冲，结果写入 D。")),
    A(57, "PLSY", "D", G_HSP, T("Pulse output", "脉冲输出"), [("S1", "S"), ("S2", "S"), ("D", "B_Y", PULSE_OUTPUTS)],
      T("Outputs S2 pulses of frequency S1 Hz at output D (Y000 or Y001).", "在输出 D（Y000 或 Y001）上输出 S2 个频率为 S1 Hz 的脉冲。")),
    A(58, "PWM", "", G_HSP, T("Pulse width modulation", "脉宽调制"), [("S1", "S"), ("S2", "S"), ("D", "B_Y", PULSE_OUTPUTS)],
      T("Outputs pulses of width S1 ms and period S2 ms at output D (Y000 or Y001).",
        "在输出 D（Y000 或 Y001）上输出脉宽 S1 ms、周期 S2 ms 的脉冲。")),
    A(59, "PLSR", "D", G_HSP, T("Pulse output with ramp", "带加减速的脉冲输出"),
      [("S1", "S"), ("S2", "S"), ("S3", "S"), ("D", "B_Y", PULSE_OUTPUTS)],
      T("Outputs S2 pulses at up to S1 Hz at output D (Y000 or Y001), accelerating and decelerating in S3 ms.",
        "在输出 D（Y000 或 Y001）上以最高 S1 Hz 输出 S2 个脉冲，加减速时间为 S3 ms。")),
    # Handy instructions
    A(60, "IST", "", G_HANDY, T("Initial state", "状态初始化"), [("S", "B_IN"), ("D1", "B_S"), ("D2", "B_S")],
      T("Sets up the step ladder for manual and automatic operation: mode inputs from S, states D1 to D2.",
        "为手动和自动运行设置步进梯形图：模式输入从 S 开始，状态为 D1 到 D2。")),
    A(61, "SER", "PD", G_HANDY, T("Search data stack", "数据查找"), [("S1", "Sd"), ("S2", "S"), ("D", "Dd"), ("n", "KD")],
      T("Searches the n values starting at S1 for S2; writes the count, first, last, minimum and maximum positions into D.",
        "在从 S1 开始的 n 个数据中查找 S2；把个数、首位置、末位置、最小值和最大值位置写入 D。")),
    A(62, "ABSD", "D", G_HANDY, T("Absolute drum sequencer", "凸轮控制（绝对）"),
      [("S1", "Sd"), ("S2", "CNT"), ("D", "B_OUT"), ("n", "K")],
      T("Sets the n outputs starting at D by the on and off points in the table S1 and the counter S2.",
        "按表 S1 中的接通和断开点及计数器 S2 设置从 D 开始的 n 个输出。")),
    A(63, "INCD", "", G_HANDY, T("Incremental drum sequencer", "凸轮控制（增量）"),
      [("S1", "Sd"), ("S2", "CNT"), ("D", "B_OUT"), ("n", "K")],
      T("Switches through the n outputs starting at D by the step counts in the table S1, counted in S2 and S2+1.",
        "按表 S1 中的步长依次切换从 D 开始的 n 个输出，由 S2 和 S2+1 计数。")),
    A(64, "TTMR", "", G_HANDY, T("Teaching timer", "示教定时器"), [("D", "R"), ("n", "K", (0, 2))],
      T("Measures how long the condition is on and stores it multiplied by 10^n in D.", "测量条件为 ON 的时间，乘以 10^n 后存入 D。")),
    A(65, "STMR", "", G_HANDY, T("Special timer", "特殊定时器"), [("S", "TIMER"), ("m", "K", (1, 32767)), ("D", "B_OUT")],
      T("Timer S with the set value m x 100 ms drives the off-delay, one-shot and flicker outputs D to D+3.",
        "定时器 S（设定值 m x 100 ms）驱动断开延时、单脉冲和闪烁输出 D 到 D+3。")),
    A(66, "ALT", "P", G_HANDY, T("Alternate state", "交替输出"), [("D", "B_OUT", RW)],
      T("Inverts D on each rising edge of the condition.", "条件每次由 OFF 变 ON 时把 D 取反。")),
    A(67, "RAMP", "", G_HANDY, T("Ramp", "斜坡信号"), [("S1", "R"), ("S2", "R"), ("D", "R"), ("n", "K")],
      T("Moves D from S1 to S2 in n scans.", "在 n 个扫描周期内使 D 从 S1 变化到 S2。")),
    A(68, "ROTC", "", G_HANDY, T("Rotary table control", "旋转工作台控制"),
      [("S", "R"), ("m1", "K"), ("m2", "K"), ("D", "B_OUT")],
      T("Brings the called position of a rotary table of m1 positions the shorter way round (m2 low-speed positions).",
        "使有 m1 个位置的旋转工作台沿最短方向转到调用位置（m2 为低速区位置数）。")),
    A(69, "SORT", "", G_HANDY, T("Sort table", "数据排序"), [("S", "R"), ("m1", "K"), ("m2", "K"), ("D", "R"), ("n", "KD")],
      T("Sorts the table of m1 rows and m2 columns at S by column n into D.", "按第 n 列把 S 处 m1 行 m2 列的表排序后存入 D。")),
    # External I/O devices
    A(70, "TKY", "D", G_EXTIO, T("Ten-key input", "十键输入"), [("S", "B_IN"), ("D1", "D"), ("D2", "B_OUT")],
      T("Reads the ten keys at S as digits into D1; D2 to D2+9 show the key pressed.", "把 S 起的十个按键作为数字读入 D1；D2 到 D2+9 表示按下的键。")),
    A(71, "HKY", "D", G_EXTIO, T("Hexadecimal key input", "十六键输入"),
      [("S", "B_X"), ("D1", "B_Y"), ("D2", "TCDVZ"), ("D3", "B_OUT")],
      T("Scans a 4 x 4 key matrix (inputs S, strobes D1) into D2; D3 shows the function keys.",
        "扫描 4 x 4 键盘矩阵（输入 S，选通 D1）读入 D2；D3 表示功能键。")),
    A(72, "DSW", "", G_EXTIO, T("Digital switch", "数字开关"), [("S", "B_X"), ("D1", "B_Y"), ("D2", "TCDVZ"), ("n", "K")],
      T("Reads n groups of four BCD thumbwheel switches at S (strobes D1) into D2.", "读取 S 处 n 组四位 BCD 拨码开关（选通 D1）存入 D2。")),
    A(73, "SEGD", "P", G_EXTIO, T("Seven-segment decode", "七段译码"), [("S", "S"), ("D", "D")],
      T("Writes the seven-segment pattern of the low hexadecimal digit of S into D.", "把 S 低位十六进制数字的七段码写入 D。")),
    A(74, "SEGL", "", G_EXTIO, T("Seven-segment with latch", "带锁存七段显示"), [("S", "S"), ("D", "B_Y"), ("n", "K", (0, 7))],
      T("Shows S on four-digit latched seven-segment displays driven from D (n selects the logic).",
        "在由 D 驱动的四位带锁存七段显示器上显示 S（n 选择逻辑）。")),
    A(75, "ARWS", "", G_EXTIO, T("Arrow switch", "方向开关"), [("S", "B_IN"), ("D1", "TCDVZ"), ("D2", "B_Y"), ("n", "K")],
      T("Edits the BCD value D1 with four arrow keys at S and shows it on the displays at D2.",
        "用 S 处的四个方向键修改 BCD 值 D1，并在 D2 的显示器上显示。")),
    A(76, "ASC", "", G_EXTIO, T("ASCII code", "ASCII 码转换"), [("S", "ASCII"), ("D", "TCD")],
      T("Stores the ASCII characters S in D and D+1, two to a word, the first in the low byte. S is written as the "
        "codes of up to four characters, the first character last: H44434241 for ABCD (a constant here holds 32 bits, "
        "so a text of eight characters takes two ASC instructions).",
        "把 ASCII 字符 S 存入 D 和 D+1，每字两个字符，第一个字符在低字节。S 写作最多四个字符的编码，第一个字符在最后："
        "ABCD 写作 H44434241（这里的常数为 32 位，八个字符的文本需要两条 ASC 指令）。")),
    A(77, "PR", "", G_EXTIO, T("Print", "ASCII 码打印"), [("S", "TCD"), ("D", "B_Y")],
      T("Outputs the ASCII characters at S one by one on the eight outputs starting at D.", "把 S 处的 ASCII 字符逐个输出到从 D 开始的八个输出。")),
    # External serial devices
    A(78, "FROM", "PD", G_EXTSER, T("Read from special unit", "特殊单元读出"),
      [("m1", "K", (0, 7)), ("m2", "KD"), ("D", "D"), ("n", "KD")],
      T("Reads n words from buffer memory m2 of the special unit m1 into D.", "从特殊单元 m1 的缓冲存储器 m2 读出 n 个字存入 D。")),
    A(79, "TO", "PD", G_EXTSER, T("Write to special unit", "特殊单元写入"),
      [("m1", "K", (0, 7)), ("m2", "KD"), ("S", "S"), ("n", "KD")],
      T("Writes n words from S into buffer memory m2 of the special unit m1.", "把从 S 开始的 n 个字写入特殊单元 m1 的缓冲存储器 m2。")),
    A(80, "RS", "", G_EXTSER, T("Serial communication", "串行通信"), [("S", "R"), ("m", "KD"), ("D", "R"), ("n", "KD")],
      T("Sends m bytes from S and receives up to n bytes into D over the serial port.", "经串口发送从 S 开始的 m 个字节，并接收最多 n 个字节存入 D。")),
    A(81, "PRUN", "PD", G_EXTSER, T("Octal bit transfer", "八进制位传送"), [("S", "KN_XM"), ("D", "KN_YM")],
      T("Copies the digit groups S to D, counting the bits of M in octal.", "把位组 S 传送到 D，M 的位按八进制计数。")),
    A(82, "ASCI", "P", G_EXTSER, T("Hexadecimal to ASCII", "十六进制转 ASCII"), [("S", "S"), ("D", "Dd"), ("n", "K")],
      T("Converts n hexadecimal digits of S into ASCII characters at D.", "把 S 的 n 个十六进制数字转换为 ASCII 字符存入 D。")),
    A(83, "HEX", "P", G_EXTSER, T("ASCII to hexadecimal", "ASCII 转十六进制"), [("S", "S"), ("D", "Dd"), ("n", "K")],
      T("Converts n ASCII characters at S into hexadecimal digits at D.", "把 S 处的 n 个 ASCII 字符转换为十六进制数字存入 D。")),
    A(84, "CCD", "P", G_EXTSER, T("Check code", "校验码"), [("S", "Sd"), ("D", "Dd"), ("n", "KD")],
      T("Writes the sum and the horizontal parity of the n bytes at S into D and D+1.", "把 S 处 n 个字节的和与水平奇偶校验值写入 D 和 D+1。")),
    A(85, "VRRD", "P", G_EXTSER, T("Volume read", "电位器值读出"), [("S", "K", (0, 7)), ("D", "D")],
      T("Reads the setting of the analog volume S (0 to 7) as 0 to 255 into D.", "把模拟电位器 S（0 到 7）的值读为 0 到 255 存入 D。")),
    A(86, "VRSC", "P", G_EXTSER, T("Volume scale", "电位器刻度"), [("S", "K", (0, 7)), ("D", "D")],
      T("Reads the analog volume S (0 to 7) as a scale position 0 to 10 into D.", "把模拟电位器 S（0 到 7）的值读为刻度 0 到 10 存入 D。")),
    A(88, "PID", "", G_EXTSER, T("PID control loop", "PID 运算"),
      [("S1", "R"), ("S2", "R"), ("S3", "R", RW), ("D", "R")],
      T("Computes the PID output D from the set value S1 and the process value S2 with the 25 parameter words "
        "from S3 on: S3 sampling time Ts (1 to 32767 ms), S3+1 action (bit 0 reverse action, bit 1 input change "
        "alarm, bit 2 output change alarm, bit 5 output limits), S3+2 input filter (0 to 99 %), S3+3 "
        "proportional gain Kp (1 to 32767 %), S3+4 integral time Ti (0 to 32767 x 100 ms, 0: no integral), S3+5 "
        "derivative gain Kd (0 to 100 %), S3+6 derivative time Td (0 to 32767 x 10 ms, 0: no derivative), S3+7 "
        "to S3+19 the loop's own working words, S3+20 and S3+21 the input change alarm limits (increase, "
        "decrease), S3+22 and S3+23 the output change alarm limits or, with bit 5, the output upper and lower "
        "limits, S3+24 the alarms (bit 0 input increase, bit 1 input decrease, bit 2 output increase, bit 3 "
        "output decrease). Set S3 to S3+6 before the loop runs.",
        "用从 S3 开始的 25 个参数字由设定值 S1 和测定值 S2 计算 PID 输出 D：S3 采样时间 Ts（1 至 32767 ms），"
        "S3+1 动作方向（位 0 逆动作，位 1 输入变化量报警，位 2 输出变化量报警，位 5 输出上下限），S3+2 输入滤波"
        "常数（0 至 99 %），S3+3 比例增益 Kp（1 至 32767 %），S3+4 积分时间 Ti（0 至 32767 x 100 ms，0 为无积分），"
        "S3+5 微分增益 Kd（0 至 100 %），S3+6 微分时间 Td（0 至 32767 x 10 ms，0 为无微分），S3+7 至 S3+19 为回路"
        "自用的工作字，S3+20 和 S3+21 为输入变化量报警值（增加、减少），S3+22 和 S3+23 为输出变化量报警值，位 5 "
        "为 1 时为输出上限和下限，S3+24 为报警输出（位 0 输入增加，位 1 输入减少，位 2 输出增加，位 3 输出减少）。"
        "回路运行前应设定 S3 至 S3+6。")),
    # Special units (the first FX units)
    A(89, "OPT", "PD", G_UNITS, T("Optional unit data", "选件单元数据"), [("S", "S"), ("D", "D")],
      T("Exchanges the data S and D with the optional unit.", "与选件单元交换数据 S 和 D。")),
    A(90, "MNET", "P", G_UNITS, T("Mini network", "小型网络"), [("S", "B_IN"), ("D", "B_OUT")],
      T("Exchanges the bits at S and D with the mini network unit.", "与小型网络单元交换 S 和 D 处的位。")),
    A(91, "ANRD", "P", G_UNITS, T("Analog read", "模拟量读出"), [("S", "B_X"), ("D1", "B_Y"), ("n", "K"), ("D2", "D")],
      T("Reads channel n of the analog unit (inputs S, selects D1) into D2.", "读取模拟量单元（输入 S，选择 D1）的通道 n 存入 D2。")),
    A(92, "ANWR", "P", G_UNITS, T("Analog write", "模拟量写入"), [("S", "S"), ("D1", "B_Y"), ("n", "K"), ("D2", "B_OUT")],
      T("Writes S to channel n of the analog unit (outputs D1, busy flag D2).", "把 S 写入模拟量单元（输出 D1，忙标志 D2）的通道 n。")),
    A(93, "RMST", "", G_UNITS, T("Rotary cam start", "旋转凸轮起动"), [("S", "B_X"), ("D1", "B_Y"), ("D2", "B_OUT")],
      T("Starts the rotary cam unit (inputs S, outputs D1, state D2).", "起动旋转凸轮单元（输入 S，输出 D1，状态 D2）。")),
    A(94, "RMWR", "PD", G_UNITS, T("Rotary cam write", "旋转凸轮写入"), [("S", "S"), ("D1", "B_Y"), ("D2", "B_OUT")],
      T("Writes the cam data S to the rotary cam unit (outputs D1, state D2).", "把凸轮数据 S 写入旋转凸轮单元（输出 D1，状态 D2）。")),
    A(95, "RMRD", "PD", G_UNITS, T("Rotary cam read", "旋转凸轮读出"), [("S", "B_X"), ("D1", "D"), ("D2", "B_OUT")],
      T("Reads the cam data of the rotary cam unit (inputs S) into D1 (state D2).", "从旋转凸轮单元（输入 S）读出凸轮数据存入 D1（状态 D2）。")),
    A(96, "RMMN", "P", G_UNITS, T("Rotary cam monitor", "旋转凸轮监视"), [("S", "B_X"), ("D", "D")],
      T("Reads the angle of the rotary cam unit (inputs S) into D.", "把旋转凸轮单元（输入 S）的角度读入 D。")),
    A(97, "BLK", "P", G_UNITS, T("Positioning block", "定位程序块"), [("S", "S"), ("D", "B_Y")],
      T("Starts the positioning block S of the positioning unit at the outputs D.", "在输出 D 的定位单元上起动定位程序块 S。")),
    A(98, "MCDE", "P", G_UNITS, T("Machine code", "机器码"), [("S", "S"), ("D", "B_Y")],
      T("Sends the machine code S to the positioning unit at the outputs D.", "把机器码 S 发送到输出 D 的定位单元。")),
    # Floating point
    A(110, "ECMP", "PD", G_FLOAT, T("Floating point compare", "浮点数比较"), [("S1", "E_S"), ("S2", "E_S"), ("D", "B_OUT")],
      T("Compares the reals S1 and S2: D, D+1, D+2 as for CMP.", "比较实数 S1 与 S2：D、D+1、D+2 同 CMP。")),
    A(111, "EZCP", "PD", G_FLOAT, T("Floating point zone compare", "浮点数区间比较"),
      [("S1", "E_S"), ("S2", "E_S"), ("S", "E_S"), ("D", "B_OUT")],
      T("Compares the real S with the zone S1..S2: D, D+1, D+2 as for ZCP.", "将实数 S 与区间 S1..S2 比较：D、D+1、D+2 同 ZCP。")),
    A(118, "EBCD", "PD", G_FLOAT, T("Floating point to scientific", "浮点数转科学记数"), [("S", "E_D"), ("D", "E_DI")],
      T("Converts the real S into mantissa and exponent (scientific notation) in D and D+1.",
        "把实数 S 转换为尾数和指数（科学记数法）存入 D 和 D+1。")),
    A(119, "EBIN", "PD", G_FLOAT, T("Scientific to floating point", "科学记数转浮点数"), [("S", "E_DI"), ("D", "E_D")],
      T("Converts mantissa S and exponent S+1 (scientific notation) into a real in D.", "把尾数 S 和指数 S+1（科学记数法）转换为实数存入 D。")),
    A(120, "EADD", "PD", G_FLOAT, T("Floating point add", "浮点数加法"), [("S1", "E_S"), ("S2", "E_S"), ("D", "E_D")],
      T("D = S1 + S2 (reals; constants are converted).", "D = S1 + S2（实数；常数自动转换）。")),
    A(121, "ESUB", "PD", G_FLOAT, T("Floating point subtract", "浮点数减法"), [("S1", "E_S"), ("S2", "E_S"), ("D", "E_D")],
      T("D = S1 - S2 (reals; constants are converted).", "D = S1 - S2（实数；常数自动转换）。")),
    A(122, "EMUL", "PD", G_FLOAT, T("Floating point multiply", "浮点数乘法"), [("S1", "E_S"), ("S2", "E_S"), ("D", "E_D")],
      T("D = S1 * S2 (reals; constants are converted).", "D = S1 * S2（实数；常数自动转换）。")),
    A(123, "EDIV", "PD", G_FLOAT, T("Floating point divide", "浮点数除法"), [("S1", "E_S"), ("S2", "E_S"), ("D", "E_D")],
      T("D = S1 / S2 (reals; constants are converted).", "D = S1 / S2（实数；常数自动转换）。")),
    A(127, "ESQR", "PD", G_FLOAT, T("Floating point square root", "浮点数开平方"), [("S", "E_S"), ("D", "E_D")],
      T("D = the square root of the real S.", "D = 实数 S 的平方根。")),
    A(129, "INT", "PD", G_FLOAT, T("Floating point to integer", "浮点数转整数"), [("S", "E_D"), ("D", "R")],
      T("Converts the real S into an integer in D, dropping the fraction.", "把实数 S 舍去小数后转换为整数存入 D。")),
    A(130, "SIN", "PD", G_FLOAT, T("Sine", "正弦"), [("S", "E_D"), ("D", "E_D")],
      T("D = the sine of the real S (radians).", "D = 实数 S（弧度）的正弦。")),
    A(131, "COS", "PD", G_FLOAT, T("Cosine", "余弦"), [("S", "E_D"), ("D", "E_D")],
      T("D = the cosine of the real S (radians).", "D = 实数 S（弧度）的余弦。")),
    A(132, "TAN", "PD", G_FLOAT, T("Tangent", "正切"), [("S", "E_D"), ("D", "E_D")],
      T("D = the tangent of the real S (radians).", "D = 实数 S（弧度）的正切。")),
    A(147, "SWAP", "PD", G_DATA, T("Swap bytes", "高低字节交换"), [("S", "D", RW)],
      T("Exchanges the high and the low byte of S (of each word of S in the 32-bit form).",
        "交换 S 的高字节和低字节（32 位形式中交换每个字）。")),
    # Real-time clock
    A(160, "TCMP", "P", G_CLOCK, T("Time compare", "时钟数据比较"),
      [("S1", "S"), ("S2", "S"), ("S3", "S"), ("S", "TCD"), ("D", "B_OUT")],
      T("Compares the time S1:S2:S3 with the time at S: D, D+1, D+2 as for CMP.", "将时间 S1:S2:S3 与 S 处的时间比较：D、D+1、D+2 同 CMP。")),
    A(161, "TZCP", "P", G_CLOCK, T("Time zone compare", "时钟数据区间比较"),
      [("S1", "TCD"), ("S2", "TCD"), ("S", "TCD"), ("D", "B_OUT")],
      T("Compares the time at S with the times at S1 and S2: D, D+1, D+2 as for ZCP.", "将 S 处的时间与 S1 和 S2 处的时间比较：D、D+1、D+2 同 ZCP。")),
    A(162, "TADD", "P", G_CLOCK, T("Time add", "时钟数据加法"), [("S1", "TCD"), ("S2", "TCD"), ("D", "TCD")],
      T("Adds the times (hour, minute, second) at S1 and S2 into D.", "把 S1 和 S2 处的时间（时、分、秒）相加存入 D。")),
    A(163, "TSUB", "P", G_CLOCK, T("Time subtract", "时钟数据减法"), [("S1", "TCD"), ("S2", "TCD"), ("D", "TCD")],
      T("Subtracts the time at S2 from the time at S1 into D.", "用 S1 处的时间减去 S2 处的时间存入 D。")),
    A(166, "TRD", "P", G_CLOCK, T("Read real-time clock", "时钟数据读出"), [("D", "TCD")],
      T("Reads year, month, day, hour, minute, second and weekday into the seven words at D.",
        "把年、月、日、时、分、秒和星期读入从 D 开始的七个字。")),
    A(167, "TWR", "P", G_CLOCK, T("Set real-time clock", "时钟数据写入"), [("S", "TCD")],
      T("Sets the clock from the seven words at S (year, month, day, hour, minute, second, weekday).",
        "用从 S 开始的七个字（年、月、日、时、分、秒、星期）设置时钟。")),
    # Gray code
    A(170, "GRY", "PD", G_GRAY, T("Binary to Gray code", "二进制转格雷码"), [("S", "S"), ("D", "D")],
      T("Converts the binary value S into Gray code in D.", "把二进制数 S 转换为格雷码存入 D。")),
    A(171, "GBIN", "PD", G_GRAY, T("Gray code to binary", "格雷码转二进制"), [("S", "S"), ("D", "D")],
      T("Converts the Gray code S into a binary value in D.", "把格雷码 S 转换为二进制数存入 D。")),
]

# The 32-bit forms whose names do not follow the "D" + name rule.
DOUBLE_NAMES = {"WAND": "DAND", "WOR": "DOR", "WXOR": "DXOR"}

RELATIONS = [
    # sign, code offset, English, Chinese, English relation in a sentence
    ("=", 0x0, "equal", "等于", "equal to"),
    (">", 0x2, "greater", "大于", "greater than"),
    ("<", 0x4, "less", "小于", "less than"),
    ("<>", 0x8, "not equal", "不等于", "not equal to"),
    ("<=", 0xA, "less or equal", "小于等于", "less than or equal to"),
    (">=", 0xC, "greater or equal", "大于等于", "greater than or equal to"),
]


def build():
    lib = Library(
        fx_mode=1,
        sbr_comment=T("Call subroutine", "调用子程序"),
        sbr_parent=T("Subroutines", "子程序"),
        fx_names={"LadFxNameLd": "LD", "LadFxNameLdi": "LDI", "LadFxNameLdp": "LDP", "LadFxNameLdf": "LDF",
                  "LadFxNameInv": "INV", "LadFxNameCoil": "OUT"},
    )
    contacts(lib)
    connection(lib)
    outputs(lib)
    master_control(lib)
    program_end(lib)
    for entry in APPLIED:
        applied(lib, *entry)
    compare_contacts(lib)
    # The labels come last: definition IP_ADDRESS_INSTRUCTION_INDEX is then MTR, whose first
    # operand takes no constant.
    labels(lib)
    # The coil of the 32-bit counters comes after all the others, so that no definition moves.
    lib.groups(G_OUTPUT)
    timer_counter(lib, "FXOUTC", "D", "OUT_C32", "PRESET32")
    return lib


def forms(lib, unit, operands, rows):
    """Statement-list definitions of one logic unit: rows of (mnemonic, join, comment, code),
    join None for the unit alone, "AND" or "OR" to combine it with the logic before it."""
    keys = key_of(operands)
    for mnemonic, join, comment, code in rows:
        lib.stl_def(mnemonic, comment, code, operands)
        lib.stl_rule([(mnemonic, keys)], [(unit, keys)] + ([(join, "")] if join else []))


# ---- Basic instructions ------------------------------------------------------------------------

def contacts(lib):
    lib.groups(G_CONTACT)
    bit = operand("S", "B_CONT", "W", marker=True, index=False)
    edge = operand("S", "B_CONT", "W", index=False)
    for unit, lad, operand_list, rows, comment, help_text in [
        ("FXLD", "LD", bit,
         [("LD", None, T("Load", "取"), 0x2FFF), ("AND", "AND", T("And", "与"), 0x4FFF), ("OR", "OR", T("Or", "或"), 0x6FFF)],
         T("Normally open contact", "常开触点"),
         T("Normally open contact: passes power while the bit is on. LD starts a branch, AND adds it in series, OR in parallel.",
           "常开触点：位为 ON 时接通。LD 开始分支，AND 串联，OR 并联。")),
        ("FXLDI", "LDI", bit,
         [("LDI", None, T("Load inverse", "取反"), 0x3FFF), ("ANI", "AND", T("And inverse", "与反"), 0x5FFF),
          ("ORI", "OR", T("Or inverse", "或反"), 0x7FFF)],
         T("Normally closed contact", "常闭触点"),
         T("Normally closed contact: passes power while the bit is off. LDI starts a branch, ANI adds it in series, ORI in parallel.",
           "常闭触点：位为 OFF 时接通。LDI 开始分支，ANI 串联，ORI 并联。")),
        ("FXLDP", "LDP", edge,
         [("LDP", None, T("Load rising edge", "取上升沿"), 0x01CA), ("ANDP", "AND", T("And rising edge", "与上升沿"), 0x01CC),
          ("ORP", "OR", T("Or rising edge", "或上升沿"), 0x01CE)],
         T("Rising edge contact", "上升沿触点"),
         T("Rising edge contact: passes power for one scan when the bit turns on.", "上升沿触点：位由 OFF 变 ON 时接通一个扫描周期。")),
        ("FXLDF", "LDF", edge,
         [("LDF", None, T("Load falling edge", "取下降沿"), 0x01CB), ("ANDF", "AND", T("And falling edge", "与下降沿"), 0x01CD),
          ("ORF", "OR", T("Or falling edge", "或下降沿"), 0x01CF)],
         T("Falling edge contact", "下降沿触点"),
         T("Falling edge contact: passes power for one scan when the bit turns off.", "下降沿触点：位由 ON 变 OFF 时接通一个扫描周期。")),
    ]:
        lib.unit(unit, "Input", 1, [operand_list], comment)
        forms(lib, unit, [operand_list], rows)
        lib.lad_form(unit, lad, "FxCont", lad, comment, ["IN"], ["OUT"], op_in=[operand_list],
                     entry=(lad, "", help_text))
    inv = T("Invert", "取反")
    lib.unit("INV", "Input", 1, [], inv)
    forms(lib, "INV", [], [("INV", "AND", inv, 0xFFFD)])
    lib.lad_form("INV", "INV", "FxCont", "INV", inv, ["IN"], ["OUT"],
                 entry=("INV", "", T("Invert: inverts the result of the logic before it.", "取反：把其前面的逻辑运算结果取反。")))


def connection(lib):
    lib.groups(G_CONNECT)
    for mnemonic, unit, comment, code in [
        ("ANB", "AND", T("And block", "块与"), 0xFFF8), ("ORB", "OR", T("Or block", "块或"), 0xFFF9),
        ("MPS", "LPS", T("Memory push", "进栈"), 0xFFFA), ("MRD", "LRD", T("Memory read", "读栈"), 0xFFFB),
        ("MPP", "LPP", T("Memory pop", "出栈"), 0xFFFC),
    ]:
        lib.stl_def(mnemonic, comment, code, [])
        lib.stl_rule([(mnemonic, "")], [(unit, "")])


TIMER_COUNTER_HELP = T(
    "Output: drives the timer or counter D with the set value K (a constant or a data register). Timers count in "
    "the time base their number gives: T0 to T199 100 ms (T192 to T199 for subroutines and interrupt routines), "
    "T200 to T245 10 ms, T246 to T249 1 ms and retentive, T250 to T255 100 ms and retentive; a timer takes K1 to "
    "K32767 (T0 with K100 times 10 s). Counters count the rising edges of the condition: C0 to C99 16-bit, C100 to "
    "C199 16-bit and retentive (K1 to K32767), C200 to C234 32-bit up/down counters whose direction M8200 to M8234 "
    "set (K-2147483648 to K2147483647), C235 to C255 high-speed counters. RST resets a timer or counter.",
    "输出：以设定值 K（常数或数据寄存器）驱动定时器或计数器 D。定时器的时基由编号决定：T0 至 T199 为 100 ms"
    "（T192 至 T199 用于子程序和中断程序），T200 至 T245 为 10 ms，T246 至 T249 为 1 ms 积算型，T250 至 T255 为 "
    "100 ms 积算型；定时器设定值为 K1 至 K32767（T0 设 K100 即 10 s）。计数器对条件的上升沿计数：C0 至 C99 为 16 位，"
    "C100 至 C199 为 16 位停电保持型（K1 至 K32767），C200 至 C234 为 32 位加减计数器，方向由 M8200 至 M8234 设定"
    "（K-2147483648 至 K2147483647），C235 至 C255 为高速计数器。用 RST 复位定时器或计数器。")


def outputs(lib):
    lib.groups(G_OUTPUT)
    coil = operand("D", "B_OUT", "W", marker=True, index=False)
    out = T("Output", "输出")
    lib.unit("FXOUT", "Output", 1, [coil], T("Output coil", "输出线圈"))
    forms(lib, "FXOUT", [coil], [("OUT", None, out, 0xCFFF)])
    lib.lad_form("FXOUT", "OUT", "Coil", "OUT", T("Output coil", "输出线圈"), ["IN"], None, op_out=[coil],
                 entry=("OUT", "", T("Output: writes the result of the logic into the bit. The special relays the "
                                     "PLC sets (%s) take no writes." % READ_ONLY_SPECIALS,
                                     "输出：把逻辑运算结果写入位。由 PLC 设置的特殊辅助继电器（%s）不能写入。"
                                     % READ_ONLY_SPECIALS.replace(" to ", " 至 ").replace(", ", "、"))))
    timer_counter(lib, "FXOUTT", "W", "OUT_TC", "PRESET", (1, 32767))
    for unit, code, cls, comment, help_text in [
        ("SET", 0xDFFF, "B_OUT", T("Set", "置位"),
         T("Set: turns the bit on and keeps it on.", "置位：把位置 ON 并保持。")),
        ("RST", 0xEFFF, "RST", T("Reset", "复位"),
         T("Reset: turns the bit off, or clears the timer, counter or register.", "复位：把位置 OFF，或清除定时器、计数器或寄存器。")),
        ("PLS", 0x0008, "B_YM", T("Pulse on rising edge", "上升沿脉冲"),
         T("Pulse: turns the bit on for one scan when the logic before it turns on.", "上升沿脉冲：逻辑由 OFF 变 ON 时使位 ON 一个扫描周期。")),
        ("PLF", 0x0009, "B_YM", T("Pulse on falling edge", "下降沿脉冲"),
         T("Pulse: turns the bit on for one scan when the logic before it turns off.", "下降沿脉冲：逻辑由 ON 变 OFF 时使位 ON 一个扫描周期。")),
    ]:
        operands = [operand("D", cls, "W", index=unit == "RST")]
        lib.unit(unit, "Output", 1, operands, comment)
        forms(lib, unit, operands, [(unit, None, comment, code)])
        lib.lad_form(unit, unit, "FxBlock", unit, comment, ["IN"], None, op_out=operands, entry=(unit, "", help_text))


def timer_counter(lib, unit, width, device, preset, limits=None):
    """The timer and counter coil of the devices of one width: OUT D, K with the code of the timer
    coil. The 16-bit timers and counters and the 32-bit counters each have one, so that the set
    value of each takes its own range and is compiled as wide as the device counts; the two share
    mnemonic, code and ladder element, and the device written tells them apart."""
    operands = [operand("D", device, width, index=False), operand("K", preset, width, index=False, limits=limits)]
    lib.unit(unit, "Output", 1, operands, T("Timer or counter coil", "定时器计数器线圈"))
    forms(lib, unit, operands, [("OUT", None, T("Timer or counter output", "定时器计数器输出"), 0x06FF)])
    # The set value K is read: it stands below the timer or counter it drives.
    lib.lad_form(unit, "OUT", "Coil", "OUT", T("Timer or counter coil", "定时器计数器线圈"), ["IN"], None,
                 op_in=operands[1:], op_out=operands[:1], order=[1, 0],
                 entry=("OUT T/C", "+" + width, TIMER_COUNTER_HELP))


def master_control(lib):
    lib.groups(G_MASTER)
    nest = operand("N", "NEST", "W")
    bit = operand("D", "B_YM", "W", index=False)
    comment = T("Master control", "主控")
    lib.unit("MC", "Output", 1, [nest, bit], comment)
    forms(lib, "MC", [nest, bit], [("MC", None, comment, 0x000A)])
    lib.lad_form("MC", "MC", "FxBlock", "MC", comment, ["IN"], None, op_in=[nest], op_out=[bit],
                 entry=("MC", "", T("Master control: the instructions up to MCR N run only while the condition is on; D shows it.",
                                    "主控：条件为 ON 时才执行到 MCR N 为止的指令；D 表示其状态。")))
    comment = T("Master control reset", "主控复位")
    lib.unit("MCR", "GeneratrixOutput", 1, [nest], comment)
    forms(lib, "MCR", [nest], [("MCR", None, comment, 0x000B)])
    lib.lad_form("MCR", "MCR", "FxBlock", "MCR", comment, ["IN"], None, op_in=[nest],
                 entry=("MCR", "", T("Master control reset: ends the master control of nesting level N.", "主控复位：结束嵌套级 N 的主控。")))


def program_end(lib):
    lib.groups(G_FLOW)
    comment = T("End", "结束")
    lib.unit("END", "GeneratrixOutput", 1, [], comment)
    forms(lib, "END", [], [("END", None, comment, 0x000F)])
    lib.lad_form("END", "END", "FxBlock", "END", comment, ["IN"], None,
                 entry=("END", "", T("End: ends the program; the outputs are refreshed and the scan starts again.",
                                     "结束：程序结束；刷新输出后重新开始扫描。")))


def labels(lib):
    lib.groups(G_FLOW)
    label = operand("P", "LABEL", "W")
    comment = T("Label", "标号")
    lib.unit("LBL", "GeneratrixOutput", 1, [label], comment)
    forms(lib, "LBL", [label], [("LBL", None, comment, 0xBFFF)])
    lib.lad_form("LBL", "LBL", "FxBlock", "LBL", comment, ["IN"], None, op_id=[label],
                 entry=("LBL", "", T("Label: the jump and call target P, or the start I of an interrupt routine.",
                                     "标号：跳转和调用目标 P，或中断程序的起点 I。")))


# ---- Application instructions ------------------------------------------------------------------

def variants(fnc, name, form_letters):
    """The forms of an application instruction: (mnemonic, code, width, pulse)."""
    code = 0x10 + 2 * fnc
    result = [(name, code, "W", False)]
    if "P" in form_letters:
        result.append((name + "P", code | 0x1000, "W", True))
    if "D" in form_letters:
        double = DOUBLE_NAMES.get(name, "D" + name)
        result.append((double, code | 1, "D", False))
        if "P" in form_letters:
            result.append((double + "P", code | 0x1001, "D", True))
    return result


def form_comment(names, width, pulse, has_double):
    en, zh = names
    if has_double and width == "D":
        en, zh = en + ", 32-bit", "32 位" + zh
    if pulse:
        en, zh = en + ", pulse", zh + "（脉冲）"
    return T(en, zh)


def applied(lib, fnc, name, form_letters, group, names, operand_specs, help_text, standalone):
    lib.groups(group)
    has_double = "D" in form_letters
    for mnemonic, code, width, pulse in variants(fnc, name, form_letters):
        operands = []
        for spec in operand_specs:
            fixed = next((x for x in spec[2:] if isinstance(x, str)), None)
            limits = next((x for x in spec[2:] if isinstance(x, tuple)), None)
            options = next((x for x in spec[2:] if isinstance(x, dict)), {})
            operands.append(operand(spec[0], spec[1], fixed or width, limits=limits, **options))
        comment = form_comment(names, width, pulse, has_double)
        lib.unit(mnemonic, "GeneratrixOutput" if standalone else "Output", 1, operands, comment)
        forms(lib, mnemonic, operands, [(mnemonic, None, comment, code)])
        # The destinations (D, D1, ...) are the box's outputs, every other operand an input; the
        # box still shows them in the order of the instruction (BMOV S D n).
        if name in ("CJ", "CALL"):
            op_id, op_in, op_out, order = operands, [], [], None
        else:
            inputs = [i for i, o in enumerate(operands) if not o.name.startswith("D")]
            outputs = [i for i, o in enumerate(operands) if o.name.startswith("D")]
            op_id, op_in, op_out = [], [operands[i] for i in inputs], [operands[i] for i in outputs]
            order = inputs + outputs
        marks = ("+" + width if has_double else "") + ("+P" if pulse else "")
        lib.lad_form(mnemonic, mnemonic, "FxBlock", mnemonic, comment, ["IN"], None, op_id=op_id, op_in=op_in,
                     op_out=op_out, entry=(name, marks, help_text), order=order)


def compare_contacts(lib):
    lib.groups(G_CMPCONT)
    for width, letter, en_width, zh_width in [("W", "", "", ""), ("D", "D", ", 32-bit", "32 位")]:
        operands = [operand("S1", "S", width), operand("S2", "S", width)]
        for sign, offset, rel_en, rel_zh, rel_long in RELATIONS:
            unit = "CMP%s_%s" % (width, {"=": "EQ", ">": "GT", "<": "LT", "<>": "NE", "<=": "LE", ">=": "GE"}[sign])
            comment = T("Compare %s%s" % (rel_en, en_width), "%s比较%s" % (zh_width, rel_zh))
            lib.unit(unit, "Input", 1, operands, comment)
            forms(lib, unit, operands, [
                ("LD%s%s" % (letter, sign), None, T("Load compare %s%s" % (rel_en, en_width), "取%s比较%s" % (zh_width, rel_zh)),
                 0x01D0 + offset + (1 if letter else 0)),
                ("AND%s%s" % (letter, sign), "AND", T("And compare %s%s" % (rel_en, en_width), "与%s比较%s" % (zh_width, rel_zh)),
                 0x01E0 + offset + (1 if letter else 0)),
                ("OR%s%s" % (letter, sign), "OR", T("Or compare %s%s" % (rel_en, en_width), "或%s比较%s" % (zh_width, rel_zh)),
                 0x01F0 + offset + (1 if letter else 0)),
            ])
            lib.lad_form(unit, "LD%s%s" % (letter, sign), "FxCont", letter + sign, comment, ["IN"], ["OUT"],
                         op_in=operands,
                         entry=("LD" + sign, "+" + width,
                                T("Compare contact: passes power while S1 is %s S2; the D form compares 32-bit values."
                                  % rel_long,
                                  "比较触点：S1 %s S2 时接通；D 形式比较 32 位数据。" % rel_zh)))


# ---- Checks ------------------------------------------------------------------------------------

def read_code_table():
    """The records (code, mnemonic) of the FX instruction code table of the workbench."""
    with open(FX_CODE_TABLE, encoding="utf-8") as f:
        source = f.read()
    records = re.findall(r'\{(0x[0-9A-Fa-f]+),\s*\w+,\s*L"([^"]*)"\}', source)
    if len(records) != 389:
        raise ValueError("%s: %d records read, 389 expected" % (FX_CODE_TABLE, len(records)))
    return [(int(code, 16), mnemonic) for code, mnemonic in records]


def verify(lib):
    first = lib.stl[IP_ADDRESS_INSTRUCTION_INDEX].operands[:1]
    if not first or first[0].capacity.split(":")[0].find("c") >= 0:
        raise ValueError("definition %d (%s) must have a first operand that admits no constant"
                         % (IP_ADDRESS_INSTRUCTION_INDEX, lib.stl[IP_ADDRESS_INSTRUCTION_INDEX].name))
    codes = {}
    for code, mnemonic in read_code_table():
        codes.setdefault(mnemonic, set()).add(code)
    defined = {}
    for d in lib.stl:
        if d.name not in codes:
            raise ValueError("%s is not in the FX code table" % d.name)
        if d.code not in codes[d.name]:
            raise ValueError("%s has the code %#06x, which the FX code table does not give it" % (d.name, d.code))
        defined.setdefault(d.name, []).append(d)
    missing = sorted(set(codes) - set(defined) - {"STL", "RET"})
    if missing:
        raise ValueError("FX code table mnemonics without a definition: %s" % " ".join(missing))
