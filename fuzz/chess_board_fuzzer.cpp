// Drives one ChessBoard with a person's drags, clicks and keys against the host's legal moves,
// vetoes and writes, in edit mode too, and aborts on the first broken promise (see
// chess_board_harness.h).
#include <cstddef>
#include <cstdint>

#include "fuzz/byte_reader.h"
#include "fuzz/chess_board_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velmora::fuzz::ByteReader in(data, size);
  velmora::fuzz::ChessBoardHarness harness;
  harness.Run(in);
  return 0;
}
