' Drives ChessBoard as a script does: created by its version-independent ProgID, every member
' late-bound by name. Each line the test checks is printed; the last says the script ran to
' its end.
Option Explicit
Dim board, first, missing

Sub Refusal(member)
  WScript.Echo member & " refused " & Hex(Err.Number) & " " & Err.Source & " " & _
    (Len(Err.Description) > 0)
  Err.Clear
End Sub

Set board = CreateObject("Velmora.ChessBoard")
WScript.Echo "defaults " & board.DragEnabled & " " & board.ShowLegalMoves & " " & _
  board.Orientation & " " & board.ShowLastMove & " " & board.AnimationTime & " [" & _
  board.LegalMoves & "][" & board.LastMove & "][" & board.CheckSquare & "][" & board.Marks & _
  "][" & board.UserMarks & "]"
WScript.Echo "Fen " & board.Fen

' The members it inherits.
board.PutMove = "E2-E4"
WScript.Echo "GetMove " & board.GetMove
board.GetMove = "G1"
WScript.Echo "GetMove " & board.GetMove
board.Enabled = False
WScript.Echo "Enabled " & board.Enabled
board.Enabled = True
board.Refresh

' Its own, written and read back; small numbers and truth values come as a script has them.
board.DragEnabled = False
board.ShowLegalMoves = False
board.ShowLastMove = False
board.Orientation = 1
board.AnimationTime = 2000
WScript.Echo "written " & board.DragEnabled & " " & board.ShowLegalMoves & " " & _
  board.ShowLastMove & " " & board.Orientation & " " & board.AnimationTime
board.Orientation = False
board.AnimationTime = True + 1
WScript.Echo "from truths " & board.Orientation & " " & board.AnimationTime
board.LegalMoves = "e2e4 g1f3 E7-E8 e7e8q"
WScript.Echo "LegalMoves " & board.LegalMoves
board.LastMove = "E7-E5"
board.CheckSquare = "E8"
board.Marks = "Gd4 Re5,Gg1f3"
board.UserMarks = "yA1"
WScript.Echo "LastMove " & board.LastMove & " CheckSquare " & board.CheckSquare & _
  " Marks " & board.Marks & " UserMarks " & board.UserMarks
board.Fen = "rnbqkbnr/pp1ppppp/8/2p5/4P3/8/PPPP1PPP/RNBQKBNR w KQkq c6 0 2"
WScript.Echo "Fen " & board.Fen

' Values a member does not take are refused with a script error and change nothing.
On Error Resume Next
board.LegalMoves = "E2-E4 nonsense"
Refusal "LegalMoves"
board.Orientation = 2
Refusal "Orientation"
board.AnimationTime = 40000
Refusal "AnimationTime"
board.Fen = "8/8/8"
Refusal "Fen"
On Error GoTo 0
WScript.Echo "kept " & board.LegalMoves & " " & board.Orientation & " " & board.AnimationTime

' UserControl1 has none of them.
Set first = CreateObject("Project1.UserControl1")
On Error Resume Next
missing = first.DragEnabled
WScript.Echo "UserControl1 DragEnabled error " & Err.Number
Err.Clear
first.LegalMoves = "E2-E4"
WScript.Echo "UserControl1 LegalMoves error " & Err.Number
On Error GoTo 0
first.PutMove = "E2-E4"
WScript.Echo "UserControl1 GetMove " & first.GetMove
Set first = Nothing
Set board = Nothing
WScript.Echo "done"
