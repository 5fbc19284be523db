#!/usr/bin/env python3
"""Writes the seed corpora of the two fuzzers: one file per scenario, in the byte encodings
that fuzz/control_harness.cpp (corpus/) and fuzz/chess_board_harness.cpp (chess-board-corpus/)
decode. Regression inputs found by fuzzing live beside them as found-*; this script leaves those
alone."""

import pathlib
import struct

# Operation codes, in the order ControlHarness::Step decodes them.
PUT_POSITION, PUT_MOVE, GET_MOVE, READ, CLICK, CHOICE, SURFACE, ENABLED, REFRESH, SAVE_LOAD, \
    QUEUE, RUN_PENDING, REACTION, ARG_OVERRIDE, LOAD_BAG = range(15)


def unit(c):
    """Any code unit, spelled out in full."""
    code = ord(c) if isinstance(c, str) else c
    return bytes([7, code & 0xFF, code >> 8])


def raw(text):
    units = list(text)
    assert len(units) < 256
    return bytes([5, len(units)]) + b"".join(unit(c) for c in units)


def raw_units(codes):
    return bytes([5, len(codes)]) + b"".join(unit(c) for c in codes)


def square(name):
    return (ord(name[0]) - ord("A")) + 8 * (ord(name[1]) - ord("1"))


def move(a, b):
    return bytes([9, square(a), square(b)])


RESET = bytes([1])
EMPTY = bytes([0])


def long_text(length_byte, shift, c):
    return bytes([6, length_byte, shift]) + unit(c)


def write(op, text):
    return bytes([op]) + text


def click(name):
    return bytes([CLICK, square(name)])


def queue_choice(k):
    return bytes([QUEUE, 1, k + 1])


def queue_write(prop, text):
    return bytes([QUEUE, 2, prop]) + text


def reaction_write(prop, text):
    return bytes([REACTION, 1, prop]) + text


def surface(kind, first=65, second=1, x=100, y=200):
    return bytes([SURFACE]) + struct.pack("<hhhH", first, second, x, y) + bytes([kind])


# Key events pick from the harness's key table: the code modulo its size.
LEFT, UP, RIGHT, DOWN, HOME, END, PAGE_UP, PAGE_DOWN, SPACE, ENTER, KEY_Q, KEY_R, KEY_B, KEY_N = \
    range(14)
KEY_DOWN, KEY_UP = 2, 4
CTRL = 2


def key(code, shift=0):
    """A key pressed and released."""
    return surface(KEY_DOWN, code, shift) + surface(KEY_UP, code, shift)


def bag_text(text):
    return bytes([3]) + text


INITIAL = "RNBQKBNR" + "PPPPPPPP" + "*" * 32 + "pppppppp" + "rnbqkbnr"
PROMOTION = "****K***" + "*" * 40 + "P******p" + "****k***"
CASTLING = "R***K**R" + "PPPPPPPP" + "*" * 32 + "pppppppp" + "r***k**r"

SEEDS = {
    "moves": move("E2", "E4") + click("D7") + click("D5") + click("E5") + click("E4")
    + click("E4") + click("E4") + write(PUT_MOVE, RESET),
    "promotion-chosen": write(PUT_POSITION, raw(PROMOTION)) + queue_choice(1)
    + click("A7") + click("A8"),
    "promotion-lower-case": write(PUT_POSITION, raw(PROMOTION)) + queue_choice(6)
    + click("H7") + click("H1"),
    "promotion-closed": write(PUT_POSITION, raw(PROMOTION)) + bytes([QUEUE, 3])
    + click("A7") + click("B8") + click("A7") + click("A8"),
    "promotion-host-writes": write(PUT_POSITION, raw(PROMOTION)) + queue_write(1, move("E1", "E2"))
    + bytes([QUEUE, 0, square("C3")]) + queue_choice(5) + queue_choice(2) + click("A7")
    + click("A8"),
    "castling": write(PUT_POSITION, raw(CASTLING)) + click("E1") + click("G1") + click("E8")
    + click("C8") + click("A1") + click("A1"),
    "bad-positions": write(PUT_POSITION, raw(INITIAL[:63])) + write(PUT_POSITION, raw(INITIAL + " "))
    + write(PUT_POSITION, raw(INITIAL[:40] + "x" + INITIAL[41:]))
    + write(PUT_POSITION, raw_units([0xD800] + [ord("*")] * 63))
    + write(PUT_POSITION, long_text(255, 8, "*")) + write(PUT_POSITION, EMPTY)
    + write(PUT_POSITION, raw(INITIAL[:40] + "x" + INITIAL[41:])),
    "off-board-moves": write(PUT_MOVE, raw("I2-E4")) + write(PUT_MOVE, raw("e2-e4"))
    + write(PUT_MOVE, raw("E0-E9")) + write(PUT_MOVE, raw("E2-E4 ")) + write(PUT_MOVE, raw("@1-A1"))
    + write(PUT_MOVE, raw_units([0xDC00, 0x32, 0x2D, 0x45, 0x34])) + write(PUT_MOVE, raw("E2xE4")),
    "reentrant-change": reaction_write(1, RESET) + reaction_write(0, raw(INITIAL))
    + reaction_write(2, raw("x")) + write(PUT_MOVE, move("E2", "E4")) + click("G1")
    + bytes([REACTION, 2]) + click("F3"),
    "release-in-prompt": write(PUT_POSITION, raw(PROMOTION)) + click("A7") + bytes([REACTION, 2])
    + queue_write(2, raw("hello")) + queue_choice(0) + click("A8") + click("A7"),
    "saved-values": bytes([SAVE_LOAD, 1, 1, 1, 1]) + write(PUT_MOVE, move("E2", "E4"))
    + bytes([SAVE_LOAD, 0, 3]) + raw("yes") + bytes([1, 1, 1])
    + bytes([SAVE_LOAD, 0, 2, 10, 1, 0, 4, 1])
    + bytes([LOAD_BAG, 0]) + bag_text(raw("**")) + bag_text(move("B1", "C3")) + bag_text(raw(INITIAL))
    + bytes([LOAD_BAG, 2, 0, 2, 6, 1, 0, 1, 0]),
    "disabled": bytes([ENABLED, 0]) + click("E2") + surface(4) + bytes([CHOICE, 1])
    + bytes([ENABLED, 1]) + click("E2") + click("E4"),
    "stale-pick": click("E2") + write(PUT_POSITION, raw("*" * 64)) + click("E4")
    + click("D2") + write(PUT_MOVE, move("D2", "D4")) + click("D3"),
    "surface-events": bytes([ARG_OVERRIDE, 1, 0, 0]) + surface(3) + surface(5) + surface(7)
    + bytes([ARG_OVERRIDE, 0]) + surface(0) + surface(1) + bytes([REFRESH, READ]),
    "keyboard": write(PUT_POSITION, raw(PROMOTION)) + queue_choice(2) + key(UP) * 6 + key(SPACE)
    + key(UP) + key(ENTER) + key(END, CTRL) + key(UP) + key(SPACE) + key(DOWN) * 2
    + surface(KEY_DOWN, ENTER) + surface(KEY_DOWN, ENTER) + key(HOME, CTRL) + key(PAGE_DOWN)
    + key(RIGHT) * 4 + key(SPACE) + key(RIGHT) * 2 + key(ENTER),
    "queued-input": bytes([QUEUE, 0, square("E2"), QUEUE, 0, square("E4"), QUEUE, 4, 0, QUEUE, 5])
    + bytes([QUEUE, 0, square("D2"), RUN_PENDING]),
}

# The ChessBoard harness's operations, in the order ChessBoardHarness::Step decodes them.
CB_LEGAL, CB_HOST, CB_DRAG, CB_EDIT, CB_CLICK, CB_KEY, CB_VETO, CB_SWITCH = range(8)
# Edit mode's operations, in the order ChessBoardHarness::EditGesture decodes them; spare places
# (black's line first with white at the bottom); a drag's target off the board; no EditMode write.
EDIT_SWITCH, EDIT_SPARE_DRAG, EDIT_SWITCHING_DRAG, EDIT_SPARE_CLICK, EDIT_KEY, EDIT_CLIPBOARD = \
    range(6)
SPARE_BLACK_KNIGHT, SPARE_WHITE_QUEEN, ERASER, OFF, NO_SWITCH = 4, 7, 12, 64, 7
# How a drag ends: off the board, a right press, Escape, a lost capture, or a plain release.
OFF_BOARD, RIGHT_PRESS, ESCAPE, CAPTURE_LOST, RELEASE = 0, 1, 2, 3, 5
NO_HOST_WRITE = 7


def cb_drag(a, b, ending=RELEASE, choice=None):
    """A drag from one square's middle straight to another's."""
    queued = bytes([0]) if choice is None else bytes([1, choice])
    return bytes([CB_DRAG, square(a), square(b)]) + queued + bytes([0, NO_HOST_WRITE, ending])


def cb_legal(*moves):
    """A legal list of move texts ("E2-E4")."""
    tokens = b"".join(bytes([square(m[:2]), square(m[3:]), 0]) for m in moves)
    return bytes([CB_LEGAL, 1, len(moves)]) + tokens


def cb_host_move(a, b):
    return bytes([CB_HOST, 0, square(a), square(b)])


def cb_edit(op, *rest):
    """An edit-mode operation; a drag's squares by name (or OFF), straight to the target."""
    return bytes([CB_EDIT, op] + [square(b) if isinstance(b, str) else b for b in rest])


def cb_edit_drag(a, to):
    """In edit mode, a board piece dragged to a square or OFF."""
    return bytes([CB_DRAG, square(a), OFF if to == OFF else square(to), 0, NO_SWITCH, 0, RELEASE])


CHESS_BOARD_SEEDS = {
    "drag": cb_drag("E2", "E4") + cb_drag("D7", "D5") + cb_drag("E4", "D5"),
    "drag-cancels": cb_drag("E2", "E4", OFF_BOARD) + cb_drag("E2", "E4", RIGHT_PRESS)
    + cb_drag("E2", "E4", ESCAPE) + cb_drag("E2", "E4", CAPTURE_LOST),
    "veto": bytes([CB_VETO, 1]) + cb_drag("E2", "E4") + bytes([CB_VETO, 0]) + cb_drag("E2", "E4"),
    "legal-list": cb_legal("E2-E4", "G1-F3") + cb_drag("E2", "E5") + cb_drag("D2", "D4")
    + cb_drag("E2", "E4") + bytes([CB_CLICK, square("G1"), 0, CB_CLICK, square("H3"), 0]),
    "castling": cb_host_move("F1", "F4") + cb_host_move("G1", "G4") + cb_drag("E1", "G1"),
    "promotion": cb_host_move("A8", "A5") + cb_host_move("A2", "A7") + cb_legal("A7-A8")
    + cb_drag("A7", "A8", choice=1),
    "keys": bytes([CB_KEY, 0, 0, CB_KEY, 4, 0, CB_KEY, 1, 0, CB_KEY, 4, 0]),
    # A white queen from the spares, a pawn off, a queen moved, Shift+K, the eraser armed and
    # clicked, Delete, a copy pasted back; then a move out of edit mode.
    "edit-set-up": cb_edit(EDIT_SWITCH, 1) + cb_edit(EDIT_SPARE_DRAG, SPARE_WHITE_QUEEN, "E4", 0,
                                                     NO_SWITCH, 0, RELEASE)
    + cb_edit_drag("E2", OFF) + cb_edit_drag("D1", "D5") + cb_edit(EDIT_KEY, 0, 1)
    + cb_edit(EDIT_SPARE_CLICK, ERASER) + bytes([CB_CLICK, square("H1"), 0])
    + cb_edit(EDIT_KEY, 6, 0) + cb_edit(EDIT_CLIPBOARD, 1) + cb_edit(EDIT_SWITCH, 0)
    + cb_drag("E4", "E6"),
    # EditMode written before the pointer moves: off during a spare drag, on and off during drags.
    "edit-switched-mid-drag": cb_edit(EDIT_SWITCH, 1)
    + cb_edit(EDIT_SPARE_DRAG, SPARE_BLACK_KNIGHT, "C3", 0, 0, 0, RELEASE)
    + cb_edit(EDIT_SWITCHING_DRAG, "E2", "E4", 0, 0, 1, RELEASE)
    + cb_edit(EDIT_SWITCHING_DRAG, "D2", "D4", 0, 0, 0, RELEASE)
    + cb_edit(EDIT_SPARE_DRAG, SPARE_BLACK_KNIGHT, OFF, 0, NO_SWITCH, 0, RELEASE),
}


def main():
    here = pathlib.Path(__file__).resolve().parent
    for folder, seeds in (("corpus", SEEDS), ("chess-board-corpus", CHESS_BOARD_SEEDS)):
        corpus = here / folder
        corpus.mkdir(exist_ok=True)
        for name, data in seeds.items():
            (corpus / f"seed-{name}").write_bytes(data)


if __name__ == "__main__":
    main()
