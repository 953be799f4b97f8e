#pragma once

#include <string_view>

namespace runtime {

// Reads the number at the start of a text, as the classic runtime's number reading does:
// - blanks, tabs and line feeds are skipped anywhere, even between digits (" 1 2 3" reads 123),
//   and so are every other Unicode space and the invisible format marks (byte-order mark,
//   zero-width space, non-joiner and joiner, word joiner, direction marks, embeddings, isolates);
// - one optional sign, then digits with at most one '.', which is the decimal separator in
//   every locale, then an optional exponent (E or D) with a sign of its own;
// - "&H" and "&O" read hexadecimal and octal whole numbers: up to 16 bits they are taken as a
//   16-bit signed value ("&HFFFF" reads -1), up to 32 bits as a 32-bit signed value;
// - reading stops at the first character that cannot continue the number ("5a" reads 5,
//   "1e" reads 1, "1.2.3" reads 1.2);
// - empty text, or text without a number, reads 0 and is no error;
// - a magnitude too large for a double (or a "&H" value wider than 32 bits) raises Overflow;
//   one too small for a double reads 0.
double readNumber(std::u16string_view text);

} // namespace runtime
