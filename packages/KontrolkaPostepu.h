#pragma once
// What the script runner needs of the control that shows its progress (the main window's info
// panel). The runner never includes a widget header; the window implements this.

#include <cstdint>
#include <string_view>

namespace zuv {

class KontrolkaPostepu {
  public:
    virtual ~KontrolkaPostepu() = default;
    // Replaces the shown text (UTF-8).
    virtual void UstawTekst(std::string_view tekstUtf8) = 0;
    // Shows the new text now. A window that runs packages off its own thread takes the texts
    // there and paints them at its own pace; one whose loop stands still repaints here.
    virtual void OdswiezTeraz() = 0;
    virtual bool Widoczna() const = 0;
    // The background colour in the platform's form: red in the low byte, then green, then blue.
    virtual void UstawKolor(std::uint32_t kolor) = 0;
    // Every batch has run and the commit is being sent: from now on the package cannot be
    // stopped, only its outcome awaited. Nothing is shown.
    virtual void Zatwierdzanie() {}
};

}  // namespace zuv
