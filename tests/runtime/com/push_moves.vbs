' Drives the control as a script does: created by its ProgID, members late-bound by name.
' Every line the test checks is printed; the last one says the script ran to its end.
Option Explicit
Dim board
Set board = CreateObject("Project1.UserControl1")
board.PutMove = "E2-E4"
WScript.Echo "GetMove " & board.GetMove
board.PutMove = "E7-E5"
WScript.Echo "GetMove " & board.GetMove
board.GetMove = "G1"
WScript.Echo "GetMove " & board.GetMove
board.PutMove = "**"
WScript.Echo "PutMove " & board.PutMove
board.Enabled = False
WScript.Echo "Enabled " & board.Enabled
board.Refresh
Set board = Nothing
WScript.Echo "done"
