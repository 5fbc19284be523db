#!/usr/bin/env python3
"""Instructions and heap allocations per benchmark operation, held to their bounds.

Instructions are counted by callgrind inside the programs' measured loop only
(bench/ops_main.h's MeasuredLoop): the difference between runs of 2N and N operations, divided
by N, so warm-up cancels out. Allocations are counted the same way, natively, by the programs
that count them. What each operation is called and its bounds: bench/operations.txt.

A count must depend on the code alone, never on the machine or the time a run took:
- Nothing in a measured loop waits for the wall clock: the programs move the front ends'
  animation clocks by hand and render the QML frames on demand.
- The libraries' choices by processor are pinned to baseline x86-64 (PINNED): glibc's string
  functions and copy thresholds (GLIBC_TUNABLES' hwcaps mask and cache sizes, which otherwise
  follow CPUID) and Qt's drawing helpers (QT_NO_CPU_FEATURE).
- What a loop allocates costs the same whatever the heap looks like after start-up: glibc's
  per-thread cache is made large enough to serve a loop's frees and allocations by itself,
  since start-up (font configuration read with a randomly salted XML parser, say) leaves the heap
  a little different each run. Qt's hash seed is fixed for the same reason.
- Each gated operation is measured twice, by two separate pairs of runs; the check fails, naming
  the operation, when the two differ by more than REPEAT_TOLERANCE.

  tools/instructions.py BENCH...                  every operation the programs list, as the
                                                  README's performance table
  tools/instructions.py --check BENCH...          only the operations that have a bound, each
                                                  measured twice
  tools/instructions.py --update-readme BENCH...  the table, written into README.md

Every mode fails when a measured operation is over a bound.
"""

import argparse
import math
import os
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
# The most two measurements of one operation may differ, as a fraction of the first.
REPEAT_TOLERANCE = Fraction(1, 200)
_BASELINE_GLIBC = ",".join("-" + feature for feature in (
    "AVX", "AVX2", "AVX512F", "AVX512CD", "AVX512BW", "AVX512DQ", "AVX512VL", "AVX_VNNI", "FMA",
    "FMA4", "BMI1", "BMI2", "LZCNT", "MOVBE", "POPCNT", "SSE3", "SSSE3", "SSE4_1", "SSE4_2",
    "ERMS", "FSRM", "F16C", "XSAVEC", "RTM", "Fast_Unaligned_Load", "Fast_Unaligned_Copy",
    "Fast_Rep_String", "Fast_Copy_Backward", "Prefer_PMINUB_for_stringop",
    "AVX_Fast_Unaligned_Load"))
PINNED = {
    "GLIBC_TUNABLES": ":".join([
        f"glibc.cpu.hwcaps={_BASELINE_GLIBC}", "glibc.cpu.x86_data_cache_size=32768",
        "glibc.cpu.x86_shared_cache_size=1048576", "glibc.cpu.x86_non_temporal_threshold=786432",
        "glibc.cpu.x86_rep_movsb_threshold=2048", "glibc.cpu.x86_rep_stosb_threshold=2048",
        "glibc.malloc.tcache_count=1000"]),
    "QT_NO_CPU_FEATURE": "sse3 ssse3 sse4.1 sse4.2 avx avx2 fma f16c bmi bmi2 popcnt movbe aes"
                         " rdrnd rdseed avx512f",
    "QT_HASH_SEED": "0",
}


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
                             "--collect-atstart=no", "--toggle-collect=*MeasuredLoop*",
                             bench, "--ops", operation, str(runs)],
                            capture_output=True, text=True, check=True,
                            env={**os.environ, **PINNED})
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


def repeat_failures(first: dict, second: dict) -> list:
    """The operations whose two measurements differ by more than REPEAT_TOLERANCE."""
    failures = []
    for name, m in first.items():
        again = second[name].instructions
        if abs(again - m.instructions) > REPEAT_TOLERANCE * abs(m.instructions):
            failures.append(f"{name}: measured twice, {decimal(m.instructions)} and"
                            f" {decimal(again)} instructions per operation; a count that"
                            f" changes from run to run depends on more than the code")
    return failures


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
    measured, again = {}, {}
    for bench in args.bench:
        names = listed_operations(bench)
        for name in bounded_names(names, operations) if args.check else names:
            measured[name] = m = measure(bench, name)
            allocations = ("" if m.allocations is None else
                           f", heap allocations {decimal(m.allocations)}")
            repeat = ""
            if args.check:
                again[name] = measure(bench, name)
                repeat = f" (again: {decimal(again[name].instructions)})"
            print(f"{name} per operation: instructions {decimal(m.instructions)}{repeat}"
                  f"{allocations}", file=sys.stderr)

    failures = repeat_failures(measured, again) if args.check else []
    if not failures:
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
