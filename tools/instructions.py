#!/usr/bin/env python3
"""Instructions and heap allocations per benchmark operation, held to their bounds.

Instructions are counted by callgrind: the difference between runs of 2N and N operations,
divided by N, so start-up and warm-up cancel out. Callgrind counts are exact, so every run of
one build gives the same numbers. Allocations are counted the same way, natively, by the
programs that count them. What each operation is called and its bounds: bench/operations.txt.

  tools/instructions.py BENCH...                  every operation the programs list, as the
                                                  README's performance table
  tools/instructions.py --check BENCH...          only the operations that have a bound
  tools/instructions.py --update-readme BENCH...  the table, written into README.md

Every mode fails when a measured operation is over a bound.
"""

import argparse
import math
import pathlib
import re
import subprocess
import sys
from dataclasses import dataclass
from fractions import Fraction
from typing import Optional

ROOT = pathlib.Path(__file__).resolve().parent.parent
OPERATIONS_FILE = ROOT / "bench" / "operations.txt"
README = ROOT / "README.md"
TABLE_START = "<!-- performance table: tools/instructions.py --update-readme writes it -->"
TABLE_END = "<!-- end of performance table -->"
# Even, so an operation that alternates between two inputs counts both alike.
RUNS = 10


@dataclass(frozen=True)
class Bound:
    """At most `limit` instructions per operation, or `limit` times operation `of`."""

    limit: Fraction
    of: Optional[str] = None


@dataclass(frozen=True)
class Operation:
    title: str
    instruction_bound: Optional[Bound] = None
    allocation_bound: Optional[int] = None
    allocation_note: str = ""


@dataclass(frozen=True)
class Measurement:
    name: str
    instructions: Fraction
    allocations: Optional[Fraction]


def parse_bound(text: str) -> Optional[Bound]:
    if not text:
        return None
    relative = re.fullmatch(r"([0-9.]+) times (\w+)", text)
    if relative:
        return Bound(Fraction(relative[1]), relative[2])
    return Bound(Fraction(int(text)))


def parse_operations(text: str) -> dict:
    operations = {}
    for line in text.splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        name, title, instructions, allocations, note = (f.strip() for f in line.split("|"))
        operations[name] = Operation(title, parse_bound(instructions),
                                     int(allocations) if allocations else None, note)
    return operations


def callgrind_count(bench: str, operation: str, runs: int) -> int:
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                             bench, "--ops", operation, str(runs)],
                            capture_output=True, text=True, check=True)
    return int(re.search(r"Collected : (\d+)", result.stderr)[1])


def allocation_count(bench: str, operation: str, runs: int) -> Optional[int]:
    result = subprocess.run([bench, "--allocations", operation, str(runs)],
                            capture_output=True, text=True)
    return int(result.stdout) if result.returncode == 0 else None


def per_operation(count, bench: str, operation: str) -> Optional[Fraction]:
    once, twice = count(bench, operation, RUNS), count(bench, operation, 2 * RUNS)
    return None if once is None else Fraction(twice - once, RUNS)


def measure(bench: str, operation: str) -> Measurement:
    return Measurement(operation, per_operation(callgrind_count, bench, operation),
                       per_operation(allocation_count, bench, operation))


def listed_operations(bench: str) -> list:
    return subprocess.run([bench, "--list-ops"], capture_output=True, text=True,
                          check=True).stdout.split()


def bounded_names(names: list, operations: dict) -> list:
    """The bounded operations among `names`, and those their bounds refer to."""
    wanted = set()
    for name in names:
        operation = operations.get(name, Operation(name))
        bound = operation.instruction_bound
        if bound or operation.allocation_bound is not None:
            wanted.add(name)
        if bound and bound.of:
            wanted.add(bound.of)
    return [name for name in names if name in wanted]


def instruction_limit(bound: Bound, measured: dict) -> Fraction:
    if bound.of is None:
        return bound.limit
    if bound.of not in measured:
        raise LookupError(f"{bound.of} was not measured")
    return bound.limit * measured[bound.of].instructions


def bound_failures(measured: dict, operations: dict) -> list:
    """What is over its bound, one sentence each."""
    failures = []
    for m in measured.values():
        operation = operations.get(m.name, Operation(m.name))
        if operation.instruction_bound:
            limit = instruction_limit(operation.instruction_bound, measured)
            if m.instructions > limit:
                failures.append(f"{m.name}: {decimal(m.instructions)} instructions per operation,"
                                f" over its bound of {decimal(limit)}")
        allowed = operation.allocation_bound
        if allowed is not None and m.allocations is not None and m.allocations > allowed:
            failures.append(f"{m.name}: {decimal(m.allocations)} heap allocations per operation,"
                            f" over its bound of {allowed}")
    return failures


def whole(value: Fraction) -> str:
    return f"{math.floor(value + Fraction(1, 2)):,}"


def decimal(value: Fraction) -> str:
    return f"{float(value):,.1f}".removesuffix(".0")


def bound_text(operation: Operation) -> str:
    parts = []
    bound = operation.instruction_bound
    if bound:
        parts.append(f"{decimal(bound.limit)} times {bound.of}" if bound.of else whole(bound.limit))
    if operation.allocation_bound == 0:
        parts.append("no allocation")
    elif operation.allocation_bound is not None:
        parts.append(f"at most {operation.allocation_bound} allocations")
    return "; ".join(parts)


def table_row(m: Measurement, measured: dict, operations: dict) -> str:
    operation = operations.get(m.name, Operation(f"`{m.name}`"))
    instructions = whole(m.instructions)
    bound = operation.instruction_bound
    if bound and bound.of in measured:
        ratio = m.instructions / measured[bound.of].instructions
        instructions += f" ({float(ratio):.2f} times {bound.of})"
    allocations = "" if m.allocations is None else whole(m.allocations)
    if allocations and operation.allocation_note:
        allocations += f" ({operation.allocation_note})"
    return f"| {operation.title} | {instructions} | {allocations} | {bound_text(operation)} |"


def table(measured: dict, operations: dict) -> str:
    rows = [table_row(m, measured, operations) for m in measured.values()]
    return "\n".join(["| Operation | Instructions | Heap allocations | Bound |",
                      "|---|---|---|---|", *rows])


def with_table(readme: str, new_table: str) -> str:
    """The README with the text between the table's markers replaced by `new_table`, set off
    by blank lines so that the markers never join the table."""
    start, end = readme.find(TABLE_START), readme.find(TABLE_END)
    if start < 0 or end < start:
        raise ValueError("README.md has no performance table markers")
    return readme[:start + len(TABLE_START)] + "\n\n" + new_table + "\n\n" + readme[end:]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    mode = parser.add_mutually_exclusive_group()
    mode.add_argument("--check", action="store_true", help="measure only bounded operations")
    mode.add_argument("--update-readme", action="store_true", help="rewrite README.md's table")
    parser.add_argument("bench", nargs="+", help="a benchmark program")
    args = parser.parse_args()

    operations = parse_operations(OPERATIONS_FILE.read_text())
    measured = {}
    for bench in args.bench:
        names = listed_operations(bench)
        for name in bounded_names(names, operations) if args.check else names:
            measured[name] = m = measure(bench, name)
            allocations = ("" if m.allocations is None else
                           f", heap allocations {decimal(m.allocations)}")
            print(f"{name} per operation: instructions {decimal(m.instructions)}{allocations}",
                  file=sys.stderr)

    try:
        failures = bound_failures(measured, operations)
    except LookupError as missing:
        failures = [f"a bound cannot be checked: {missing}"]
    if args.update_readme:
        unmeasured = [name for name in operations if name not in measured]
        if unmeasured:
            print(f"not measured: {', '.join(unmeasured)}; pass every benchmark program",
                  file=sys.stderr)
            return 2
        README.write_text(with_table(README.read_text(), table(measured, operations)))
        print("README.md: performance table written", file=sys.stderr)
    elif not args.check:
        print(table(measured, operations))
    for failure in failures:
        print(f"FAILED: {failure}", file=sys.stderr)
    if args.check and not failures:
        print(f"{len(measured)} operations within their bounds", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
