#!/usr/bin/env python3
"""Bounds, table rows and the README rewrite of tools/instructions.py, without callgrind."""

import pathlib
import sys
import unittest
from fractions import Fraction

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import instructions as ins  # noqa: E402

OPERATIONS = ins.parse_operations("""# comment
Move | a move | 1000 | 0 |
Load | a load | | | the text
Small | small | | |
Large | large | 4.5 times Small | |
""")


def measured(*items):
    return {name: ins.Measurement(name, Fraction(instructions), allocations)
            for name, instructions, allocations in items}


class Bounds(unittest.TestCase):
    def test_failures(self):
        cases = [
            ("at the bound", measured(("Move", 1000, 0)), []),
            ("half an instruction over",
             measured(("Move", Fraction(2001, 2), 0)),
             ["Move: 1,000.5 instructions per operation, over its bound of 1,000"]),
            ("one allocation", measured(("Move", 900, Fraction(1))),
             ["Move: 1 heap allocations per operation, over its bound of 0"]),
            ("uncounted allocations pass", measured(("Move", 900, None)), []),
            ("within a relative bound", measured(("Small", 100, None), ("Large", 450, None)), []),
            ("over a relative bound", measured(("Small", 100, None), ("Large", 451, None)),
             ["Large: 451 instructions per operation, over its bound of 450"]),
            ("unbounded and unknown operations", measured(("Load", 10**9, 5), ("New", 1, 1)), []),
        ]
        for name, items, expected in cases:
            with self.subTest(name):
                self.assertEqual(ins.bound_failures(items, OPERATIONS), expected)

    def test_a_relative_bound_needs_its_reference(self):
        with self.assertRaises(LookupError):
            ins.bound_failures(measured(("Large", 1, None)), OPERATIONS)

    def test_check_measures_bounded_operations_and_their_references(self):
        names = ["Move", "Load", "Small", "Large", "New"]
        self.assertEqual(ins.bounded_names(names, OPERATIONS), ["Move", "Small", "Large"])


class Repeat(unittest.TestCase):
    def test_two_measurements_of_an_operation_agree_within_half_a_percent(self):
        cases = [
            ("identical", 1000, 1000, []),
            ("half a percent higher", 1000, 1005, []),
            ("half a percent lower", 1000, 995, []),
            ("more than half a percent", 1000, 1006,
             ["Move: measured twice, 1,000 and 1,006 instructions per operation; a count that"
              " changes from run to run depends on more than the code"]),
            ("less by more than half a percent", 1000, 994,
             ["Move: measured twice, 1,000 and 994 instructions per operation; a count that"
              " changes from run to run depends on more than the code"]),
        ]
        for name, first, second, expected in cases:
            with self.subTest(name):
                self.assertEqual(ins.repeat_failures(measured(("Move", first, 0)),
                                                     measured(("Move", second, 0))), expected)


class Table(unittest.TestCase):
    def test_rows(self):
        items = measured(("Move", Fraction(1623, 2), Fraction(0)), ("Load", 1385, Fraction(1)),
                         ("Small", 1000, None), ("Large", 3650, None), ("New", 7, None))
        self.assertEqual(ins.table(items, OPERATIONS).splitlines()[2:], [
            "| a move | 812 | 0 | 1,000; no allocation |",
            "| a load | 1,385 | 1 (the text) |  |",
            "| small | 1,000 |  |  |",
            "| large | 3,650 (3.65 times Small) |  | 4.5 times Small |",
            "| `New` | 7 |  |  |",
        ])

    def test_the_readme_keeps_everything_outside_the_markers(self):
        readme = f"before\n{ins.TABLE_START}\nold\n{ins.TABLE_END}\nafter\n"
        self.assertEqual(ins.with_table(readme, "new"),
                         f"before\n{ins.TABLE_START}\n\nnew\n\n{ins.TABLE_END}\nafter\n")
        with self.assertRaises(ValueError):
            ins.with_table("no markers", "new")


if __name__ == "__main__":
    unittest.main()
