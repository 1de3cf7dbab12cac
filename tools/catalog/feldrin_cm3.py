"""Instruction set of the PLC type CPU-Feldrin-CM3: statement list in the LD/A/O style with the
ladder elements that draw it (contacts, coils and boxes with an EN input).

Each section below is one group of the instruction tree. The order of the statement-list
definitions is part of the compiled image (the definition index of a few instructions is fixed),
so new instructions go at the end of the list, not in the middle.
"""

from catalog_gen import Library, Operand, text as T

TYPE_FOLDER = "CPU-Feldrin-CM3"
DESCRIPTION = "Instruction set of the PLC type CPU-Feldrin-CM3 (statement list in the LD/A/O style, ladder with EN boxes)."

# The statement-list definition whose first operand is written as a dotted IPv4 address.
IP_ADDRESS_INSTRUCTION_INDEX = 177


def op(name, capacity, const, marker=False):
    return Operand(name, capacity, const, marker)


# Operand slots. Inputs accept values, pointers (*VD) and constants; outputs accept values and
# pointers and exclude the read-only analog inputs and high-speed counters.
BIT = op("bit", "Tv:", "Bit", True)
BIT_IN_IMM = op("bit", "Tv:+:Itv:", "Bit")
BIT_OUT_IMM = op("bit", "Tv:+:Qtv:", "Bit")
BIT_PLAIN = op("bit", "Tv:", "Bit")
COUNT_N = op("N", "Bvpc:", "Byte")
B_IN = op("IN", "Bvpc:", "Byte")
B_OUT = op("OUT", "Bvp:", "Byte")
I_IN = op("IN", "Wvpc:", "Int")
I_OUT = op("OUT", "Wvp:", "Int")
W_IN = op("IN", "Wvpc:", "Word")
W_OUT = op("OUT", "Wvp:", "Word")
D_IN = op("IN", "Dvpc:", "Dint")
D_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Dint")
DW_IN = op("IN", "Dvapc:", "Dword")
DW_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Dword")
R_IN = op("IN", "Dvpc:", "Real")
R_OUT = op("OUT", "Dvp:-:HCdv:AIdv:", "Real")
TIMER = op("T", "Wv:+:Twv:", "Word")
COUNTER = op("C", "Wv:+:Cwv:", "Word")
PRESET = op("PT", "Wvpc:", "Int")
CONST_BYTE = op("N", "Bc:", "Byte")
LABEL = op("N", "Wc:", "Word")
TABLE_B = op("TBL", "Bvp:", "Byte")
TABLE_W = op("TBL", "Wvp:", "Word")
PORT = op("PORT", "Bc:", "Byte")


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
         ("-| |-", "", T("Normally open contact: passes power while the bit is 1.",
                         "常开触点：位为 1 时接通能流。"))),
        ("CONTN", "LDN", "/", BIT,
         [("LDN", None, T("Load not", "取反")), ("AN", "AND", T("And not", "与反")),
          ("ON", "OR", T("Or not", "或反"))],
         T("Normally closed contact", "常闭触点"),
         ("-|/|-", "", T("Normally closed contact: passes power while the bit is 0.",
                         "常闭触点：位为 0 时接通能流。"))),
        ("CONTI", "LDI", "I", BIT_IN_IMM,
         [("LDI", None, T("Load immediate", "立即取")), ("AI", "AND", T("And immediate", "立即与")),
          ("OI", "OR", T("Or immediate", "立即或"))],
         T("Immediate contact", "立即触点"),
         ("-|I|-", "", T("Immediate normally open contact: reads the physical input directly, not the process image.",
                         "立即常开触点：直接读取物理输入，不经过过程映像。"))),
        ("CONTNI", "LDNI", "/I", BIT_IN_IMM,
         [("LDNI", None, T("Load not immediate", "立即取反")), ("ANI", "AND", T("And not immediate", "立即与反")),
          ("ONI", "OR", T("Or not immediate", "立即或反"))],
         T("Immediate closed contact", "立即常闭触点"),
         ("-|/I|-", "", T("Immediate normally closed contact: reads the physical input directly and passes power while it is 0.",
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
        lib.lad_form(unit, unit, "Cont", keyword, comment, ["IN"], ["OUT"], entry=("-|%s|-" % keyword, "", help_text))

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
        ("COIL", "=", " ", [BIT], T("Output", "输出"), T("Output coil", "输出线圈"),
         ("-( )", "", T("Output coil: writes the power flow into the bit.", "输出线圈：把能流写入位。"))),
        ("COILI", "=I", "I", [BIT_OUT_IMM], T("Output immediate", "立即输出"), T("Immediate output coil", "立即输出线圈"),
         ("-(I)", "", T("Immediate output: writes the power flow to the physical output and the process image at once.",
                        "立即输出：把能流立即写到物理输出和过程映像。"))),
        ("SET", "S", "S", [BIT_PLAIN, COUNT_N], T("Set", "置位"), T("Set coil", "置位线圈"),
         ("-(S)", "", T("Set: sets N bits from the given bit on while power flows; they stay set.",
                        "置位：有能流时从指定位开始把 N 个位置 1，并保持。"))),
        ("RST", "R", "R", [BIT_PLAIN, COUNT_N], T("Reset", "复位"), T("Reset coil", "复位线圈"),
         ("-(R)", "", T("Reset: resets N bits from the given bit while power flows; a timer or counter is reset with its value.",
                        "复位：有能流时从指定位开始把 N 个位清 0；定时器和计数器连同当前值一起复位。"))),
        ("SETI", "SI", "SI", [BIT_OUT_IMM, COUNT_N], T("Set immediate", "立即置位"), T("Immediate set coil", "立即置位线圈"),
         ("-(SI)", "", T("Immediate set: sets N physical outputs from the given one at once.",
                         "立即置位：立即把从指定输出开始的 N 个物理输出置 1。"))),
        ("RSTI", "RI", "RI", [BIT_OUT_IMM, COUNT_N], T("Reset immediate", "立即复位"), T("Immediate reset coil", "立即复位线圈"),
         ("-(RI)", "", T("Immediate reset: resets N physical outputs from the given one at once.",
                         "立即复位：立即把从指定输出开始的 N 个物理输出清 0。"))),
    ]
    for unit, mnemonic, keyword, operands, stl_comment, lad_comment, entry in coils:
        lib.unit(unit, "Output", 1, operands, lad_comment)
        code = lib.stl_forms(unit, operands, [(mnemonic, None, stl_comment)], code)
        lib.lad_form(unit, mnemonic, "Coil", keyword, lad_comment, ["IN"], None, op_out=operands, entry=entry)

    for unit, inputs, comment, help_text in [
        ("SR", ["S1", "R"], T("Set-dominant bistable", "置位优先触发器"),
         T("Set-dominant bistable: S1 sets the bit, R resets it; when both have power the bit is set.",
           "置位优先触发器：S1 置位，R 复位；两者同时有能流时置位。")),
        ("RS", ["S", "R1"], T("Reset-dominant bistable", "复位优先触发器"),
         T("Reset-dominant bistable: S sets the bit, R1 resets it; when both have power the bit is reset.",
           "复位优先触发器：S 置位，R1 复位；两者同时有能流时复位。")),
    ]:
        lib.unit(unit, "MultiInput", 2, [BIT_PLAIN], comment)
        code = lib.stl_forms(unit, [BIT_PLAIN], [(unit, None, comment)], code)
        lib.lad_form(unit, unit, "Block", unit, comment, inputs, ["OUT"], op_id=[BIT_PLAIN], entry=(unit, "", help_text))

    nop = CONST_BYTE
    lib.unit("NOP", "Output", 1, [nop], T("No operation", "空操作"))
    code = lib.stl_forms("NOP", [nop], [("NOP", None, T("No operation", "空操作"))], code)
    lib.lad_form("NOP", "NOP", "Coil", "NOP", T("No operation", "空操作"), ["IN"], None, op_out=[nop],
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
    ("B", "B", "B", T("byte", "字节"), "Bvpc:", "Byte", "+B", T("unsigned bytes", "无符号字节")),
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
            help_text = T("Compare contact: passes power while IN1 is %s IN2 (%s)." % (rel_long[0], values[0]),
                          "比较触点：IN1 %s IN2 时接通能流（%s）。" % (rel_long[1], values[1]))
            lib.lad_form(unit, "LD%s%s" % (letter, sign), "Cont", keyword, T("Compare %s" % en, "比较%s" % zh),
                         ["IN"], ["OUT"], op_in=operands, entry=(display, marks, help_text))


# ---- Timers and counters -----------------------------------------------------------------------

def timers(lib):
    lib.groups(T("Timers", "定时器"))
    code = 0x0301
    operands = [TIMER, PRESET]
    for name, comment, help_text in [
        ("TON", T("On-delay timer", "接通延时定时器"),
         T("On-delay timer: counts while IN has power; the timer bit turns on when the value reaches PT. Losing power resets it.",
           "接通延时定时器：IN 有能流时计时，当前值达到 PT 时定时器位接通；IN 断开时复位。")),
        ("TONR", T("Retentive on-delay timer", "有记忆接通延时定时器"),
         T("Retentive on-delay timer: adds up the time IN has power; the bit turns on at PT. Only a reset clears it.",
           "有记忆接通延时定时器：累计 IN 有能流的时间，达到 PT 时定时器位接通；只能用复位指令清除。")),
        ("TOF", T("Off-delay timer", "断开延时定时器"),
         T("Off-delay timer: the bit turns on with IN and turns off PT after IN loses power.",
           "断开延时定时器：IN 接通时定时器位接通，IN 断开后延时 PT 再断开。")),
    ]:
        lib.unit(name, "Output", 1, operands, comment)
        code = lib.stl_forms(name, operands, [(name, None, comment)], code)
        lib.lad_form(name, name, "Block", name, comment, ["IN"], None, op_id=[TIMER], op_in=[PRESET],
                     entry=(name, "", help_text))


def counters(lib):
    lib.groups(T("Counters", "计数器"))
    code = 0x0401
    pv = op("PV", "Wvpc:", "Int")
    operands = [COUNTER, pv]
    for name, inputs, comment, help_text in [
        ("CTU", ["CU", "R"], T("Up counter", "加计数器"),
         T("Up counter: counts up on each rising edge of CU; the counter bit turns on at PV. R resets it.",
           "加计数器：CU 每个上升沿加 1，当前值达到 PV 时计数器位接通；R 复位。")),
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
        ("INCB", "INC_B", "+B", "Increment", "加 1", B_IN, B_OUT, "byte", "字节"),
        ("INCW", "INC_W", "+W", "Increment", "加 1", I_IN, I_OUT, "word", "字"),
        ("INCD", "INC_DW", "+D", "Increment", "加 1", D_IN, D_OUT, "double word", "双字"),
        ("DECB", "DEC_B", "+B", "Decrement", "减 1", B_IN, B_OUT, "byte", "字节"),
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
    n = op("N", "Bvpc:", "Byte")
    for stl, lad, marks, in_op, out_op, en, zh in [
        ("BMB", "BLKMOV_B", "+B", B_IN, B_OUT, "bytes", "字节"),
        ("BMW", "BLKMOV_W", "+W", W_IN, W_OUT, "words", "字"),
        ("BMD", "BLKMOV_D", "+D", DW_IN.renamed("IN"), DW_OUT, "double words", "双字"),
    ]:
        code = box(lib, code, stl, lad, T("Block move %s" % en, "%s块传送" % zh), [in_op, n], [out_op],
                   T("Block move: copies N values starting at IN to the N places starting at OUT.",
                     "块传送：把从 IN 开始的 N 个数据复制到从 OUT 开始的 N 个地址。"),
                   display="BLKMOV", marks=marks)
    code = box(lib, code, "SWAP", "SWAP", T("Swap bytes", "交换字节"), [W_OUT.renamed("IN")], [],
               T("Swap bytes: exchanges the high and the low byte of the word IN.", "交换字节：交换字 IN 的高字节和低字节。"))
    code = box(lib, code, "FILL", "FILL_N", T("Fill memory", "存储器填充"), [W_IN, n], [W_OUT],
               T("Fill: writes the word IN into the N words starting at OUT.", "填充：把字 IN 写入从 OUT 开始的 N 个字。"))


def shift(lib):
    lib.groups(T("Shift and rotate", "移位和循环"))
    code = 0x0901
    n = op("N", "Bvpc:", "Byte")
    for suffix, lad_suffix, marks, in_op, out_op, width_en, width_zh in [
        ("B", "B", "+B", B_IN, B_OUT, "byte", "字节"),
        ("W", "W", "+W", W_IN, W_OUT, "word", "字"),
        ("D", "DW", "+D", DW_IN.renamed("IN"), DW_OUT, "double word", "双字"),
    ]:
        for stl, lad, en, zh, what_en, what_zh in [
            ("SL", "SHL", "Shift left", "左移", "shifts IN left by N bits, filling with 0", "把 IN 左移 N 位，空位补 0"),
            ("SR", "SHR", "Shift right", "右移", "shifts IN right by N bits, filling with 0", "把 IN 右移 N 位，空位补 0"),
            ("RL", "ROL", "Rotate left", "循环左移", "rotates IN left by N bits", "把 IN 循环左移 N 位"),
            ("RR", "ROR", "Rotate right", "循环右移", "rotates IN right by N bits", "把 IN 循环右移 N 位"),
        ]:
            code = box(lib, code, stl + suffix, "%s_%s" % (lad, lad_suffix), T("%s %s" % (en, width_en), "%s%s" % (width_zh, zh)),
                       [in_op, n], [out_op],
                       T("%s: OUT = IN %s; the last bit shifted out goes to the overflow flag." % (en, what_en),
                         "%s：OUT = %s；最后移出的位进入溢出标志。" % (zh, what_zh)),
                       display=lad, marks=marks)
    data = op("DATA", "Tv:", "Bit")
    s_bit = op("S_BIT", "Tv:", "Bit")
    length = op("N", "Bvpc:", "Sint")
    code = box(lib, code, "SHRB", "SHRB", T("Shift register bit", "移位寄存器"), [data, s_bit, length], [],
               T("Shift register: shifts DATA into the register of |N| bits that starts at S_BIT; N > 0 shifts up, N < 0 down.",
                 "移位寄存器：把 DATA 移入从 S_BIT 开始、长度为 N 的寄存器；N 为正向上移，为负向下移。"))


def table(lib):
    lib.groups(T("Table", "表"))
    code = 0x0A01
    data_in = I_IN.renamed("DATA")
    data_out = I_OUT.renamed("DATA")
    code = box(lib, code, "ATT", "AD_T_TBL", T("Add to table", "填表"), [data_in, TABLE_W], [],
               T("Add to table: appends DATA to the table TBL (word 0: maximum entries, word 1: entry count).",
                 "填表：把 DATA 加到表 TBL 的末尾（第 0 字为最大项数，第 1 字为当前项数）。"))
    code = box(lib, code, "FIFO", "FIFO", T("First in, first out", "先进先出"), [TABLE_W], [data_out],
               T("First in, first out: removes the oldest entry of TBL into DATA.", "先进先出：把表 TBL 中最早的一项移出到 DATA。"))
    code = box(lib, code, "LIFO", "LIFO", T("Last in, first out", "后进先出"), [TABLE_W], [data_out],
               T("Last in, first out: removes the newest entry of TBL into DATA.", "后进先出：把表 TBL 中最新的一项移出到 DATA。"))
    pattern = I_IN.renamed("PTN")
    index = W_OUT.renamed("INDX")
    command = op("CMD", "Bc:", "Byte")
    code = box(lib, code, "FND", "TBL_FIND", T("Table find", "查表"), [TABLE_W, pattern, index, command], [],
               T("Table find: searches TBL from entry INDX for the first entry that matches PTN (CMD 1 =, 2 <>, 3 <, 4 >) and leaves its number in INDX.",
                 "查表：从第 INDX 项起查找表 TBL 中第一个与 PTN 满足条件的项（CMD 1 =、2 <>、3 <、4 >），结果序号放入 INDX。"))


def communication(lib):
    lib.groups(T("Communication", "通信"))
    code = 0x0B01
    for stl, lad, en, zh, help_en, help_zh, tbl in [
        ("NETR", "NETR", "Network read", "网络读",
         "Network read: reads data from another PLC over the port as the table TBL describes.",
         "网络读：按表 TBL 的描述经端口从其他 PLC 读取数据。", TABLE_B),
        ("NETW", "NETW", "Network write", "网络写",
         "Network write: writes data to another PLC over the port as the table TBL describes.",
         "网络写：按表 TBL 的描述经端口向其他 PLC 写入数据。", TABLE_B),
        ("XMT", "XMT", "Transmit", "发送",
         "Transmit: sends the message buffer TBL (first byte: length) over the port in freeport mode.",
         "发送：在自由口模式下经端口发送缓冲区 TBL（第一个字节为长度）。", TABLE_B),
        ("RCV", "RCV", "Receive", "接收",
         "Receive: receives a message into the buffer TBL (first byte: length) in freeport mode.",
         "接收：在自由口模式下把报文接收到缓冲区 TBL（第一个字节为长度）。", TABLE_B),
    ]:
        code = box(lib, code, stl, lad, T(en, zh), [tbl, PORT], [], T(help_en, help_zh))
    code = box(lib, code, "GPA", "GET_ADDR", T("Get port address", "读取端口地址"), [PORT], [B_OUT.renamed("ADDR")],
               T("Get port address: reads the station address of the port into ADDR.", "读取端口地址：把端口的站地址读入 ADDR。"))
    code = box(lib, code, "SPA", "SET_ADDR", T("Set port address", "设置端口地址"), [B_IN.renamed("ADDR"), PORT], [],
               T("Set port address: sets the station address of the port to ADDR.", "设置端口地址：把端口的站地址设为 ADDR。"))
    ip = op("IP", "Dc:", "Udint")
    code = box(lib, code, "EXIO", "EXIO", T("Ethernet data exchange", "以太网数据交换"), [ip, TABLE_B], [],
               T("Ethernet exchange: exchanges the data that TBL describes with the PLC at the IPv4 address IP (written as 192.168.1.5).",
                 "以太网数据交换：与 IP 地址为 IP（写作 192.168.1.5）的 PLC 交换表 TBL 描述的数据。"))


def convert(lib):
    lib.groups(T("Convert", "转换"))
    code = 0x0C01
    for stl, lad, en, zh, in_op, out_op in [
        ("BTI", "B_I", "Byte to integer", "字节转换为整数", B_IN, I_OUT),
        ("ITB", "I_B", "Integer to byte", "整数转换为字节", I_IN, B_OUT),
        ("ITD", "I_DI", "Integer to double integer", "整数转换为双整数", I_IN, D_OUT),
        ("DTI", "DI_I", "Double integer to integer", "双整数转换为整数", D_IN, I_OUT),
        ("DTR", "DI_R", "Double integer to real", "双整数转换为实数", D_IN, R_OUT),
        ("ROUND", "ROUND", "Round real to double integer", "实数四舍五入为双整数", R_IN, D_OUT),
        ("TRUNC", "TRUNC", "Truncate real to double integer", "实数截断为双整数", R_IN, D_OUT),
        ("BCDI", "BCD_I", "BCD to integer", "BCD 码转换为整数", W_IN, W_OUT),
        ("IBCD", "I_BCD", "Integer to BCD", "整数转换为 BCD 码", W_IN, W_OUT),
    ]:
        code = box(lib, code, stl, lad, T(en, zh), [in_op], [out_op],
                   T("%s: OUT = IN converted; a value that does not fit sets the overflow flag." % en,
                     "%s：OUT = 转换后的 IN；超出范围时置溢出标志。" % zh))
    code = box(lib, code, "SEG", "SEG", T("Seven-segment code", "七段码"), [B_IN], [B_OUT],
               T("Seven-segment: OUT = the segment pattern that shows the low hexadecimal digit of IN.",
                 "七段码：OUT = 显示 IN 低位十六进制数字的七段码。"))
    length = op("LEN", "Bvpc:", "Byte")
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
        ("JMP", "Jump to label", "跳转到标号", "Jump: continues the program at the label N of the same program unit.",
         "跳转：在同一程序单元的标号 N 处继续执行。", [LABEL]),
    ]:
        lib.unit(name, "Output", 1, operands, T(en, zh))
        code = lib.stl_forms(name, operands, [(name, None, T(en, zh))], code)
        lib.lad_form(name, name, "Coil", name, T(en, zh), ["IN"], None, op_out=operands, entry=(name, "", T(help_en, help_zh)))

    lib.unit("LBL", "GeneratrixOutput", 1, [LABEL], T("Label", "标号"))
    code = lib.stl_forms("LBL", [LABEL], [("LBL", None, T("Label", "标号"))], code)
    lib.lad_form("LBL", "LBL", "Block", "LBL", T("Label", "标号"), [""], None, op_id=[LABEL],
                 entry=("LBL", "", T("Label: the target N of jump instructions; it stands alone on the power rail.",
                                     "标号：跳转指令的目标 N；直接接在能流母线上。")))

    index = op("INDX", "Wvp:", "Int")
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


def interrupt(lib):
    lib.groups(T("Interrupt", "中断"))
    code = 0x0E01
    int_no = op("INT", "Bc:", "Byte")
    event = op("EVNT", "Bc:", "Byte")
    code = box(lib, code, "ATCH", "ATCH", T("Attach interrupt", "中断连接"), [int_no, event], [],
               T("Attach: assigns the interrupt routine INT to the interrupt event EVNT.",
                 "中断连接：把中断程序 INT 与中断事件 EVNT 关联。"))
    code = box(lib, code, "DTCH", "DTCH", T("Detach interrupt", "中断分离"), [event], [],
               T("Detach: removes the interrupt routine from the event EVNT.", "中断分离：取消中断事件 EVNT 与中断程序的关联。"))
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
    code = box(lib, code, "PID", "PID", T("PID loop", "PID 回路"), [TABLE_B, op("LOOP", "Bc:", "Byte")], [],
               T("PID: computes the loop LOOP (0 to 7) from the loop table TBL (process value, setpoint, output, gain, times).",
                 "PID：按回路表 TBL（过程值、设定值、输出、增益和时间）计算回路 LOOP（0 到 7）。"))


def high_speed(lib):
    lib.groups(T("High-speed I/O", "高速输入输出"))
    code = 0x1101
    code = box(lib, code, "HDEF", "HDEF", T("High-speed counter definition", "定义高速计数器"),
               [op("HSC", "Bc:", "Byte"), op("MODE", "Bc:", "Byte")], [],
               T("High-speed counter definition: sets the operating mode MODE of the counter HSC.",
                 "定义高速计数器：设置高速计数器 HSC 的工作模式 MODE。"))
    code = box(lib, code, "HSC", "HSC", T("High-speed counter", "高速计数器"), [op("N", "Bc:", "Byte")], [],
               T("High-speed counter: starts counter N with the settings of its control and preset bytes.",
                 "高速计数器：按其控制字节和预置值启动计数器 N。"))
    code = box(lib, code, "PLS", "PLS", T("Pulse output", "脉冲输出"), [op("Q", "Bc:", "Byte")], [],
               T("Pulse output: starts the pulse train or pulse-width output on Q0.0 (Q = 0) or Q0.1 (Q = 1).",
                 "脉冲输出：在 Q0.0（Q = 0）或 Q0.1（Q = 1）上启动脉冲串或脉宽调制输出。"))
