// Every member a host sees, once, in the dual interface's order (no include guard: this file is
// a list, included where a face is written out from it; tools/member_table.py reads it too).
//
// VELMORA_MEMBER(name, dispatch id, kind, classes, saved, UserControl1's default,
//                ChessBoard's default, help string)
//   kind     Boolean, Long (its range in a VELMORA_RANGE row), String, Enumeration (named in a
//            VELMORA_ENUMERATION row, its values in VELMORA_NAMED_VALUE rows), Colour (an RGB
//            colour as OLE_COLOR holds one, 0x00BBGGRR) or Method
//   classes  Both, or ChessBoard for the members only that class has
//   saved    the place in the saved order, 0 for a member that is not saved
//   defaults of what is saved; a String's default is always the empty text
// VELMORA_RANGE(name, lowest, highest)
// VELMORA_ENUMERATION(name, enumeration)
// VELMORA_NAMED_VALUE(enumeration, name, value)
// An includer defines the rows it reads; the others are read as nothing.

#ifndef VELMORA_MEMBER
#define VELMORA_MEMBER(...)
#endif
#ifndef VELMORA_RANGE
#define VELMORA_RANGE(...)
#endif
#ifndef VELMORA_ENUMERATION
#define VELMORA_ENUMERATION(...)
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
VELMORA_MEMBER(Orientation, 0x103, Enumeration, ChessBoard, 7, 0, 0, "")
VELMORA_MEMBER(LastMove, 0x104, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(ShowLastMove, 0x105, Boolean, ChessBoard, 8, 0, 1, "")
VELMORA_MEMBER(CheckSquare, 0x106, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(Marks, 0x107, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(UserMarks, 0x108, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(AnimationTime, 0x109, Long, ChessBoard, 9, 0, 150, "")
VELMORA_MEMBER(Fen, 0x10A, String, ChessBoard, 0, 0, 0, "")
VELMORA_MEMBER(Theme, 0x10B, Enumeration, ChessBoard, 10, 0, 0, "")
VELMORA_MEMBER(LightSquareColor, 0x10C, Colour, ChessBoard, 11, 0, 0xB5D9F0, "")
VELMORA_MEMBER(DarkSquareColor, 0x10D, Colour, ChessBoard, 12, 0, 0x6388B5, "")
VELMORA_MEMBER(Coordinates, 0x10E, Enumeration, ChessBoard, 13, 0, 1, "")
VELMORA_MEMBER(EditMode, 0x10F, Boolean, ChessBoard, 14, 0, 0, "")

VELMORA_RANGE(AnimationTime, 0, 2000)

VELMORA_ENUMERATION(Orientation, BoardOrientation)
VELMORA_ENUMERATION(Theme, BoardTheme)
VELMORA_ENUMERATION(Coordinates, BoardCoordinates)

VELMORA_NAMED_VALUE(BoardOrientation, vlWhiteAtBottom, 0)
VELMORA_NAMED_VALUE(BoardOrientation, vlBlackAtBottom, 1)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeBrown, 0)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeBlue, 1)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeGreen, 2)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeGrey, 3)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeContrast, 4)
VELMORA_NAMED_VALUE(BoardTheme, vlThemeClassic, 5)
VELMORA_NAMED_VALUE(BoardCoordinates, vlCoordinatesNone, 0)
VELMORA_NAMED_VALUE(BoardCoordinates, vlCoordinatesInside, 1)
VELMORA_NAMED_VALUE(BoardCoordinates, vlCoordinatesOutside, 2)
// clang-format on

#undef VELMORA_MEMBER
#undef VELMORA_RANGE
#undef VELMORA_ENUMERATION
#undef VELMORA_NAMED_VALUE
