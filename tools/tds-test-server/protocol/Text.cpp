#include "Text.h"

#include <iconv.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace tds {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at text[pos] and advances pos past it.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size()) return kReplacement;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    const bool overlong =
        (extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

// UTF-16 code units, unit(i) for i below count, as UTF-8; unpaired surrogates become U+FFFD. The
// bytes are written through a pointer into room for the longest result, then cut: batches of
// megabytes pass here, and appending byte by byte was a tenth of the server's time.
template <typename Unit>
std::string unitsToUtf8(std::size_t count, Unit unit) {
    std::string out(count * 3, '\0');
    char* p = out.data();
    const auto put = [&p](char32_t cp) {
        if (cp < 0x80) {
            *p++ = static_cast<char>(cp);
        } else if (cp < 0x800) {
            *p++ = static_cast<char>(0xC0 | (cp >> 6));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (cp >> 12));
            *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (cp >> 18));
            *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t u = unit(i);
        const char16_t next = i + 1 < count ? unit(i + 1) : u'\0';
        if (u >= 0xD800 && u <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            // A pair gives four bytes for two units, within the room of six.
            put(0x10000 + ((char32_t(u) - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            put(kReplacement);
        } else {
            put(u);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::system_error(errno, std::generic_category(), "iconv_open");
        }
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    iconv_t get() const { return handle_; }

  private:
    iconv_t handle_;
};

// Runs the whole text through the converter; a byte it cannot convert becomes '?'.
std::string convert(const IconvHandle& converter, std::string_view text) {
    std::string out;
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // Invalid or untranslatable input: mark it and go on with the next byte.
            out += '?';
            ++in;
            --inLeft;
        }
    }
    return out;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decodeUtf8(utf8, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
    return unitsToUtf8(utf16.size(), [utf16](std::size_t i) { return utf16[i]; });
}

std::string utf16leToUtf8(std::span<const std::uint8_t> bytes) {
    return unitsToUtf8(bytes.size() / 2, [bytes](std::size_t i) {
        return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    });
}

std::string utf8ToCp1250(std::string_view utf8) {
    IconvHandle converter("CP1250//TRANSLIT", "UTF-8");
    return convert(converter, utf8);
}

std::string cp1250ToUtf8(std::string_view cp1250) {
    IconvHandle converter("UTF-8", "CP1250");
    return convert(converter, cp1250);
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool containsIgnoreCase(std::string_view text, std::string_view needle) {
    if (needle.size() > text.size()) return false;
    if (needle.empty()) return true;
    // Horspool's skips: the batches searched run to megabytes, the words sought are long.
    const auto folded = [](char c) { return static_cast<unsigned char>(lowerAscii(c)); };
    std::size_t skip[256];
    for (std::size_t& s : skip) s = needle.size();
    for (std::size_t i = 0; i + 1 < needle.size(); ++i)
        skip[folded(needle[i])] = needle.size() - 1 - i;
    for (std::size_t i = 0; i + needle.size() <= text.size();
         i += skip[folded(text[i + needle.size() - 1])]) {
        if (equalsIgnoreCase(text.substr(i, needle.size()), needle)) return true;
    }
    return false;
}

bool sqlEquals(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return equalsIgnoreCase(a, b);
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace tds
