#pragma once
// The five bytes that code page 1250 leaves undefined. The conversion to UTF-16 refuses them, so
// a package holding one stops at run time; the package checker finds them before a build ships.

namespace zuv {

constexpr bool BajtNieokreslonyCp1250(unsigned char bajt) noexcept {
    return bajt == 0x81 || bajt == 0x83 || bajt == 0x88 || bajt == 0x90 || bajt == 0x98;
}

}  // namespace zuv
