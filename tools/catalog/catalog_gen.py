#!/usr/bin/env python3
"""Writes the instruction libraries ("ManagerFun.xml") of the shipped PLC types from their
instruction tables (one Python module per type in this folder).

    catalog_gen.py            writes every type's ManagerFun.xml into catalog/Orvisto/<type>/
    catalog_gen.py --check    compares instead of writing; exit status 1 when a file differs

A table describes each instruction once: its statement-list mnemonics, the logic unit they
stand for, the ladder element that draws it and the texts in both languages. The writer turns
that into the five sections of the file (logic units, statement-list definitions, ladder
definitions and the two sets of conversion rules), in the order the table gives them, and
checks what the workbench relies on: unique mnemonics per operand count, unique instruction
codes per operand count, rule keys that name every operand once.
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
    def __init__(self, name, capacity, const, marker=False):
        self.name = name
        self.capacity = capacity
        self.const = const
        self.marker = marker

    def renamed(self, name):
        return Operand(name, self.capacity, self.const, self.marker)

    def xml(self):
        out = "<FunOperand" + attr("Name", self.name) + attr("Capacity", self.capacity) + attr("Const", self.const)
        if self.marker:
            out += attr("Marker", "1")
        return out + "/>"


class Unit:
    def __init__(self, name, kind, node, operands, comment):
        self.name, self.kind, self.node, self.operands, self.comment = name, kind, node, operands, comment


class StlDef:
    def __init__(self, name, comment, group, code, operands):
        self.name, self.comment, self.group, self.code, self.operands = name, comment, group, code, operands


class LadDef:
    def __init__(self, name, comment, group, look, keyword, power_in, power_out, op_id, op_in, op_out, entry):
        self.name, self.comment, self.group, self.look, self.keyword = name, comment, group, look, keyword
        self.power_in, self.power_out = power_in, power_out
        self.op_id, self.op_in, self.op_out = op_id, op_in, op_out
        self.entry = entry  # (display name, width marks, help text) or None

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

    def lad_def(self, name, comment, look, keyword, power_in, power_out, op_id=(), op_in=(), op_out=(), entry=None):
        self.lad.append(LadDef(name, comment, self.lad_group, look, keyword, list(power_in), list(power_out or []),
                               list(op_id), list(op_in), list(op_out), entry))

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
                 entry=None):
        """One ladder element of one logic unit; its operands in the order OperandId, OperandIn,
        OperandOut are the unit's operands in order."""
        self.lad_def(name, comment, look, keyword, power_in, power_out, op_id, op_in, op_out, entry)
        keys = key_of(list(op_id) + list(op_in) + list(op_out))
        self.lad_rule([(name, keys)], [(unit, keys)])


def key_of(operands):
    if len(operands) > 26:
        raise ValueError("too many operands")
    return "abcdefghijklmnopqrstuvwxyz"[: len(operands)]


# ---- writing -------------------------------------------------------------------------------

def check(library, type_name):
    seen = {}
    for index, d in enumerate(library.stl):
        key = (d.name, len(d.operands))
        if key in seen:
            raise ValueError("%s: statement-list %s with %d operands defined twice" % ((type_name,) + key))
        seen[key] = index
    codes = {}
    for d in library.stl:
        key = (d.code, len(d.operands))
        if key in codes:
            raise ValueError("%s: code %#x with %d operands used by %s and %s" % (type_name, d.code, len(d.operands),
                                                                                codes[key], d.name))
        if not 0 <= d.code <= 0xFFFF:
            raise ValueError("%s: code of %s out of range" % (type_name, d.name))
        codes[key] = d.name
    lad_keys = set()
    for d in library.lad:
        key = (d.look, d.keyword, len(d.op_id), len(d.op_in), len(d.op_out))
        if key in lad_keys:
            raise ValueError("%s: ladder element %s %s defined twice" % (type_name, d.look, d.keyword))
        lad_keys.add(key)
    units = {u.name: u for u in library.units}
    stl_by = {(d.name, len(d.operands)) for d in library.stl}
    lad_by = {}
    for d in library.lad:
        lad_by.setdefault((d.name, len(d.operands())), 0)
        lad_by[(d.name, len(d.operands()))] += 1
    for rules, lookup in ((library.stl_rules, lambda n, k: (n, len(k)) in stl_by),
                          (library.lad_rules, lambda n, k: lad_by.get((n, len(k)), 0) == 1)):
        for left, right in rules:
            for name, keys in left:
                if not lookup(name, keys):
                    raise ValueError("%s: rule names %s/%d, which is not defined once" % (type_name, name, len(keys)))
            for name, keys in right:
                if name not in units or len(units[name].operands) != len(keys):
                    raise ValueError("%s: rule names unit %s/%d" % (type_name, name, len(keys)))
            if set("".join(k for _, k in left)) != set("".join(k for _, k in right)):
                raise ValueError("%s: rule keys differ for %s" % (type_name, left))


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
