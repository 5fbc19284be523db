#!/usr/bin/env python3
"""Writes docs/names.md's member rows from the member table (control/member_rows.h).

  member_docs.py ROOT           rewrites the rows between the file's two markers
  member_docs.py --check ROOT   fails, naming the file, when the rows are not what the table gives
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from member_table import MemberTable  # noqa: E402

BEGIN = "<!-- members: written by tools/member_docs.py from control/member_rows.h -->\n"
END = "<!-- end of members -->\n"
KINDS = {"Boolean": "Boolean", "Long": "Long", "String": "String",
         "Colour": "colour (`OLE_COLOR`, `QColor`)", "Method": "method"}


def kind_of(table, member):
    if member.kind == "Enumeration":
        enumeration = table.enumerations[member.name]
        named = ", ".join(f"`{value.name}` {value.value}" for value in table.values_of(enumeration))
        return f"`{enumeration}`: {named}"
    if member.name in table.ranges:
        low, high = table.ranges[member.name]
        return f"Long, {low} to {high}"
    return KINDS[member.kind]


def default_of(member, class_index):
    if not member.saved:
        return ""
    value = member.defaults[class_index]
    if member.kind == "Boolean":
        return "True" if value else "False"
    if member.kind == "String":
        return '""'
    if member.kind == "Colour":
        return f"`#{value & 0xFF:02x}{value >> 8 & 0xFF:02x}{value >> 16:02x}`"
    return str(value)


def rows(table):
    lines = ["| Member | Id | Kind | Classes | Saved | Default (UserControl1 / ChessBoard) | Qt | "
             "In the code |\n", "|---|---|---|---|---|---|---|---|\n"]
    for member in table.members:
        classes = "both" if member.classes == "Both" else "ChessBoard"
        saved = str(member.saved) if member.saved else ""
        first = default_of(member, 0) if member.classes == "Both" else "-"
        defaults = f"{first} / {default_of(member, 1)}" if member.saved else ""
        qt = "" if member.kind == "Method" else f"`{member.name[0].lower()}{member.name[1:]}`"
        if member.name == "Enabled":
            qt += " (`QWidget`'s)"
        lines.append(f"| `{member.name}` | {member.dispatch_id} | {kind_of(table, member)} | "
                     f"{classes} | {saved} | {defaults} | {qt} | `BoardControl::{member.name}` |\n")
    return lines


def main(arguments):
    check = arguments[:1] == ["--check"]
    root = arguments[-1]
    table_path = os.path.join(root, "control", "member_rows.h")
    doc_path = os.path.join(root, "docs", "names.md")
    with open(doc_path, encoding="utf-8") as doc:
        text = doc.read()
    start, end = text.index(BEGIN) + len(BEGIN), text.index(END)
    written = text[:start] + "".join(rows(MemberTable(table_path))) + \
        text[end:]
    if check:
        if written != text:
            print(f"{doc_path}: its member rows are not the table's; run tools/member_docs.py")
            return 1
        return 0
    with open(doc_path, "w", encoding="utf-8") as doc:
        doc.write(written)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
