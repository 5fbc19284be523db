// The example application's window: the board and the moves the host has seen.
import QtQuick
import Velmora

Window {
    width: board.implicitWidth + 160
    height: board.implicitHeight
    visible: true
    title: "Velmora"

    ChessBoard {
        id: board
        objectName: "board"
        focus: true
        // Change: the board shows a new square or move in getMove; a whole move is kept.
        onChanged: if (getMove.length === 5) moves.append({ move: getMove })
    }

    ListView {
        anchors { left: board.right; top: parent.top; bottom: parent.bottom; right: parent.right }
        anchors.margins: 8
        model: ListModel { id: moves }
        delegate: Text { text: move }
    }
}
