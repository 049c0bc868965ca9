#pragma once
// How the process asks the C library for memory.

namespace zuv {

// Called once at start-up, before the first allocation of any size. With glibc, a block of
// 256 KiB or more (a package's text, its line index, a large batch and its conversion) is
// mapped on its own and unmapped when freed. Left to itself, glibc raises that limit to the
// size of the largest block freed so far, so after the first package every later one is
// carved out of the heap, and the heap keeps what a package freed while the next one, of
// another size, takes fresh room beside it: over a run of 38 packages the process then holds
// more than three times the largest package. Elsewhere it does nothing.
void UstawPrzydzialPamieci() noexcept;

}  // namespace zuv
