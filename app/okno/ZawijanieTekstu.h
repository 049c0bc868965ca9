#pragma once
// Lines of a text cut to a width in pixels, for every window's message boxes and version line: a
// line that fits stays whole; a longer one is broken at blanks (the blank at a break is dropped),
// and a word wider than the width by itself is broken between characters, never inside a
// surrogate pair. The rule is plain UTF-16 over a measure that the window gives in its own font,
// so that it is written once and tested without a window.

#include <functional>
#include <string_view>
#include <vector>

namespace zuv {

// The width in pixels of a piece of text in the font that shows it. It is given only whole
// characters (no half of a surrogate pair).
using MiaraTekstuUtf16 = std::function<int(std::u16string_view)>;

// The lines of `tekst` at most `szerokosc` pixels wide; CR LF, a lone CR and a lone LF each end a
// line, and an empty line stays. A word wider than the width gives it its longest start that
// fits, at least one character, so that a width below one character still makes progress. Every
// line, and every piece given to `miara`, is a part of `tekst` as it stands (the words of a line
// with the blanks between them), so the lines are views into `tekst` and live as long as it.
std::vector<std::u16string_view> ZawinTekst(std::u16string_view tekst, int szerokosc,
                                            const MiaraTekstuUtf16& miara);

}  // namespace zuv
