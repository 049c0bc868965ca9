#pragma once
// The packages the program carries in its own image, found by name. The build links every file
// of packages/data into the program (packages/cmake/ZasobyLinkowane.cmake); this is the only code
// that knows how the bytes got there.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zuv {

// One linked-in package of the Linux program: its name in capitals, its first byte and its size in
// bytes.
struct ZasobLinkowany {
    std::string_view nazwa;
    const char* dane;
    const std::uint64_t* rozmiar;
};

// The table generated with the data, in the order of the file names.
std::span<const ZasobLinkowany> ZasobyLinkowane();

// The exact bytes of the package of that name, the letters' case ignored; nothing when the
// program carries no such package. The bytes live as long as the program.
std::optional<std::string_view> ZnajdzZasob(std::string_view nazwa);

// The names of every package the program carries.
std::vector<std::string> NazwyZasobow();

}  // namespace zuv
