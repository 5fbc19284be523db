"""The member table, control/member_rows.h, as the generators read it.

Each row is one line, VELMORA_MEMBER(...), VELMORA_RANGE(...), VELMORA_ENUMERATION(...) or
VELMORA_NAMED_VALUE(...), its fields separated by commas; a help string is a quoted C string.
"""
import csv
import re
from collections import namedtuple

Member = namedtuple("Member", "name dispatch_id kind classes saved defaults help")
NamedValue = namedtuple("NamedValue", "enumeration name value")

ROW = re.compile(r"^(VELMORA_\w+)\((.*)\)\s*$")


class MemberTable:
    def __init__(self, path):
        self.members = []
        self.named_values = []
        self.ranges = {}  # a Long's lowest and highest value, by name
        self.enumerations = {}  # an Enumeration's type, by name
        with open(path, encoding="utf-8") as source:
            for line in source:
                row = ROW.match(line)
                if not row:
                    continue
                macro, fields = row.group(1), fields_of(row.group(2))
                if macro == "VELMORA_MEMBER":
                    name, dispatch_id, kind, classes, saved, first, board, help_text = fields
                    self.members.append(Member(name, dispatch_id, kind, classes, int(saved),
                                               (int(first, 0), int(board, 0)), help_text))
                elif macro == "VELMORA_RANGE":
                    name, low, high = fields
                    self.ranges[name] = (int(low), int(high))
                elif macro == "VELMORA_ENUMERATION":
                    name, enumeration = fields
                    self.enumerations[name] = enumeration
                elif macro == "VELMORA_NAMED_VALUE":
                    enumeration, name, value = fields
                    self.named_values.append(NamedValue(enumeration, name, int(value)))

    def values_of(self, enumeration):
        return [value for value in self.named_values if value.enumeration == enumeration]


def fields_of(text):
    """A row's fields; a quoted one without its quotes and escapes."""
    reader = csv.reader([text], skipinitialspace=True, escapechar="\\", doublequote=False)
    return [field.strip() for field in next(reader)]
