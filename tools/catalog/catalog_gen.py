#!/usr/bin/env python3
"""Writes the instruction libraries ("ManagerFun.xml") of the shipped PLC types from their
instruction tables (one Python module per type in this folder).

    catalog_gen.py            writes every type's ManagerFun.xml into catalog/Orvisto/<type>/
    catalog_gen.py --check    compares instead of writing; exit status 1 when a file differs

A table describes each instruction once: its statement-list mnemonics, the logic unit they
stand for, the ladder element that draws it and the texts in both languages. The writer turns
that into the five sections of the file (logic units, statement-list definitions, ladder
definitions and the two sets of conversion rules), in the order the table gives them, and
checks what the workbench relies on: unique mnemonics per operand count (or definitions of one
mnemonic and code that a device position tells apart), unique instruction codes per operand
count, rule keys that name every operand once.
"""

import argparse
import importlib
import os
import sys
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
CATALOG = os.path.join(ROOT, "catalog", "Orvisto")

# The instruction tables, each a module of this folder with TYPE_FOLDER and build(library).
TYPE_MODULES = ["feldrin_cm3", "feldrin_fx"]


def text(en, zh):
    """A text in both languages, as the library's readers select them."""
    return (en, zh)


def localized(value):
    if value is None:
        return ""
    if isinstance(value, tuple):
        en, zh = value
        return "${%s}${%s}" % (en, zh)
    return value


def attr(name, value):
    return ' %s="%s"' % (name, escape(value, {'"': "&quot;"}))


class Operand:
    """One operand slot: its name, operand format, data type, whether the memory marker may be
    shown behind it, and what limits it further:
      limits     the values a constant written there may take: (low, high) or a list of such
      addresses  the addresses it takes in the areas they name: texts "T32~T63" or "Y000"
      counts     the name of the operand whose bits this count counts from (S bit, N)
      at_most    the name of the operand this count may not exceed (SFTL n2 <= n1)
      routine    "Interrupt": the constant names an interrupt routine the project must hold
      read_write the instruction reads the operand and writes it back"""

    def __init__(self, name, capacity, const, marker=False, limits=None, addresses=None, counts=None,
                 at_most=None, routine=None, read_write=False):
        self.name = name
        self.capacity = capacity
        self.const = const
        self.marker = marker
        self.limits = [limits] if isinstance(limits, tuple) else limits
        self.addresses = addresses
        self.counts = counts
        self.at_most = at_most
        self.routine = routine
        self.read_write = read_write

    def _with(self, **changes):
        fields = dict(name=self.name, capacity=self.capacity, const=self.const, marker=self.marker,
                      limits=self.limits, addresses=self.addresses, counts=self.counts, at_most=self.at_most,
                      routine=self.routine, read_write=self.read_write)
        fields.update(changes)
        return Operand(**fields)

    def renamed(self, name):
        return self._with(name=name)

    def limited(self, low, high):
        return self._with(limits=[(low, high)])

    def restricted(self, **changes):
        """The slot with other limits: any of limits, addresses, counts, at_most, routine, read_write."""
        return self._with(**changes)

    def xml(self):
        out = "<FunOperand" + attr("Name", self.name) + attr("Capacity", self.capacity) + attr("Const", self.const)
        if self.marker:
            out += attr("Marker", "1")
        if self.limits:
            out += attr("Range", ",".join("%d~%d" % limit for limit in self.limits))
        if self.addresses:
            out += attr("Addresses", ",".join(self.addresses))
        if self.counts:
            out += attr("Counts", self.counts)
        if self.at_most:
            out += attr("AtMost", self.at_most)
        if self.routine:
            out += attr("Routine", self.routine)
        if self.read_write:
            out += attr("ReadWrite", "1")
        return out + "/>"


class Unit:
    def __init__(self, name, kind, node, operands, comment):
        self.name, self.kind, self.node, self.operands, self.comment = name, kind, node, operands, comment


class StlDef:
    def __init__(self, name, comment, group, code, operands):
        self.name, self.comment, self.group, self.code, self.operands = name, comment, group, code, operands


class LadDef:
    def __init__(self, name, comment, group, look, keyword, power_in, power_out, op_id, op_in, op_out, entry,
                 order=None):
        self.name, self.comment, self.group, self.look, self.keyword = name, comment, group, look, keyword
        self.power_in, self.power_out = power_in, power_out
        self.op_id, self.op_in, self.op_out = op_id, op_in, op_out
        self.entry = entry  # (display name, width marks, help text) or None
        # The place in the instruction of each operand (OperandId, OperandIn, OperandOut in turn).
        self.order = order if order is not None else list(range(len(op_id) + len(op_in) + len(op_out)))

    def operands(self):
        return self.op_id + self.op_in + self.op_out


class Library:
    """The instruction set of one PLC type as the table builds it."""

    def __init__(self, fx_mode, sbr_comment, sbr_parent, fx_names=None):
        self.fx_mode = fx_mode
        self.sbr_comment = sbr_comment
        self.sbr_parent = sbr_parent
        self.fx_names = fx_names or {}
        self.units = []
        self.stl = []
        self.lad = []
        self.stl_rules = []
        self.lad_rules = []
        self.stl_group = None
        self.lad_group = None
        self._unit_names = set()
        for name in ("AND", "OR", "LPS", "LRD", "LPP"):
            self.unit(name, "Sys", 0, [], name)

    # ---- building blocks -------------------------------------------------------------------

    def groups(self, stl_group, lad_group=None):
        """The group of the statement-list and ladder definitions that follow."""
        self.stl_group = stl_group
        self.lad_group = lad_group if lad_group is not None else stl_group

    def unit(self, name, kind, node, operands, comment):
        if name in self._unit_names:
            raise ValueError("unit %s defined twice" % name)
        self._unit_names.add(name)
        self.units.append(Unit(name, kind, node, operands, comment))
        return name

    def stl_def(self, name, comment, code, operands):
        self.stl.append(StlDef(name, comment, self.stl_group, code, operands))

    def lad_def(self, name, comment, look, keyword, power_in, power_out, op_id=(), op_in=(), op_out=(), entry=None,
                order=None):
        self.lad.append(LadDef(name, comment, self.lad_group, look, keyword, list(power_in), list(power_out or []),
                               list(op_id), list(op_in), list(op_out), entry, order))

    def stl_rule(self, left, right):
        self.stl_rules.append((left, right))

    def lad_rule(self, left, right):
        self.lad_rules.append((left, right))

    # ---- families ----------------------------------------------------------------------------

    def stl_forms(self, unit, operands, forms, code):
        """Statement-list forms of one logic unit: forms is a list of (mnemonic, join, comment)
        where join is None (a load: the unit alone), "AND" or "OR" (the unit combined with the
        logic before it). Returns the next free code."""
        keys = key_of(operands)
        for mnemonic, join, comment in forms:
            self.stl_def(mnemonic, comment, code, operands)
            right = [(unit, keys)] + ([(join, "")] if join else [])
            self.stl_rule([(mnemonic, keys)], right)
            code += 1
        return code

    def lad_form(self, unit, name, look, keyword, comment, power_in, power_out, op_id=(), op_in=(), op_out=(),
                 entry=None, order=None):
        """One ladder element of one logic unit. Its operands in the order OperandId, OperandIn,
        OperandOut are the unit's operands in order, or, with order, operand k of that sequence is
        the unit's operand order[k] (a coil whose count is an input after its output bit, a box
        whose count follows its destination)."""
        count = len(op_id) + len(op_in) + len(op_out)
        order = list(order) if order is not None else list(range(count))
        if sorted(order) != list(range(count)):
            raise ValueError("%s: operand order %s is no permutation" % (name, order))
        self.lad_def(name, comment, look, keyword, power_in, power_out, op_id, op_in, op_out, entry, order)
        unit_keys = key_of([None] * count)
        self.lad_rule([(name, "".join(unit_keys[p] for p in order))], [(unit, unit_keys)])


def key_of(operands):
    if len(operands) > 26:
        raise ValueError("too many operands")
    return "abcdefghijklmnopqrstuvwxyz"[: len(operands)]


# ---- writing -------------------------------------------------------------------------------

def slot_key(operand):
    """What a slot takes, whatever it is called: its format, data type, values and addresses."""
    return (operand.capacity, operand.const, tuple(operand.limits or ()), tuple(operand.addresses or ()))


def takes_constants(operand):
    """Whether the operand's format admits constants (a "c" among its first part's kinds)."""
    return "c" in operand.capacity.split(":")[0][1:]


def told_apart(a, b):
    """Two definitions of one name and operand count are told apart by their operands: some
    position takes devices in both and no device of the one in the other (the FX timer and counter
    coil of the 16-bit devices and that of the 32-bit counters)."""
    for x, y in zip(a, b):
        if takes_constants(x) or takes_constants(y):
            continue
        if x.capacity != y.capacity:
            return True
    return False


def check_shared(defs, what, type_name):
    """Definitions that share what identifies them must be told apart by a device position."""
    for i, a in enumerate(defs):
        for b in defs[i + 1:]:
            if not told_apart(a[1], b[1]):
                raise ValueError("%s: %s defined twice" % (type_name, what))


def check(library, type_name):
    shared = {}
    for d in library.stl:
        shared.setdefault((d.name, len(d.operands)), []).append((d, d.operands))
    for (name, count), defs in shared.items():
        check_shared(defs, "statement-list %s with %d operands" % (name, count), type_name)
        if len({d.code for d, _ in defs}) != 1:
            raise ValueError("%s: the statement-list definitions %s with %d operands differ in their code"
                             % (type_name, name, count))
    codes = {}
    for d in library.stl:
        key = (d.code, len(d.operands))
        if key in codes and codes[key] != d.name:
            raise ValueError("%s: code %#x with %d operands used by %s and %s" % (type_name, d.code, len(d.operands),
                                                                                codes[key], d.name))
        if not 0 <= d.code <= 0xFFFF:
            raise ValueError("%s: code of %s out of range" % (type_name, d.name))
        codes[key] = d.name
    lad_keys = {}
    for d in library.lad:
        key = (d.look, d.keyword, len(d.op_id), len(d.op_in), len(d.op_out))
        lad_keys.setdefault(key, []).append((d, d.operands()))
    for key, defs in lad_keys.items():
        check_shared(defs, "ladder element %s %s" % key[:2], type_name)
    check_catalog_entries(library, type_name)
    for d in library.lad:
        if d.look == "Block" and d.order != sorted(d.order):
            raise ValueError("%s: the box %s writes its operands in another order than its pins" % (type_name, d.name))
        for operand in d.op_out + [o for o in d.operands() if o.read_write]:
            if takes_constants(operand):
                raise ValueError("%s: output %s of %s takes constants" % (type_name, operand.name, d.name))
    for d in library.stl:
        check_relations(d.operands, "%s: %s" % (type_name, d.name))
    for d in library.lad:
        check_relations(d.operands(), "%s: %s" % (type_name, d.name))
    units = {u.name: u for u in library.units}
    stl_by = {key: [operands for _, operands in defs] for key, defs in shared.items()}
    lad_by = {}
    for d in library.lad:
        lad_by.setdefault((d.name, len(d.operands())), []).append(d.operands())
    for rules, by in ((library.stl_rules, stl_by), (library.lad_rules, lad_by)):
        for left, right in rules:
            for name, keys in right:
                if name not in units or len(units[name].operands) != len(keys):
                    raise ValueError("%s: rule names unit %s/%d" % (type_name, name, len(keys)))
            for name, keys in left:
                defs = by.get((name, len(keys)), [])
                # Of definitions that share name and count, a rule of one item on each side names
                # the one whose operands are those of the unit (as the library reader finds it).
                if len(defs) > 1 and len(left) == 1 and len(right) == 1:
                    unit = sorted(map(slot_key, units[right[0][0]].operands))
                    defs = [o for o in defs if sorted(map(slot_key, o)) == unit]
                if len(defs) != 1:
                    raise ValueError("%s: rule names %s/%d, which is not defined once" % (type_name, name, len(keys)))
            if set("".join(k for _, k in left)) != set("".join(k for _, k in right)):
                raise ValueError("%s: rule keys differ for %s" % (type_name, left))


def check_relations(operands, where):
    """An operand bound to another names one of the same definition, and a bound count has
    ranges to narrow; ranges ascend."""
    names = [o.name for o in operands]
    for operand in operands:
        for other in (operand.counts, operand.at_most):
            if other is not None and (other not in names or other == operand.name):
                raise ValueError("%s: %s names the operand %s, which the definition does not have" % (where, operand.name, other))
        if (operand.counts or operand.at_most) and not operand.limits:
            raise ValueError("%s: %s is bound to another operand but has no range" % (where, operand.name))
        for low, high in operand.limits or []:
            if low > high:
                raise ValueError("%s: %s has the empty range %d~%d" % (where, operand.name, low, high))
        if operand.routine not in (None, "Interrupt"):
            raise ValueError("%s: %s names the routine kind %s" % (where, operand.name, operand.routine))


def catalog_entry(d):
    """The display name and width marks a ladder definition shows in the instruction tree, as the
    library splits its GroupName (English texts)."""
    if d.entry is None:
        return d.name, ""
    display, marks, _ = d.entry
    return (display[0] if isinstance(display, tuple) else display), marks


def check_catalog_entries(library, type_name):
    """No two items of the instruction tree share a name, no name is empty or "-", no display
    text holds the field separator "|", and the variants of one item differ in their width marks."""
    items = {}
    for d in library.lad:
        if d.entry is not None:
            display, marks, help_text = d.entry
            for text in (display, marks, help_text):
                for piece in (text if isinstance(text, tuple) else (text,)):
                    if "|" in piece:
                        raise ValueError("%s: %s: '|' in the entry text %r" % (type_name, d.name, piece))
        name, marks = catalog_entry(d)
        if name.strip() in ("", "-"):
            raise ValueError("%s: %s has no name in the instruction tree" % (type_name, d.name))
        flags = frozenset(m for m in ("+T", "+B", "+W", "+D", "+P") if m in marks)
        group = d.group[0] if isinstance(d.group, tuple) else d.group
        entry = items.setdefault(name, (group, set()))
        if entry[0] != group:
            raise ValueError("%s: the instruction tree names %s in two groups" % (type_name, name))
        if flags in entry[1]:
            raise ValueError("%s: two variants of %s with the marks %r" % (type_name, name, marks))
        entry[1].add(flags)


def write_unit(lines, head, operands):
    """One Unit element of FunOrg or FunStl: with its Operand elements inside, or empty."""
    if not operands:
        lines.append(head + "/>")
        return
    lines.append(head + ">")
    write_operands(lines, "      ", "Operand", operands)
    lines.append("    </Unit>")


def write_operands(lines, indent, tag, operands):
    if not operands:
        return
    if len(operands) == 1:
        lines.append("%s<%s>%s</%s>" % (indent, tag, operands[0].xml(), tag))
        return
    lines.append("%s<%s>" % (indent, tag))
    for o in operands:
        lines.append("%s  %s" % (indent, o.xml()))
    lines.append("%s</%s>" % (indent, tag))


def write_powers(lines, indent, tag, names):
    if names is None or (not names and tag == "PowerOut"):
        return
    lines.append("%s<%s>%s</%s>" % (indent, tag, "".join("<FunPower%s/>" % attr("Name", n) for n in names), tag))


def write_rule(lines, left, right):
    def items(pairs):
        return "".join("<Item%s%s/>" % (attr("Name", n), attr("Key", k) if k else "") for n, k in pairs)
    lines.append("    <Unit><Left>%s</Left><Right>%s</Right></Unit>" % (items(left), items(right)))


def render(library, type_name, description):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>']
    lines.append("<!-- %s -->" % escape(description))
    lines.append("<!-- Written by tools/catalog/catalog_gen.py from tools/catalog/%s.py; edit the table, not this file. -->"
                 % library.module)
    root = "<ManagerFun" + attr("FxMode", str(library.fx_mode)) + attr("SbrComment", localized(library.sbr_comment)) \
        + attr("SbrParent", localized(library.sbr_parent))
    for key in ("LadFxNameLd", "LadFxNameLdi", "LadFxNameLdp", "LadFxNameLdf", "LadFxNameInv", "LadFxNameCoil"):
        if key in library.fx_names:
            root += attr(key, library.fx_names[key])
    lines.append(root + ">")

    lines.append("  <FunOrg>")
    for u in library.units:
        write_unit(lines, "    <Unit" + attr("Name", u.name) + attr("Comment", localized(u.comment))
                   + attr("Type", u.kind) + attr("Node", str(u.node)), u.operands)
    lines.append("  </FunOrg>")

    lines.append("  <FunStl>")
    for d in library.stl:
        write_unit(lines, "    <Unit" + attr("Name", d.name) + attr("Comment", localized(d.comment))
                   + attr("Parent", localized(d.group)) + attr("Slot", "16#%04X" % d.code), d.operands)
    lines.append("  </FunStl>")

    lines.append("  <FunLad>")
    for d in library.lad:
        head = "    <Unit" + attr("Name", d.name) + attr("Comment", localized(d.comment)) \
            + attr("Parent", localized(d.group)) + attr("Look", d.look) + attr("Keyword", d.keyword)
        if d.entry is not None:
            display, marks, help_text = d.entry
            if isinstance(display, tuple) or isinstance(help_text, tuple):
                den, dzh = display if isinstance(display, tuple) else (display, display)
                hen, hzh = help_text if isinstance(help_text, tuple) else (help_text, help_text)
                group_name = localized(("%s|%s|%s" % (den, marks, hen), "%s|%s|%s" % (dzh, marks, hzh)))
            else:
                group_name = "%s|%s|%s" % (display, marks, help_text)
            head += attr("GroupName", group_name)
        lines.append(head + ">")
        write_powers(lines, "      ", "PowerIn", d.power_in)
        write_powers(lines, "      ", "PowerOut", d.power_out)
        write_operands(lines, "      ", "OperandId", d.op_id)
        write_operands(lines, "      ", "OperandIn", d.op_in)
        write_operands(lines, "      ", "OperandOut", d.op_out)
        lines.append("    </Unit>")
    lines.append("  </FunLad>")

    lines.append("  <ConvertStl>")
    for left, right in library.stl_rules:
        write_rule(lines, left, right)
    lines.append("  </ConvertStl>")
    lines.append("  <ConvertLad>")
    for left, right in library.lad_rules:
        write_rule(lines, left, right)
    lines.append("  </ConvertLad>")
    lines.append("</ManagerFun>")
    return "\n".join(lines) + "\n"


def build_type(module_name):
    module = importlib.import_module(module_name)
    library = module.build()
    library.module = module_name
    check(library, module.TYPE_FOLDER)
    if hasattr(module, "verify"):
        module.verify(library)
    return module.TYPE_FOLDER, render(library, module.TYPE_FOLDER, module.DESCRIPTION)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare with the shipped files instead of writing")
    parser.add_argument("--catalog", default=CATALOG, help="the catalog folder (default: catalog/Orvisto)")
    args = parser.parse_args()
    sys.path.insert(0, HERE)
    differs = False
    for module_name in TYPE_MODULES:
        folder, content = build_type(module_name)
        path = os.path.join(args.catalog, folder, "ManagerFun.xml")
        if args.check:
            try:
                with open(path, encoding="utf-8", newline="") as f:
                    shipped = f.read()
            except OSError as error:
                print("%s: %s" % (path, error))
                differs = True
                continue
            if shipped != content:
                print("%s differs from its table tools/catalog/%s.py; run tools/catalog/catalog_gen.py" % (path, module_name))
                differs = True
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(content)
            print("wrote %s" % path)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main())
