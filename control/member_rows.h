// Every member a host sees, once, in the dual interface's order (no include guard: this file is
// a list, included where a face is written out from it; tools/member_table.py reads it too).
//
// VELMORA_MEMBER(name, dispatch id, kind, classes, saved, UserControl1's default,
//                ChessBoard's default, help string)
//   kind     Boolean, Long (its range in a VELMORA_RANGE row), String, Orientation (the named
//            values in VELMORA_NAMED_VALUE rows) or Method
//   classes  Both, or ChessBoard for the members only that class has
//   saved    the place in the saved order, 0 for a member that is not saved
//   defaults of what is saved; a String's default is always the empty text
// VELMORA_RANGE(name, lowest, highest)
// VELMORA_NAMED_VALUE(enumeration, name, value)
// An includer defines the rows it reads; the others are read as nothing.

#ifndef VELMORA_MEMBER
#define VELMORA_MEMBER(...)
#endif
#ifndef VELMORA_RANGE
#define VELMORA_RANGE(...)
#endif
#ifndef VELMORA_NAMED_VALUE
#define VELMORA_NAMED_VALUE(...)
#endif

// clang-format off

VELMORA_MEMBER(Enabled, 0x68030003, Boolean, Both, 1, 1, 1, "Returns/sets a value that determines whether an object can respond to user-generated events.")
VELMORA_MEMBER(Refresh, 0x6003000e, Method, Both, 0, 0, 0, "Forces a complete repaint of a object.")
VELMORA_MEMBER(GetMove, 0x68030002, String, Both, 2, 0, 0, "Returns/sets the text contained in the control.")
VELMORA_MEMBER(PutMove, 0x68030001, String, Both, 3, 0, 0, "Returns/sets the text contained in the control.")
VELMORA_MEMBER(PutPosition, 0x68030000, String, Both, 4, 0, 0, "Returns/sets the text contained in the control.")
VELMORA_MEMBER(DragEnabled, 0x100, Boolean, ChessBoard, 5, 0, 1, "")
VELMORA_MEMBER(LegalMoves, 0x101, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(ShowLegalMoves, 0x102, Boolean, ChessBoard, 6, 0, 1, "")
VELMORA_MEMBER(Orientation, 0x103, Orientation, ChessBoard, 7, 0, 0, "")
VELMORA_MEMBER(LastMove, 0x104, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(ShowLastMove, 0x105, Boolean, ChessBoard, 8, 0, 1, "")
VELMORA_MEMBER(CheckSquare, 0x106, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(Marks, 0x107, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(UserMarks, 0x108, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(AnimationTime, 0x109, Long, ChessBoard, 9, 0, 150, "")
VELMORA_MEMBER(Fen, 0x10A, String, ChessBoard, 0, 0, 0, "")

VELMORA_RANGE(AnimationTime, 0, 2000)

VELMORA_NAMED_VALUE(BoardOrientation, vlWhiteAtBottom, 0)
VELMORA_NAMED_VALUE(BoardOrientation, vlBlackAtBottom, 1)
// clang-format on

#undef VELMORA_MEMBER
#undef VELMORA_RANGE
#undef VELMORA_NAMED_VALUE
