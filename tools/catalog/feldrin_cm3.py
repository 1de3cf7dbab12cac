"""Instruction set of the PLC type CPU-Feldrin-CM3: statement list in the LD/A/O style with the
ladder elements that draw it (contacts, coils and boxes with an EN input).

Each section below is one group of the instruction tree. The order of the statement-list
definitions is part of the compiled image (the definition index of a few instructions is fixed),
so new instructions go at the end of the list, not in the middle.
"""

import os
import re

from catalog_gen import CATALOG, Library, Operand, text as T

TYPE_FOLDER = "CPU-Feldrin-CM3"
DESCRIPTION = "Instruction set of the PLC type CPU-Feldrin-CM3 (statement list in the LD/A/O style, ladder with EN boxes)."

# The statement-list definition whose first operand is written as a dotted IPv4 address.
IP_ADDRESS_INSTRUCTION_INDEX = 177


PLC_TYPE = os.path.join(CATALOG, TYPE_FOLDER, "PlcType.xml")


def interrupt_routines():
    """The highest interrupt routine number of the type: its interrupt table holds the main
    program (INT0) and the routines INT1 up to this one (ProgramBlock SizePageInt)."""
    with open(PLC_TYPE, encoding="utf-8") as f:
        found = re.search(r'SizePageInt="(\d+)"', f.read())
    if found is None or int(found.group(1)) < 2:
        raise ValueError("%s: no interrupt routines (SizePageInt)" % PLC_TYPE)
    return int(found.group(1)) - 1


op = Operand


# Operand slots. Inputs accept values, pointers (*VD) and constants; outputs accept values and
# pointers and exclude the read-only analog inputs and high-speed counters. Bits are written
# anywhere but in the status bytes SMB0 to SMB29 of the special memory, which the PLC sets; its
# control bytes from SMB30 on take bit writes as well as byte moves. A byte, word or double word
# that holds a bit pattern shows its constants in hexadecimal; counts, numbers and addresses are
# decimal types.
SM_WRITABLE = ["SM30.0~SM255.7"]
BIT = op("bit", "Tv:", "Bit", True)
BIT_COIL = op("bit", "Tv:", "Bit", True, addresses=SM_WRITABLE)
BIT_IN_IMM = op("bit", "Tv:+:Itv:", "Bit")
BIT_OUT_IMM = op("bit", "Tv:+:Qtv:", "Bit")
BIT_SET = op("bit", "Tv:", "Bit", addresses=SM_WRITABLE)
# N bits from the bit: they must lie in its area (S Q15.0 sets at most 8).
COUNT_N = op("N", "Bvpc:", "Usint", limits=(1, 255), counts="bit")
B_IN = op("IN", "Bvpc:", "Byte")
B_OUT = op("OUT", "Bvp:", "Byte")
U_IN = op("IN", "Bvpc:", "Usint")
U_OUT = op("OUT", "Bvp:", "Usint")
I_IN = op("IN", "Wvpc:", "Int")
I_OUT = op("OUT", "Wvp:", "Int")
W_IN = op("IN", "Wvpc:", "Word")
W_OUT = op("OUT", "Wvp:", "Word")
D_IN = op("IN", "Dvpc:", "Dint")
D_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Dint")
DW_IN = op("IN", "Dvapc:", "Dword")
DW_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Dword")
R_IN = op("IN", "Dvpc:-:HCdv:AIdv:", "Real")
R_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Real")
TIMER = op("T", "Wv:+:Twv:", "Word")
# The time base and retention of a timer are fixed by its number: TON and TOF take their timers,
# TONR its own.
TIMER_ON_OFF = TIMER.restricted(addresses=["T32~T63", "T96~T255"])
TIMER_RETENTIVE = TIMER.restricted(addresses=["T0~T31", "T64~T95"])
COUNTER = op("C", "Wv:+:Cwv:", "Word")
PRESET = op("PT", "Wvpc:", "Int", limits=(0, 32767))
CONST_BYTE = op("N", "Bc:", "Usint")
LABEL = op("N", "Wc:", "Uint")
TABLE_B = op("TBL", "Bvp:", "Byte")
# A table the instruction reads and writes back (a status byte, a loop output).
TABLE_B_RW = TABLE_B.restricted(read_write=True)
TABLE_W = op("TBL", "Wvp:", "Word")
# A table whose entry count the instruction changes.
TABLE_W_RW = TABLE_W.restricted(read_write=True)
PORT = op("PORT", "Bc:", "Usint", limits=(0, 1))


def build():
    lib = Library(
        fx_mode=0,
        sbr_comment=T("Call subroutine", "调用子程序"),
        sbr_parent=T("Subroutines", "子程序"),
        fx_names={"LadFxNameLd": "LD", "LadFxNameLdi": "LDN", "LadFxNameLdp": "EU", "LadFxNameLdf": "ED",
                  "LadFxNameInv": "NOT", "LadFxNameCoil": "="},
    )
    bit_logic(lib)
    compare(lib)
    timers(lib)
    counters(lib)
    integer_math(lib)
    real_math(lib)
    logic_operations(lib)
    move(lib)
    shift(lib)
    table(lib)
    communication(lib)
    convert(lib)
    program_control(lib)
    interrupt(lib)
    clock(lib)
    pid(lib)
    high_speed(lib)
    # Added later: at the end, so that the definitions above keep their indices.
    sequence_control(lib)
    encode_and_text(lib)
    bit_immediate(lib)
    return lib


def verify(lib):
    ip = lib.stl[IP_ADDRESS_INSTRUCTION_INDEX]
    if ip.name != "EXIO" or ip.operands[0].name != "IP":
        raise ValueError("definition %d must be EXIO, is %s" % (IP_ADDRESS_INSTRUCTION_INDEX, ip.name))


# ---- Bit logic ---------------------------------------------------------------------------------

def bit_logic(lib):
    lib.groups(T("Bit logic", "位逻辑"))
    code = 0x0101
    contacts = [
        # unit, ladder name, keyword, operand, (load, and, or) forms, ladder comment, entry
        ("CONT", "LD", " ", BIT,
         [("LD", None, T("Load", "取")), ("A", "AND", T("And", "与")), ("O", "OR", T("Or", "或"))],
         T("Normally open contact", "常开触点"),
         ("-[ ]-", "", T("Normally open contact: passes power while the bit is 1.",
                         "常开触点：位为 1 时接通能流。"))),
        ("CONTN", "LDN", "/", BIT,
         [("LDN", None, T("Load not", "取反")), ("AN", "AND", T("And not", "与反")),
          ("ON", "OR", T("Or not", "或反"))],
         T("Normally closed contact", "常闭触点"),
         ("-[/]-", "", T("Normally closed contact: passes power while the bit is 0.",
                         "常闭触点：位为 0 时接通能流。"))),
        ("CONTI", "LDI", "I", BIT_IN_IMM,
         [("LDI", None, T("Load immediate", "立即取")), ("AI", "AND", T("And immediate", "立即与")),
          ("OI", "OR", T("Or immediate", "立即或"))],
         T("Immediate contact", "立即触点"),
         ("-[I]-", "", T("Immediate normally open contact: reads the physical input directly, not the process image.",
                         "立即常开触点：直接读取物理输入，不经过过程映像。"))),
        ("CONTNI", "LDNI", "/I", BIT_IN_IMM,
         [("LDNI", None, T("Load not immediate", "立即取反")), ("ANI", "AND", T("And not immediate", "立即与反")),
          ("ONI", "OR", T("Or not immediate", "立即或反"))],
         T("Immediate closed contact", "立即常闭触点"),
         ("-[/I]-", "", T("Immediate normally closed contact: reads the physical input directly and passes power while it is 0.",
                          "立即常闭触点：直接读取物理输入，为 0 时接通能流。"))),
    ]
    for unit, lad_name, keyword, operand, forms, lad_comment, entry in contacts:
        lib.unit(unit, "Input", 1, [operand], lad_comment)
        code = lib.stl_forms(unit, [operand], forms, code)
        lib.lad_form(unit, lad_name, "Cont", keyword, lad_comment, ["IN"], ["OUT"], op_in=[operand], entry=entry)

    for unit, keyword, comment, help_text in [
        ("NOT", "NOT", T("Invert power flow", "取非"),
         T("Inverts the power flow: power on the left gives none on the right and the other way round.",
           "取反能流：左侧有能流时右侧无能流，反之亦然。")),
        ("EU", "P", T("Rising edge", "上升沿"),
         T("Positive transition: passes power for one scan when the power on its left goes from 0 to 1.",
           "正跳变：左侧能流由 0 变 1 时接通一个扫描周期。")),
        ("ED", "N", T("Falling edge", "下降沿"),
         T("Negative transition: passes power for one scan when the power on its left goes from 1 to 0.",
           "负跳变：左侧能流由 1 变 0 时接通一个扫描周期。")),
    ]:
        lib.unit(unit, "Input", 1, [], comment)
        code = lib.stl_forms(unit, [], [(unit, "AND", comment)], code)
        lib.lad_form(unit, unit, "Cont", keyword, comment, ["IN"], ["OUT"], entry=("-[%s]-" % keyword, "", help_text))

    # Logic stack instructions: statement list only.
    for mnemonic, unit, comment in [
        ("ALD", "AND", T("And load", "块与")), ("OLD", "OR", T("Or load", "块或")),
        ("LPS", "LPS", T("Logic push", "逻辑入栈")), ("LRD", "LRD", T("Logic read", "逻辑读栈")),
        ("LPP", "LPP", T("Logic pop", "逻辑出栈")),
    ]:
        lib.stl_def(mnemonic, comment, code, [])
        lib.stl_rule([(mnemonic, "")], [(unit, "")])
        code += 1

    coils = [
        ("COIL", "=", " ", [BIT_COIL], T("Output", "输出"), T("Output coil", "输出线圈"),
         ("-( )", "", T("Output coil: writes the power flow into the bit. The status bytes SMB0 to SMB29 are the "
                        "PLC's and take no writes; the control bytes from SMB30 on do.",
                        "输出线圈：把能流写入位。状态字节 SMB0 至 SMB29 由 PLC 设置，不能写入；SMB30 起的控制字节可以写入。"))),
        ("COILI", "=I", "I", [BIT_OUT_IMM], T("Output immediate", "立即输出"), T("Immediate output coil", "立即输出线圈"),
         ("-(I)", "", T("Immediate output: writes the power flow to the physical output and the process image at once.",
                        "立即输出：把能流立即写到物理输出和过程映像。"))),
        ("SET", "S", "S", [BIT_SET, COUNT_N], T("Set", "置位"), T("Set coil", "置位线圈"),
         ("-(S)", "", T("Set: while power flows, sets the N bits (1 to 255) from the given bit on; they stay set. The N "
                        "bits must lie in the bit's area (S Q15.0, 8 sets the last eight outputs) and not in the status "
                        "bytes SMB0 to SMB29. The bit stands above the coil, N below it; typed, the bit comes first: "
                        "S Q0.0, 8.",
                        "置位：有能流时从指定位开始把 N 个位（1 至 255）置 1，并保持。N 个位必须在该位的存储区内（S Q15.0, 8 "
                        "置位最后八个输出），且不在状态字节 SMB0 至 SMB29 中。位写在线圈上方，N 写在下方；键入时先写位："
                        "S Q0.0, 8。"))),
        ("RST", "R", "R", [BIT_SET, COUNT_N], T("Reset", "复位"), T("Reset coil", "复位线圈"),
         ("-(R)", "", T("Reset: while power flows, resets the N bits (1 to 255) from the given bit, which must lie in "
                        "its area and not in the status bytes SMB0 to SMB29; a timer or counter is reset with its "
                        "current value.",
                        "复位：有能流时从指定位开始把 N 个位（1 至 255）清 0，这些位必须在该位的存储区内，且不在状态字节 "
                        "SMB0 至 SMB29 中；定时器和计数器连同当前值一起复位。"))),
        ("SETI", "SI", "SI", [BIT_OUT_IMM, COUNT_N], T("Set immediate", "立即置位"), T("Immediate set coil", "立即置位线圈"),
         ("-(SI)", "", T("Immediate set: sets the N physical outputs (1 to 128, up to the last output Q15.7) from the "
                         "given one at once.",
                         "立即置位：立即把从指定输出开始的 N 个物理输出（1 至 128，最多到最后一个输出 Q15.7）置 1。"))),
        ("RSTI", "RI", "RI", [BIT_OUT_IMM, COUNT_N], T("Reset immediate", "立即复位"), T("Immediate reset coil", "立即复位线圈"),
         ("-(RI)", "", T("Immediate reset: resets the N physical outputs (1 to 128, up to the last output Q15.7) "
                         "from the given one at once.",
                         "立即复位：立即把从指定输出开始的 N 个物理输出（1 至 128，最多到最后一个输出 Q15.7）清 0。"))),
    ]
    immediate_count = COUNT_N.limited(1, 128)
    for unit, mnemonic, keyword, operands, stl_comment, lad_comment, entry in coils:
        if unit in ("SETI", "RSTI"):
            operands = [operands[0], immediate_count]
        lib.unit(unit, "Output", 1, operands, lad_comment)
        code = lib.stl_forms(unit, operands, [(mnemonic, None, stl_comment)], code)
        # The bit is what the coil writes; the count N is read: it stands below the bit.
        outputs, inputs = operands[:1], operands[1:]
        lib.lad_form(unit, mnemonic, "Coil", keyword, lad_comment, ["IN"], None, op_in=inputs, op_out=outputs,
                     entry=entry, order=list(range(1, len(operands))) + [0])

    for unit, inputs, comment, help_text in [
        ("SR", ["S1", "R"], T("Set-dominant bistable", "置位优先触发器"),
         T("Set-dominant bistable: S1 sets the bit, R resets it; when both have power the bit is set.",
           "置位优先触发器：S1 置位，R 复位；两者同时有能流时置位。")),
        ("RS", ["S", "R1"], T("Reset-dominant bistable", "复位优先触发器"),
         T("Reset-dominant bistable: S sets the bit, R1 resets it; when both have power the bit is reset.",
           "复位优先触发器：S 置位，R1 复位；两者同时有能流时复位。")),
    ]:
        lib.unit(unit, "MultiInput", 2, [BIT_SET], comment)
        code = lib.stl_forms(unit, [BIT_SET], [(unit, None, comment)], code)
        lib.lad_form(unit, unit, "Block", unit, comment, inputs, ["OUT"], op_id=[BIT_SET], entry=(unit, "", help_text))

    nop = CONST_BYTE
    lib.unit("NOP", "Output", 1, [nop], T("No operation", "空操作"))
    code = lib.stl_forms("NOP", [nop], [("NOP", None, T("No operation", "空操作"))], code)
    lib.lad_form("NOP", "NOP", "Coil", "NOP", T("No operation", "空操作"), ["IN"], None, op_in=[nop],
                 entry=("NOP", "", T("No operation: does nothing; N only fills the program.", "空操作：不执行任何操作，N 仅占位。")))


# ---- Compare -----------------------------------------------------------------------------------

RELATIONS = [
    ("=", "EQ", "==", T("equal", "等于"), T("equal to", "等于")),
    ("<>", "NE", "<>", T("not equal", "不等于"), T("not equal to", "不等于")),
    (">=", "GE", ">=", T("greater or equal", "大于等于"), T("greater than or equal to", "大于等于")),
    ("<=", "LE", "<=", T("less or equal", "小于等于"), T("less than or equal to", "小于等于")),
    (">", "GT", ">", T("greater", "大于"), T("greater than", "大于")),
    ("<", "LT", "<", T("less", "小于"), T("less than", "小于")),
]

WIDTHS = [
    # statement-list letter, ladder letter, unit letter, names, format, data type, width marks
    ("B", "B", "B", T("byte", "字节"), "Bvpc:", "Usint", "+B", T("unsigned bytes", "无符号字节")),
    ("W", "I", "I", T("integer", "整数"), "Wvpc:", "Int", "+W", T("signed integers", "有符号整数")),
    ("D", "D", "D", T("double integer", "双整数"), "Dvpc:", "Dint", "+D", T("signed double integers", "有符号双整数")),
    ("R", "R", "R", T("real", "实数"), "Dvpc:", "Real", "", T("real numbers", "实数")),
]


def compare(lib):
    lib.groups(T("Compare", "比较"))
    code = 0x0201
    for letter, lad_letter, unit_letter, width_name, capacity, data_type, marks, values in WIDTHS:
        operands = [op("IN1", capacity, data_type), op("IN2", capacity, data_type)]
        for sign, rel, lad_sign, rel_name, rel_long in RELATIONS:
            unit = "CMP%s_%s" % (unit_letter, rel)
            en = "%s %s" % (width_name[0].capitalize(), rel_name[0])
            zh = "%s%s" % (width_name[1], rel_name[1])
            lib.unit(unit, "Input", 1, operands, T(en, zh))
            code = lib.stl_forms(unit, operands, [
                ("LD%s%s" % (letter, sign), None, T("Load %s %s" % (width_name[0], rel_name[0]), "取%s" % zh)),
                ("A%s%s" % (letter, sign), "AND", T("And %s %s" % (width_name[0], rel_name[0]), "与%s" % zh)),
                ("O%s%s" % (letter, sign), "OR", T("Or %s %s" % (width_name[0], rel_name[0]), "或%s" % zh)),
            ], code)
            keyword = "%s%s" % (lad_sign, lad_letter)
            display = lad_sign if marks else keyword
            # The byte, integer and double-integer forms are one item of the tree, which shows the
            # help of its first form: that help speaks of all three.
            if marks:
                help_text = T("Compare contact: passes power while IN1 is %s IN2. The byte form (B) compares "
                              "unsigned bytes, the integer (I) and double-integer (D) forms signed values."
                              % rel_long[0],
                              "比较触点：IN1 %s IN2 时接通能流。字节形式（B）比较无符号字节，整数（I）和双整数（D）"
                              "形式比较有符号数。" % rel_long[1])
            else:
                help_text = T("Compare contact: passes power while IN1 is %s IN2 (%s)." % (rel_long[0], values[0]),
                              "比较触点：IN1 %s IN2 时接通能流（%s）。" % (rel_long[1], values[1]))
            lib.lad_form(unit, "LD%s%s" % (letter, sign), "Cont", keyword, T("Compare %s" % en, "比较%s" % zh),
                         ["IN"], ["OUT"], op_in=operands, entry=(display, marks, help_text))


# ---- Timers and counters -----------------------------------------------------------------------

def timers(lib):
    lib.groups(T("Timers", "定时器"))
    code = 0x0301
    # The time base is fixed by the timer number: TON and TOF share their numbers (a number is
    # used by one of them only), TONR has its own.
    on_off_bases = T(" PT counts in units of the timer's time base: T32 and T96 count 1 ms, T33 to T36 and T97 to T100 "
                     "10 ms, T37 to T63 and T101 to T255 100 ms (PT 0 to 32767). TON and TOF take only these timers; "
                     "T0 to T31 and T64 to T95 are TONR's.",
                     "PT 以定时器的时基为单位：T32 和 T96 为 1 ms，T33 至 T36 和 T97 至 T100 为 10 ms，T37 至 T63 和 "
                     "T101 至 T255 为 100 ms（PT 为 0 至 32767）。TON 和 TOF 只能使用这些定时器；T0 至 T31 和 T64 至 T95 "
                     "属于 TONR。")
    retentive_bases = T(" PT counts in units of the timer's time base: T0 and T64 count 1 ms, T1 to T4 and T65 to T68 "
                        "10 ms, T5 to T31 and T69 to T95 100 ms (PT 0 to 32767). TONR takes only these timers; T32 to "
                        "T63 and T96 to T255 are TON's and TOF's.",
                        "PT 以定时器的时基为单位：T0 和 T64 为 1 ms，T1 至 T4 和 T65 至 T68 为 10 ms，T5 至 T31 和 "
                        "T69 至 T95 为 100 ms（PT 为 0 至 32767）。TONR 只能使用这些定时器；T32 至 T63 和 T96 至 T255 "
                        "属于 TON 和 TOF。")

    def with_bases(text, bases):
        return T(text[0] + bases[0], text[1] + bases[1])

    for name, timer, comment, help_text in [
        ("TON", TIMER_ON_OFF, T("On-delay timer", "接通延时定时器"),
         with_bases(T("On-delay timer: counts while IN has power; the timer bit turns on when the value reaches PT. Losing power resets it.",
                      "接通延时定时器：IN 有能流时计时，当前值达到 PT 时定时器位接通；IN 断开时复位。"), on_off_bases)),
        ("TONR", TIMER_RETENTIVE, T("Retentive on-delay timer", "有记忆接通延时定时器"),
         with_bases(T("Retentive on-delay timer: adds up the time IN has power; the bit turns on at PT. Only a reset clears it.",
                      "有记忆接通延时定时器：累计 IN 有能流的时间，达到 PT 时定时器位接通；只能用复位指令清除。"),
                    retentive_bases)),
        ("TOF", TIMER_ON_OFF, T("Off-delay timer", "断开延时定时器"),
         with_bases(T("Off-delay timer: the bit turns on with IN and turns off PT after IN loses power.",
                      "断开延时定时器：IN 接通时定时器位接通，IN 断开后延时 PT 再断开。"), on_off_bases)),
    ]:
        operands = [timer, PRESET]
        lib.unit(name, "Output", 1, operands, comment)
        code = lib.stl_forms(name, operands, [(name, None, comment)], code)
        lib.lad_form(name, name, "Block", name, comment, ["IN"], None, op_id=[timer], op_in=[PRESET],
                     entry=(name, "", help_text))


def counters(lib):
    lib.groups(T("Counters", "计数器"))
    code = 0x0401
    pv = op("PV", "Wvpc:", "Int", limits=(0, 32767))
    operands = [COUNTER, pv]
    for name, inputs, comment, help_text in [
        ("CTU", ["CU", "R"], T("Up counter", "加计数器"),
         T("Up counter: counts up on each rising edge of CU (to 32767 at most); the counter bit turns on at PV (0 to 32767). R resets it. Counters C0 to C255.",
           "加计数器：CU 每个上升沿加 1（最大 32767），当前值达到 PV（0 至 32767）时计数器位接通；R 复位。计数器为 C0 至 C255。")),
        ("CTD", ["CD", "LD"], T("Down counter", "减计数器"),
         T("Down counter: counts down from PV on each rising edge of CD; the counter bit turns on at 0. LD loads PV.",
           "减计数器：CD 每个上升沿从 PV 减 1，减到 0 时计数器位接通；LD 装入 PV。")),
        ("CTUD", ["CU", "CD", "R"], T("Up/down counter", "加减计数器"),
         T("Up/down counter: CU counts up, CD counts down; the counter bit is on while the value is at least PV. R resets it.",
           "加减计数器：CU 加计数，CD 减计数；当前值不小于 PV 时计数器位接通；R 复位。")),
    ]:
        lib.unit(name, "MultiOutput", len(inputs), operands, comment)
        code = lib.stl_forms(name, operands, [(name, None, comment)], code)
        lib.lad_form(name, name, "Block", name, comment, inputs, None, op_id=[COUNTER], op_in=[pv],
                     entry=(name, "", help_text))


# ---- Boxes -------------------------------------------------------------------------------------

def box(lib, code, mnemonic, lad_name, comment, inputs, outputs, help_text, display=None, marks="", unit=None,
        kind="Output", lad_look="Block", power_in=("EN",)):
    """One instruction drawn as a box with an EN input: the statement-list mnemonic, its ladder
    box and the logic unit they share. Returns the next free code."""
    unit = unit or lad_name
    operands = list(inputs) + list(outputs)
    lib.unit(unit, kind, 1, operands, comment)
    lib.stl_forms(unit, operands, [(mnemonic, None, comment)], code)
    lib.lad_form(unit, lad_name, lad_look, lad_name, comment, list(power_in), None, op_in=inputs, op_out=outputs,
                 entry=(display or lad_name, marks, help_text))
    return code + 1


def in1_in2_out(in_op, out_op):
    return [in_op.renamed("IN1"), in_op.renamed("IN2")], [out_op]


def integer_math(lib):
    lib.groups(T("Integer math", "整数运算"))
    code = 0x0501
    for mnemonic, lad, en, zh, expr, in_op, out_op in [
        ("+I", "ADD_I", "Add integers", "整数加法", "IN1 + IN2", I_IN, I_OUT),
        ("-I", "SUB_I", "Subtract integers", "整数减法", "IN1 - IN2", I_IN, I_OUT),
        ("*I", "MUL_I", "Multiply integers", "整数乘法", "IN1 * IN2", I_IN, I_OUT),
        ("/I", "DIV_I", "Divide integers", "整数除法", "IN1 / IN2", I_IN, I_OUT),
        ("+D", "ADD_DI", "Add double integers", "双整数加法", "IN1 + IN2", D_IN, D_OUT),
        ("-D", "SUB_DI", "Subtract double integers", "双整数减法", "IN1 - IN2", D_IN, D_OUT),
        ("*D", "MUL_DI", "Multiply double integers", "双整数乘法", "IN1 * IN2", D_IN, D_OUT),
        ("/D", "DIV_DI", "Divide double integers", "双整数除法", "IN1 / IN2", D_IN, D_OUT),
    ]:
        ins, outs = in1_in2_out(in_op, out_op)
        code = box(lib, code, mnemonic, lad, T(en, zh), ins, outs,
                   T("%s: OUT = %s; a result that does not fit sets the overflow flag." % (en, expr),
                     "%s：OUT = %s；结果溢出时置溢出标志。" % (zh, expr)))
    code = box(lib, code, "MUL", "MUL", T("Multiply integers to double integer", "整数乘法得双整数"),
               [I_IN.renamed("IN1"), I_IN.renamed("IN2")], [D_OUT],
               T("Multiplies two integers into a double-integer result: OUT = IN1 * IN2.",
                 "两个整数相乘，得到双整数结果：OUT = IN1 * IN2。"))
    code = box(lib, code, "DIV", "DIV", T("Divide integers with remainder", "带余数的整数除法"),
               [I_IN.renamed("IN1"), I_IN.renamed("IN2")], [D_OUT],
               T("Divides IN1 by IN2: the low word of OUT holds the quotient, the high word the remainder.",
                 "IN1 除以 IN2：OUT 的低字为商，高字为余数。"))
    for mnemonic, lad, width_marks, step_en, step_zh, in_op, out_op, width_en, width_zh in [
        ("INCB", "INC_B", "+B", "Increment", "加 1", U_IN, U_OUT, "byte", "字节"),
        ("INCW", "INC_W", "+W", "Increment", "加 1", I_IN, I_OUT, "word", "字"),
        ("INCD", "INC_DW", "+D", "Increment", "加 1", D_IN, D_OUT, "double word", "双字"),
        ("DECB", "DEC_B", "+B", "Decrement", "减 1", U_IN, U_OUT, "byte", "字节"),
        ("DECW", "DEC_W", "+W", "Decrement", "减 1", I_IN, I_OUT, "word", "字"),
        ("DECD", "DEC_DW", "+D", "Decrement", "减 1", D_IN, D_OUT, "double word", "双字"),
    ]:
        sign = "+" if step_en == "Increment" else "-"
        code = box(lib, code, mnemonic, lad, T("%s %s" % (step_en, width_en), "%s%s" % (width_zh, step_zh)),
                   [in_op], [out_op],
                   T("%s: OUT = IN %s 1." % (step_en, sign), "%s：OUT = IN %s 1。" % (step_zh, sign)),
                   display=lad.split("_")[0], marks=width_marks)


def real_math(lib):
    lib.groups(T("Floating-point math", "浮点运算"))
    code = 0x0601
    for mnemonic, lad, en, zh, expr in [
        ("+R", "ADD_R", "Add reals", "实数加法", "IN1 + IN2"),
        ("-R", "SUB_R", "Subtract reals", "实数减法", "IN1 - IN2"),
        ("*R", "MUL_R", "Multiply reals", "实数乘法", "IN1 * IN2"),
        ("/R", "DIV_R", "Divide reals", "实数除法", "IN1 / IN2"),
    ]:
        ins, outs = in1_in2_out(R_IN, R_OUT)
        code = box(lib, code, mnemonic, lad, T(en, zh), ins, outs,
                   T("%s: OUT = %s (32-bit real numbers)." % (en, expr), "%s：OUT = %s（32 位实数）。" % (zh, expr)))
    for name, en, zh, expr_en, expr_zh in [
        ("SQRT", "Square root", "平方根", "OUT = the square root of IN", "OUT = IN 的平方根"),
        ("EXP", "Natural exponential", "自然指数", "OUT = e raised to IN", "OUT = e 的 IN 次方"),
        ("LN", "Natural logarithm", "自然对数", "OUT = the natural logarithm of IN", "OUT = IN 的自然对数"),
        ("SIN", "Sine", "正弦", "OUT = sine of IN (radians)", "OUT = IN（弧度）的正弦"),
        ("COS", "Cosine", "余弦", "OUT = cosine of IN (radians)", "OUT = IN（弧度）的余弦"),
        ("TAN", "Tangent", "正切", "OUT = tangent of IN (radians)", "OUT = IN（弧度）的正切"),
    ]:
        code = box(lib, code, name, name, T(en, zh), [R_IN], [R_OUT],
                   T("%s: %s." % (en, expr_en), "%s：%s。" % (zh, expr_zh)))


def logic_operations(lib):
    lib.groups(T("Logic operations", "逻辑运算"))
    code = 0x0701
    for suffix, lad_suffix, marks, in_op, out_op, width_en, width_zh in [
        ("B", "B", "+B", B_IN, B_OUT, "bytes", "字节"),
        ("W", "W", "+W", W_IN, W_OUT, "words", "字"),
        ("D", "DW", "+D", DW_IN.renamed("IN"), DW_OUT, "double words", "双字"),
    ]:
        for stl, lad, en, zh, what in [
            ("AND", "WAND", "And", "与", "AND"), ("OR", "WOR", "Or", "或", "OR"), ("XOR", "WXOR", "Exclusive or", "异或", "XOR"),
        ]:
            ins, outs = in1_in2_out(in_op, out_op)
            code = box(lib, code, stl + suffix, "%s_%s" % (lad, lad_suffix), T("%s %s" % (en, width_en), "%s%s" % (width_zh, zh)),
                       ins, outs,
                       T("%s: OUT = IN1 %s IN2, bit by bit." % (en, what), "按位%s：OUT = IN1 %s IN2。" % (zh, what)),
                       display=lad, marks=marks)
        code = box(lib, code, "INV" + suffix, "INV_%s" % lad_suffix, T("Invert %s" % width_en, "%s取反" % width_zh),
                   [in_op], [out_op],
                   T("Invert: OUT = the ones' complement of IN.", "取反：OUT = IN 按位取反。"), display="INV", marks=marks)


def move(lib):
    lib.groups(T("Move", "传送"))
    code = 0x0801
    for stl, lad, marks, in_op, out_op, en, zh in [
        ("MOVB", "MOV_B", "+B", B_IN, B_OUT, "byte", "字节"),
        ("MOVW", "MOV_W", "+W", W_IN, W_OUT, "word", "字"),
        ("MOVD", "MOV_DW", "+D", DW_IN, DW_OUT, "double word", "双字"),
    ]:
        code = box(lib, code, stl, lad, T("Move %s" % en, "%s传送" % zh), [in_op], [out_op],
                   T("Move: copies IN to OUT.", "传送：把 IN 复制到 OUT。"), display="MOV", marks=marks)
    code = box(lib, code, "MOVR", "MOV_R", T("Move real", "实数传送"), [R_IN], [R_OUT],
               T("Move real: copies the real number IN to OUT.", "实数传送：把实数 IN 复制到 OUT。"))
    n = op("N", "Bvpc:", "Usint", limits=(1, 255))
    for stl, lad, marks, in_op, out_op, en, zh in [
        ("BMB", "BLKMOV_B", "+B", B_IN, B_OUT, "bytes", "字节"),
        ("BMW", "BLKMOV_W", "+W", W_IN, W_OUT, "words", "字"),
        ("BMD", "BLKMOV_D", "+D", DW_IN.renamed("IN"), DW_OUT, "double words", "双字"),
    ]:
        code = box(lib, code, stl, lad, T("Block move %s" % en, "%s块传送" % zh), [in_op, n], [out_op],
                   T("Block move: copies the N values (1 to 255) starting at IN to the N places starting at OUT.",
                     "块传送：把从 IN 开始的 N 个数据（1 至 255）复制到从 OUT 开始的 N 个地址。"),
                   display="BLKMOV", marks=marks)
    code = box(lib, code, "SWAP", "SWAP", T("Swap bytes", "交换字节"), [W_OUT.renamed("IN").restricted(read_write=True)], [],
               T("Swap bytes: exchanges the high and the low byte of the word IN.", "交换字节：交换字 IN 的高字节和低字节。"))
    code = box(lib, code, "FILL", "FILL_N", T("Fill memory", "存储器填充"), [W_IN, n], [W_OUT],
               T("Fill: writes the word IN into the N words (1 to 255) starting at OUT.",
                 "填充：把字 IN 写入从 OUT 开始的 N 个字（1 至 255）。"))


def shift(lib):
    lib.groups(T("Shift and rotate", "移位和循环"))
    code = 0x0901
    n = op("N", "Bvpc:", "Usint")
    for suffix, lad_suffix, marks, in_op, out_op, width_en, width_zh in [
        ("B", "B", "+B", B_IN, B_OUT, "byte", "字节"),
        ("W", "W", "+W", W_IN, W_OUT, "word", "字"),
        ("D", "DW", "+D", DW_IN.renamed("IN"), DW_OUT, "double word", "双字"),
    ]:
        for stl, lad, en, zh, what_en, what_zh in [
            ("SL", "SHL", "Shift left", "左移", "IN shifted left by N bits, 0s filling in from the right",
             "IN 左移 N 位，右侧补 0"),
            ("SR", "SHR", "Shift right", "右移", "IN shifted right by N bits, 0s filling in from the left",
             "IN 右移 N 位，左侧补 0"),
            ("RL", "ROL", "Rotate left", "循环左移", "IN rotated left by N bits", "IN 循环左移 N 位"),
            ("RR", "ROR", "Rotate right", "循环右移", "IN rotated right by N bits", "IN 循环右移 N 位"),
        ]:
            code = box(lib, code, stl + suffix, "%s_%s" % (lad, lad_suffix), T("%s %s" % (en, width_en), "%s%s" % (width_zh, zh)),
                       [in_op, n], [out_op],
                       T("%s: OUT = %s; the last bit shifted out goes to the overflow flag (SM1.1). The item's "
                         "widths: byte (B), word (W), double word (D)." % (en, what_en),
                         "%s：OUT = %s；最后移出的位进入溢出标志（SM1.1）。宽度：字节（B）、字（W）、双字（D）。"
                         % (zh, what_zh)),
                       display=lad, marks=marks)
    data = op("DATA", "Tv:", "Bit")
    s_bit = op("S_BIT", "Tv:", "Bit", read_write=True, addresses=SM_WRITABLE)
    # The register's length: 1 to 64 bits, shifted up for N > 0 and down for N < 0; it must lie
    # in the area of S_BIT.
    length = op("N", "Bvpc:", "Sint", limits=[(-64, -1), (1, 64)], counts="S_BIT")
    code = box(lib, code, "SHRB", "SHRB", T("Shift register bit", "移位寄存器"), [data, s_bit, length], [],
               T("Shift register: on each rising edge of EN shifts the bit DATA into the register that starts at "
                 "S_BIT and is as many bits long as the magnitude of N: N is 1 to 64 to shift towards higher bit "
                 "numbers, -1 to -64 to shift towards lower ones (0 is no length). The register must lie in the area "
                 "of S_BIT. The bit shifted out goes to the overflow flag (SM1.1).",
                 "移位寄存器：EN 每个上升沿把位 DATA 移入从 S_BIT 开始、长度为 N 的绝对值的寄存器：N 为 1 至 64 时向高位"
                 "移动，为 -1 至 -64 时向低位移动（0 不是长度）。寄存器必须在 S_BIT 的存储区内。移出的位进入溢出标志"
                 "（SM1.1）。"))


def table(lib):
    lib.groups(T("Table", "表"))
    code = 0x0A01
    data_in = I_IN.renamed("DATA")
    data_out = I_OUT.renamed("DATA")
    code = box(lib, code, "ATT", "AD_T_TBL", T("Add to table", "填表"), [data_in, TABLE_W_RW], [],
               T("Add to table: appends DATA to the table TBL (word 0: maximum entries, word 1: entry count).",
                 "填表：把 DATA 加到表 TBL 的末尾（第 0 字为最大项数，第 1 字为当前项数）。"))
    code = box(lib, code, "FIFO", "FIFO", T("First in, first out", "先进先出"), [TABLE_W_RW], [data_out],
               T("First in, first out: removes the oldest entry of TBL into DATA.", "先进先出：把表 TBL 中最早的一项移出到 DATA。"))
    code = box(lib, code, "LIFO", "LIFO", T("Last in, first out", "后进先出"), [TABLE_W_RW], [data_out],
               T("Last in, first out: removes the newest entry of TBL into DATA.", "后进先出：把表 TBL 中最新的一项移出到 DATA。"))
    pattern = I_IN.renamed("PTN")
    index = W_OUT.renamed("INDX").restricted(read_write=True)
    command = op("CMD", "Bc:", "Usint", limits=(1, 4))
    code = box(lib, code, "FND", "TBL_FIND", T("Table find", "查表"), [TABLE_W, pattern, index, command], [],
               T("Table find: searches TBL from entry INDX for the first entry that matches PTN (CMD 1 =, 2 <>, 3 <, 4 >) and leaves its number in INDX.",
                 "查表：从第 INDX 项起查找表 TBL 中第一个与 PTN 满足条件的项（CMD 1 =、2 <>、3 <、4 >），结果序号放入 INDX。"))


def communication(lib):
    lib.groups(T("Communication", "通信"))
    code = 0x0B01
    for stl, lad, en, zh, help_en, help_zh, tbl in [
        ("NETR", "NETR", "Network read", "网络读",
         "Network read: reads up to 16 bytes from another PLC over PORT (0 or 1) as the 23-byte table TBL "
         "describes: byte 0 status (bit 7 done, bit 6 active, bit 5 error, bits 0 to 3 error code), byte 1 the "
         "station address of the remote PLC, bytes 2 to 5 a pointer to the data in the remote PLC (&VB...), "
         "byte 6 the number of data bytes (1 to 16), bytes 7 to 22 the data.",
         "网络读：经 PORT（0 或 1）按 23 字节的表 TBL 从其他 PLC 读取最多 16 个字节：第 0 字节为状态（位 7 完成、"
         "位 6 进行中、位 5 出错、位 0 至 3 错误代码），第 1 字节为远程 PLC 的站地址，第 2 至 5 字节为指向远程 PLC "
         "中数据的指针（&VB...），第 6 字节为数据字节数（1 至 16），第 7 至 22 字节为数据。", TABLE_B_RW),
        ("NETW", "NETW", "Network write", "网络写",
         "Network write: writes up to 16 bytes to another PLC over PORT (0 or 1) as the 23-byte table TBL "
         "describes; the table has the layout of NETR (status, remote station, pointer to the remote data, "
         "data length, data).",
         "网络写：经 PORT（0 或 1）按 23 字节的表 TBL 向其他 PLC 写入最多 16 个字节；表的格式同 NETR（状态、远程站地址、"
         "指向远程数据的指针、数据长度、数据）。", TABLE_B_RW),
        ("XMT", "XMT", "Transmit", "发送",
         "Transmit: sends the message buffer TBL (first byte: the number of characters, 1 to 255) over PORT "
         "(0 or 1) in freeport mode: the port's protocol in the system block is 自由口 (free port), its character "
         "format is set in SMB30 (port 0) or SMB130 (port 1). Event 9 (port 0) or 26 (port 1) follows when the "
         "last character is sent.",
         "发送：在自由口模式下经 PORT（0 或 1）发送缓冲区 TBL（第一个字节为字符数，1 至 255）：该端口在系统块中的"
         "通讯协议为“自由口”，字符格式由 SMB30（端口 0）或 SMB130（端口 1）设定。最后一个字符发出后产生事件 9"
         "（端口 0）或 26（端口 1）。", TABLE_B),
        ("RCV", "RCV", "Receive", "接收",
         "Receive: starts receiving a message into the buffer TBL (first byte: the number of characters received) "
         "over PORT (0 or 1) in freeport mode. How a message starts and ends is set in the receive message control "
         "bytes: SMB87 (port 0) or SMB187 (port 1) with the start character SMB88/SMB188, the end character "
         "SMB89/SMB189, the idle time SMW90/SMW190, the timeout SMW92/SMW192 and the maximum character count "
         "SMB94/SMB194; SMB86/SMB186 tells why it ended, event 23 (port 0) or 24 (port 1) when it has. The user "
         "guide lists the bits.",
         "接收：在自由口模式下开始经 PORT（0 或 1）把报文接收到缓冲区 TBL（第一个字节为收到的字符数）。报文如何开始"
         "和结束由接收报文控制字节设定：SMB87（端口 0）或 SMB187（端口 1），以及起始字符 SMB88/SMB188、结束字符 "
         "SMB89/SMB189、空闲时间 SMW90/SMW190、超时 SMW92/SMW192 和最大字符数 SMB94/SMB194；SMB86/SMB186 给出结束"
         "原因，接收结束后产生事件 23（端口 0）或 24（端口 1）。各位的含义见用户指南。", TABLE_B),
    ]:
        code = box(lib, code, stl, lad, T(en, zh), [tbl, PORT], [], T(help_en, help_zh))
    code = box(lib, code, "GPA", "GET_ADDR", T("Get port address", "读取端口地址"), [PORT], [U_OUT.renamed("ADDR")],
               T("Get port address: reads the station address of PORT (0 or 1) into ADDR.",
                 "读取端口地址：把 PORT（0 或 1）的站地址读入 ADDR。"))
    code = box(lib, code, "SPA", "SET_ADDR", T("Set port address", "设置端口地址"),
               [U_IN.renamed("ADDR").limited(0, 126), PORT], [],
               T("Set port address: sets the station address of PORT (0 or 1) to ADDR (0 to 126).",
                 "设置端口地址：把 PORT（0 或 1）的站地址设为 ADDR（0 至 126）。"))
    ip = op("IP", "Dc:", "Udint")
    code = box(lib, code, "EXIO", "EXIO", T("Ethernet data exchange", "以太网数据交换"), [ip, TABLE_B], [],
               T("Ethernet exchange: exchanges the data that TBL describes with the PLC at the IPv4 address IP (written as 192.168.1.5).",
                 "以太网数据交换：与 IP 地址为 IP（写作 192.168.1.5）的 PLC 交换表 TBL 描述的数据。"))


def convert(lib):
    lib.groups(T("Convert", "转换"))
    code = 0x0C01
    for stl, lad, en, zh, in_op, out_op, result_en, result_zh in [
        ("BTI", "B_I", "Byte to integer", "字节转换为整数", U_IN, I_OUT,
         "the unsigned byte IN (0 to 255) as an integer; the result always fits",
         "把无符号字节 IN（0 至 255）转换为整数；结果总能容纳"),
        ("ITB", "I_B", "Integer to byte", "整数转换为字节", I_IN, U_OUT,
         "the integer IN as a byte; a value outside 0 to 255 sets the overflow flag (SM1.1) and leaves OUT unchanged",
         "把整数 IN 转换为字节；超出 0 至 255 时置溢出标志（SM1.1），OUT 不变"),
        ("ITD", "I_DI", "Integer to double integer", "整数转换为双整数", I_IN, D_OUT,
         "the integer IN as a double integer, sign extended; the result always fits",
         "把整数 IN 按符号扩展为双整数；结果总能容纳"),
        ("DTI", "DI_I", "Double integer to integer", "双整数转换为整数", D_IN, I_OUT,
         "the double integer IN as an integer; a value outside -32768 to 32767 sets the overflow flag (SM1.1) "
         "and leaves OUT unchanged",
         "把双整数 IN 转换为整数；超出 -32768 至 32767 时置溢出标志（SM1.1），OUT 不变"),
        ("DTR", "DI_R", "Double integer to real", "双整数转换为实数", D_IN, R_OUT,
         "the double integer IN as a 32-bit real; values beyond 16777216 are rounded to 24 significant bits",
         "把双整数 IN 转换为 32 位实数；超过 16777216 的数按 24 位有效位舍入"),
        ("ROUND", "ROUND", "Round real to double integer", "实数四舍五入为双整数", R_IN, D_OUT,
         "the real IN rounded to the nearest double integer (halves away from zero); a value that does not fit "
         "sets the overflow flag (SM1.1)",
         "把实数 IN 四舍五入为双整数（0.5 远离零）；结果溢出时置溢出标志（SM1.1）"),
        ("TRUNC", "TRUNC", "Truncate real to double integer", "实数截断为双整数", R_IN, D_OUT,
         "the whole-number part of the real IN as a double integer; a value that does not fit sets the overflow "
         "flag (SM1.1)",
         "把实数 IN 的整数部分转换为双整数；结果溢出时置溢出标志（SM1.1）"),
        ("BCDI", "BCD_I", "BCD to integer", "BCD 码转换为整数", W_IN, I_OUT,
         "the four BCD digits of IN (16#0000 to 16#9999) as an integer; a digit above 9 sets the BCD error flag "
         "(SM1.6)",
         "把 IN 的四位 BCD 码（16#0000 至 16#9999）转换为整数；某位大于 9 时置 BCD 错误标志（SM1.6）"),
        ("IBCD", "I_BCD", "Integer to BCD", "整数转换为 BCD 码", I_IN, W_OUT,
         "the integer IN (0 to 9999) as four BCD digits; a value outside 0 to 9999 sets the BCD error flag (SM1.6)",
         "把整数 IN（0 至 9999）转换为四位 BCD 码；超出 0 至 9999 时置 BCD 错误标志（SM1.6）"),
    ]:
        code = box(lib, code, stl, lad, T(en, zh), [in_op], [out_op],
                   T("%s: OUT = %s." % (en, result_en), "%s：OUT = %s。" % (zh, result_zh)))
    code = box(lib, code, "SEG", "SEG", T("Seven-segment code", "七段码"), [B_IN], [B_OUT],
               T("Seven-segment: OUT = the segment pattern that shows the low hexadecimal digit of IN.",
                 "七段码：OUT = 显示 IN 低位十六进制数字的七段码。"))
    length = op("LEN", "Bvpc:", "Usint", limits=(1, 255))
    code = box(lib, code, "ATH", "ATH", T("ASCII to hexadecimal", "ASCII 码转换为十六进制"), [B_IN, length], [B_OUT],
               T("ASCII to hex: converts LEN ASCII characters from IN into hexadecimal digits at OUT.",
                 "ASCII 转十六进制：把从 IN 开始的 LEN 个 ASCII 字符转换为从 OUT 开始的十六进制数。"))
    code = box(lib, code, "HTA", "HTA", T("Hexadecimal to ASCII", "十六进制转换为 ASCII 码"), [B_IN, length], [B_OUT],
               T("Hex to ASCII: converts LEN hexadecimal digits from IN into ASCII characters at OUT.",
                 "十六进制转 ASCII：把从 IN 开始的 LEN 个十六进制数转换为从 OUT 开始的 ASCII 字符。"))


def program_control(lib):
    lib.groups(T("Program control", "程序控制"))
    code = 0x0D01
    for name, en, zh, help_en, help_zh, operands in [
        ("END", "Conditional end", "条件结束", "End: ends the scan of the main program while power flows.",
         "条件结束：有能流时结束主程序的本次扫描。", []),
        ("STOP", "Stop", "停止", "Stop: switches the PLC to STOP at the end of the scan.",
         "停止：在本次扫描结束时把 PLC 切换到 STOP。", []),
        ("WDR", "Watchdog reset", "看门狗复位", "Watchdog reset: restarts the watchdog timer so that a long scan is not stopped.",
         "看门狗复位：重新启动看门狗定时器，以免长扫描被中止。", []),
        ("JMP", "Jump to label", "跳转到标号",
         "Jump: while power flows, continues the program at the label N of the same program unit.",
         "跳转：有能流时在同一程序单元的标号 N 处继续执行。", [LABEL]),
    ]:
        lib.unit(name, "Output", 1, operands, T(en, zh))
        code = lib.stl_forms(name, operands, [(name, None, T(en, zh))], code)
        lib.lad_form(name, name, "Coil", name, T(en, zh), ["IN"], None, op_in=operands, entry=(name, "", T(help_en, help_zh)))

    lib.unit("LBL", "GeneratrixOutput", 1, [LABEL], T("Label", "标号"))
    code = lib.stl_forms("LBL", [LABEL], [("LBL", None, T("Label", "标号"))], code)
    lib.lad_form("LBL", "LBL", "Block", "LBL", T("Label", "标号"), [""], None, op_id=[LABEL],
                 entry=("LBL", "", T("Label: the target N of jump instructions; it stands alone on the power rail.",
                                     "标号：跳转指令的目标 N；直接接在能流母线上。")))

    index = op("INDX", "Wvp:", "Int", read_write=True)
    init = op("INIT", "Wvpc:", "Int")
    final = op("FINAL", "Wvpc:", "Int")
    code = box(lib, code, "FOR", "FOR", T("For loop", "循环开始"), [index, init, final], [],
               T("For: runs the instructions up to NEXT repeatedly, counting INDX from INIT to FINAL.",
                 "循环：从 INIT 到 FINAL 计数 INDX，重复执行到 NEXT 为止的指令。"))
    lib.unit("NEXT", "GeneratrixOutput", 1, [], T("End of loop", "循环结束"))
    code = lib.stl_forms("NEXT", [], [("NEXT", None, T("End of loop", "循环结束"))], code)
    lib.lad_form("NEXT", "NEXT", "Coil", "NEXT", T("End of loop", "循环结束"), ["IN"], None,
                 entry=("NEXT", "", T("Next: ends the loop that FOR opened.", "循环结束：结束 FOR 开始的循环。")))

    lib.unit("CRET", "Output", 1, [], T("Conditional return from subroutine", "子程序条件返回"))
    code = lib.stl_forms("CRET", [], [("CRET", None, T("Conditional return from subroutine", "子程序条件返回"))], code)
    lib.lad_form("CRET", "CRET", "Coil", "CRET", T("Conditional return from subroutine", "子程序条件返回"), ["IN"], None,
                 entry=("CRET", "", T("Conditional return: leaves the subroutine while power flows.",
                                      "条件返回：有能流时从子程序返回。")))
    lib.unit("RET", "GeneratrixOutput", 1, [], T("Return from subroutine", "子程序返回"))
    code = lib.stl_forms("RET", [], [("RET", None, T("Return from subroutine", "子程序返回"))], code)
    lib.lad_form("RET", "RET", "Coil", "RET", T("Return from subroutine", "子程序返回"), ["IN"], None,
                 entry=("RET", "", T("Return: ends the subroutine and goes back to the caller.", "返回：结束子程序，回到调用处。")))


# The interrupt events of the CPU, by number.
EVENT_TABLE = [
    ("rising edge I0.0", "I0.0 上升沿"), ("falling edge I0.0", "I0.0 下降沿"),
    ("rising edge I0.1", "I0.1 上升沿"), ("falling edge I0.1", "I0.1 下降沿"),
    ("rising edge I0.2", "I0.2 上升沿"), ("falling edge I0.2", "I0.2 下降沿"),
    ("rising edge I0.3", "I0.3 上升沿"), ("falling edge I0.3", "I0.3 下降沿"),
    ("port 0 character received", "端口 0 接收字符"), ("port 0 transmission done", "端口 0 发送完成"),
    ("timed interrupt 0 (period in SMB34, 1 to 255 ms)", "定时中断 0（周期在 SMB34，1 至 255 ms）"),
    ("timed interrupt 1 (period in SMB35, 1 to 255 ms)", "定时中断 1（周期在 SMB35，1 至 255 ms）"),
    ("HSC0 current value = preset", "HSC0 当前值 = 预置值"), ("HSC1 current value = preset", "HSC1 当前值 = 预置值"),
    ("HSC1 direction changed", "HSC1 方向改变"), ("HSC1 external reset", "HSC1 外部复位"),
    ("HSC2 current value = preset", "HSC2 当前值 = 预置值"), ("HSC2 direction changed", "HSC2 方向改变"),
    ("HSC2 external reset", "HSC2 外部复位"), ("pulse output Q0.0 done", "脉冲输出 Q0.0 完成"),
    ("pulse output Q0.1 done", "脉冲输出 Q0.1 完成"), ("timer T32 reached its preset", "定时器 T32 到达预置值"),
    ("timer T96 reached its preset", "定时器 T96 到达预置值"), ("port 0 message received", "端口 0 接收报文完成"),
    ("port 1 message received", "端口 1 接收报文完成"), ("port 1 character received", "端口 1 接收字符"),
    ("port 1 transmission done", "端口 1 发送完成"), ("HSC0 direction changed", "HSC0 方向改变"),
    ("HSC0 external reset", "HSC0 外部复位"), ("HSC4 current value = preset", "HSC4 当前值 = 预置值"),
    ("HSC4 direction changed", "HSC4 方向改变"), ("HSC4 external reset", "HSC4 外部复位"),
    ("HSC3 current value = preset", "HSC3 当前值 = 预置值"), ("HSC5 current value = preset", "HSC5 当前值 = 预置值"),
]
EVENTS_EN = "; ".join("%d %s" % (n, en) for n, (en, _) in enumerate(EVENT_TABLE)) + "."
EVENTS_ZH = "；".join("%d %s" % (n, zh) for n, (_, zh) in enumerate(EVENT_TABLE)) + "。"


def interrupt(lib):
    lib.groups(T("Interrupt", "中断"))
    code = 0x0E01
    last = interrupt_routines()
    int_no = op("INT", "Bc:", "Usint", limits=(1, last), routine="Interrupt")
    event = op("EVNT", "Bc:", "Usint", limits=(0, 33))
    code = box(lib, code, "ATCH", "ATCH", T("Attach interrupt", "中断连接"), [int_no, event], [],
               T("Attach: assigns the interrupt routine INT to the interrupt event EVNT; ENI then lets the event "
                 "run it. INT is the number of an interrupt routine the project holds, 1 to %d (INT1 to INT%d; INT0 "
                 "is the main program). Events: " % (last, last) + EVENTS_EN,
                 "中断连接：把中断程序 INT 与中断事件 EVNT 关联；执行 ENI 后该事件才会调用它。INT 为项目中已有的中断程序"
                 "的编号，1 至 %d（INT1 至 INT%d；INT0 为主程序）。中断事件：" % (last, last) + EVENTS_ZH))
    code = box(lib, code, "DTCH", "DTCH", T("Detach interrupt", "中断分离"), [event], [],
               T("Detach: removes the interrupt routine from the event EVNT (0 to 33, see ATCH).",
                 "中断分离：取消中断事件 EVNT（0 至 33，见 ATCH）与中断程序的关联。"))
    for name, kind, keyword, en, zh, help_en, help_zh in [
        ("ENI", "GeneratrixOutput", "ENI", "Enable interrupts", "中断允许",
         "Enable interrupts: lets the attached interrupt events run their routines.", "中断允许：允许已连接的中断事件执行中断程序。"),
        ("DISI", "GeneratrixOutput", "DISI", "Disable interrupts", "中断禁止",
         "Disable interrupts: holds back all interrupt events until they are enabled again.", "中断禁止：暂停处理所有中断事件，直到再次允许。"),
        ("CRETI", "Output", "CRETI", "Conditional return from interrupt", "中断条件返回",
         "Conditional return from interrupt: leaves the interrupt routine while power flows.", "中断条件返回：有能流时从中断程序返回。"),
        ("RETI", "GeneratrixOutput", "RETI", "Return from interrupt", "中断返回",
         "Return from interrupt: ends the interrupt routine.", "中断返回：结束中断程序。"),
    ]:
        lib.unit(name, kind, 1, [], T(en, zh))
        code = lib.stl_forms(name, [], [(name, None, T(en, zh))], code)
        lib.lad_form(name, name, "Coil", keyword, T(en, zh), ["IN"], None, entry=(name, "", T(help_en, help_zh)))


def clock(lib):
    lib.groups(T("Clock", "时钟"))
    code = 0x0F01
    buffer_out = op("T", "Bvp:", "Byte")
    buffer_in = op("T", "Bvp:", "Byte")
    code = box(lib, code, "TODR", "READ_RTC", T("Read real-time clock", "读实时时钟"), [], [buffer_out],
               T("Read clock: copies date and time into the 8-byte buffer T (year, month, day, hour, minute, second, 0, weekday; BCD).",
                 "读时钟：把日期和时间写入 8 字节缓冲区 T（年、月、日、时、分、秒、0、星期，BCD 码）。"))
    code = box(lib, code, "TODW", "SET_RTC", T("Set real-time clock", "写实时时钟"), [buffer_in], [],
               T("Set clock: sets date and time from the 8-byte buffer T (same layout as READ_RTC).",
                 "写时钟：用 8 字节缓冲区 T 设置日期和时间（格式同 READ_RTC）。"))


def pid(lib):
    lib.groups(T("PID", "PID"))
    code = 0x1001
    code = box(lib, code, "PID", "PID", T("PID loop", "PID 回路"),
               [TABLE_B_RW, op("LOOP", "Bc:", "Usint", limits=(0, 7))], [],
               T("PID: computes the loop LOOP (0 to 7) from its 36-byte loop table at TBL, all values 32-bit reals: "
                 "offset 0 process value PVn (0.0 to 1.0), 4 setpoint SPn (0.0 to 1.0), 8 output Mn (0.0 to 1.0, "
                 "written by the loop), 12 gain Kc, 16 sample time Ts (seconds), 20 integral time Ti (minutes), "
                 "24 derivative time Td (minutes), 28 bias MX (the integral sum), 32 previous process value PVn-1. "
                 "Each loop number may be used by one PID instruction only.",
                 "PID：按 TBL 处 36 字节的回路表计算回路 LOOP（0 到 7），表中各值均为 32 位实数：偏移 0 过程值 PVn"
                 "（0.0 至 1.0），4 设定值 SPn（0.0 至 1.0），8 输出 Mn（0.0 至 1.0，由回路写入），12 增益 Kc，16 采样"
                 "时间 Ts（秒），20 积分时间 Ti（分钟），24 微分时间 Td（分钟），28 偏置 MX（积分和），32 上一次过程值 "
                 "PVn-1。每个回路号只能由一条 PID 指令使用。"))


def high_speed(lib):
    lib.groups(T("High-speed I/O", "高速输入输出"))
    code = 0x1101
    code = box(lib, code, "HDEF", "HDEF", T("High-speed counter definition", "定义高速计数器"),
               [op("HSC", "Bc:", "Usint", limits=(0, 5)), op("MODE", "Bc:", "Usint", limits=(0, 11))], [],
               T("High-speed counter definition: sets the operating mode MODE (0 to 11) of the counter HSC "
                 "(0 to 5): modes 0 to 2 one input with internal direction, 3 to 5 one input with a direction input, "
                 "6 to 8 up and down count inputs, 9 to 11 A/B quadrature; within each group without reset, with "
                 "reset, with reset and start input. Run HDEF once, in the first scan (SM0.1).",
                 "定义高速计数器：设置高速计数器 HSC（0 至 5）的工作模式 MODE（0 至 11）：模式 0 至 2 为单相内部方向，"
                 "3 至 5 为单相外部方向，6 至 8 为加减双相计数，9 至 11 为 A/B 正交计数；每组依次为无复位、带复位、"
                 "带复位和启动输入。只在首次扫描（SM0.1）执行一次 HDEF。"))
    code = box(lib, code, "HSC", "HSC", T("High-speed counter", "高速计数器"),
               [op("N", "Bc:", "Usint", limits=(0, 5))], [],
               T("High-speed counter: applies the control byte of counter N (0 to 5) and starts it. Control bytes: "
                 "SMB37 (HC0), SMB47 (HC1), SMB57 (HC2), SMB137 (HC3), SMB147 (HC4), SMB157 (HC5); bit 0 reset active "
                 "low, bit 1 start active low, bit 2 quadrature rate 1x, bit 3 count up, bit 4 write the direction, "
                 "bit 5 write the preset, bit 6 write the current value, bit 7 enable. The new current value stands "
                 "in the double word after the control byte (SMD38, SMD48, ...), the new preset in the next one "
                 "(SMD42, SMD52, ...); the counter's value is read as HC0 to HC5.",
                 "高速计数器：按计数器 N（0 至 5）的控制字节设置并启动它。控制字节：SMB37（HC0）、SMB47（HC1）、"
                 "SMB57（HC2）、SMB137（HC3）、SMB147（HC4）、SMB157（HC5）；位 0 复位低电平有效，位 1 启动低电平有效，"
                 "位 2 正交 1 倍速率，位 3 加计数，位 4 写入方向，位 5 写入预置值，位 6 写入当前值，位 7 允许。新的当前值"
                 "放在控制字节后的双字中（SMD38、SMD48、...），新的预置值放在再后一个双字中（SMD42、SMD52、...）；"
                 "计数器的当前值以 HC0 至 HC5 读取。"))
    code = box(lib, code, "PLS", "PLS", T("Pulse output", "脉冲输出"), [op("Q", "Bc:", "Usint", limits=(0, 1))], [],
               T("Pulse output: starts the pulse train (PTO) or pulse-width modulation (PWM) on Q0.0 (Q = 0) or "
                 "Q0.1 (Q = 1) as its control byte says: SMB67 for Q0.0, SMB77 for Q0.1 (bit 0 update the cycle "
                 "time, bit 1 update the pulse width, bit 2 update the pulse count, bit 3 time base 1 ms instead of "
                 "1 us, bit 6 PWM instead of PTO, bit 7 enable); cycle time in SMW68/SMW78, pulse width in "
                 "SMW70/SMW80, pulse count in SMD72/SMD82.",
                 "脉冲输出：按控制字节在 Q0.0（Q = 0）或 Q0.1（Q = 1）上启动脉冲串（PTO）或脉宽调制（PWM）：Q0.0 为 "
                 "SMB67，Q0.1 为 SMB77（位 0 更新周期，位 1 更新脉宽，位 2 更新脉冲数，位 3 时基为 1 ms 而非 1 us，位 6 "
                 "PWM 而非 PTO，位 7 允许）；周期在 SMW68/SMW78，脉宽在 SMW70/SMW80，脉冲数在 SMD72/SMD82。"))


# ---- Added instructions (after every earlier definition, whose indices stay) --------------------

S_BIT = op("S_BIT", "Tv:+:Stv:", "Bit", True)


def sequence_control(lib):
    lib.groups(T("Sequence control", "顺序控制"))
    code = 0x1201
    lib.unit("LSCR", "GeneratrixOutput", 1, [S_BIT], T("Load sequence control relay", "装载顺序控制继电器"))
    code = lib.stl_forms("LSCR", [S_BIT], [("LSCR", None, T("Load sequence control relay", "装载顺序控制继电器"))], code)
    lib.lad_form("LSCR", "SCR", "Block", "SCR", T("Sequence control relay segment", "顺序控制继电器段"), [""], None,
                 op_id=[S_BIT],
                 entry=("SCR", "", T("SCR: starts the segment of the sequence control relay S_BIT (an S bit); the "
                                     "instructions up to SCRE run only while S_BIT is on. Each S bit starts one "
                                     "segment; segments are not nested.",
                                     "SCR：开始顺序控制继电器 S_BIT（S 位）的程序段；到 SCRE 为止的指令只在 S_BIT 为 1 时"
                                     "执行。每个 S 位只开始一个程序段；程序段不能嵌套。")))
    lib.unit("SCRT", "Output", 1, [S_BIT], T("Sequence control relay transition", "顺序控制继电器转换"))
    code = lib.stl_forms("SCRT", [S_BIT], [("SCRT", None, T("Sequence control relay transition", "顺序控制继电器转换"))],
                         code)
    lib.lad_form("SCRT", "SCRT", "Coil", "SCRT", T("Sequence control relay transition", "顺序控制继电器转换"), ["IN"],
                 None, op_out=[S_BIT],
                 entry=("-(SCRT)", "", T("SCRT: while power flows, turns on the S bit S_BIT of the next step and turns "
                                         "off the S bit of the segment it stands in.",
                                         "SCRT：有能流时接通下一步的 S 位 S_BIT，并断开所在程序段的 S 位。")))
    for name, kind, en, zh, help_en, help_zh in [
        ("SCRE", "GeneratrixOutput", "Sequence control relay end", "顺序控制继电器结束",
         "SCRE: ends the segment that SCR started; it stands on the power rail.",
         "SCRE：结束 SCR 开始的程序段；直接接在能流母线上。"),
        ("CSCRE", "Output", "Conditional sequence control relay end", "顺序控制继电器条件结束",
         "CSCRE: while power flows, skips the rest of the segment up to its SCRE.",
         "CSCRE：有能流时跳过程序段中到 SCRE 为止的其余指令。"),
    ]:
        lib.unit(name, kind, 1, [], T(en, zh))
        code = lib.stl_forms(name, [], [(name, None, T(en, zh))], code)
        lib.lad_form(name, name, "Coil", name, T(en, zh), ["IN"], None,
                     entry=("-(%s)" % name, "", T(help_en, help_zh)))


def encode_and_text(lib):
    lib.groups(T("Convert", "转换"))
    code = 0x0C20
    code = box(lib, code, "DECO", "DECO", T("Decode", "译码"), [U_IN], [W_OUT],
               T("Decode: sets the bit of the word OUT whose number (0 to 15) is in the low four bits of IN and "
                 "clears the other fifteen.",
                 "译码：把字 OUT 中编号等于 IN 低四位数值（0 至 15）的位置 1，其余 15 位清 0。"))
    code = box(lib, code, "ENCO", "ENCO", T("Encode", "编码"), [W_IN], [U_OUT],
               T("Encode: writes the number (0 to 15) of the lowest bit of the word IN that is 1 into the low four "
                 "bits of OUT.",
                 "编码：把字 IN 中为 1 的最低位的编号（0 至 15）写入 OUT 的低四位。"))
    fmt = op("FMT", "Bvpc:", "Byte")
    for stl, en, zh, in_op, size, help_en, help_zh in [
        ("ITA", "Integer to ASCII", "整数转换为 ASCII 码", I_IN, 8,
         "the integer IN as 8 ASCII characters, right-aligned", "把整数 IN 转换为 8 个右对齐的 ASCII 字符"),
        ("DTA", "Double integer to ASCII", "双整数转换为 ASCII 码", D_IN, 12,
         "the double integer IN as 12 ASCII characters, right-aligned", "把双整数 IN 转换为 12 个右对齐的 ASCII 字符"),
        ("RTA", "Real to ASCII", "实数转换为 ASCII 码", R_IN, 15,
         "the real IN as ASCII characters, right-aligned, as many as the high four bits of FMT say (3 to 15)",
         "把实数 IN 转换为右对齐的 ASCII 字符，字符数由 FMT 的高四位给出（3 至 15）"),
    ]:
        code = box(lib, code, stl, stl, T(en, zh), [in_op, fmt], [B_OUT.renamed("OUT")],
                   T("%s: writes %s into the buffer that starts at OUT (up to %d bytes). FMT: the low three bits "
                     "are the digits after the decimal point (0 to 5), bit 3 writes a comma instead of a point."
                     % (en, help_en, size),
                     "%s：%s，写入从 OUT 开始的缓冲区（最多 %d 个字节）。FMT：低三位为小数点后的位数（0 至 5），"
                     "位 3 为 1 时用逗号代替小数点。" % (zh, help_zh, size)))


def bit_immediate(lib):
    lib.groups(T("Bit logic", "位逻辑"))
    code = 0x0150
    code = box(lib, code, "BIR", "BIR", T("Bit immediate read", "立即读位"),
               [op("IN", "Tv:+:Itv:", "Bit")], [op("OUT", "Tv:", "Bit", addresses=SM_WRITABLE)],
               T("Bit immediate read: while EN has power, reads the physical input IN (bypassing the process image) "
                 "and writes it to the bit OUT.",
                 "立即读位：EN 有能流时直接读取物理输入 IN（不经过过程映像），写入位 OUT。"))
    code = box(lib, code, "BIW", "BIW", T("Bit immediate write", "立即写位"),
               [op("IN", "Tv:", "Bit")], [op("OUT", "Tv:+:Qtv:", "Bit")],
               T("Bit immediate write: while EN has power, writes the bit IN to the physical output OUT and to its "
                 "process image at once.",
                 "立即写位：EN 有能流时把位 IN 立即写到物理输出 OUT 及其过程映像。"))
