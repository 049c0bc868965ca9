#pragma once
// The error kinds of the program. Every failure is raised as one of them; each carries a message
// (UTF-8) and a help context. The script runner catches errors to roll back and to wrap a database
// client error; the update service (app/usluga/) catches what ends a log-in or a run to return it
// as its outcome. A window raises what it is given to its default error handler; the unattended
// program words it for the console.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace zuv {

class Exception : public std::exception {
  public:
    explicit Exception(std::string komunikat, int kontekstPomocy = 0);

    const std::string& Komunikat() const noexcept { return komunikat_; }
    int KontekstPomocy() const noexcept { return kontekstPomocy_; }
    const char* what() const noexcept override { return komunikat_.c_str(); }

  private:
    std::string komunikat_;
    int kontekstPomocy_;
};

// A malformed version text or a failed text-to-integer conversion.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

// A package that the program does not carry.
class EResNotFound : public Exception {
  public:
    using Exception::Exception;
};

// The program's own database checks, raised before anything is sent to the server.
class EDatabaseError : public Exception {
  public:
    using Exception::Exception;
};

// A value returned by the server that cannot be converted to the type asked for.
class EVariantTypeCastError : public Exception {
  public:
    using Exception::Exception;
};

// A failed precondition: "<komunikat> (<plik>, line <linia>)".
class EAssertionFailed : public Exception {
  public:
    EAssertionFailed(std::string_view komunikat, std::string_view plik, int linia);
};

// A failure reported by the database client interface. The description loses trailing bytes
// 0..32 and trailing full stops; when nothing is left, "OLE error %.8x" with the code stands in.
// The code is the server's native error number; the SQLSTATE (five characters, empty for the
// program's own database errors) tells the kind of failure whatever the server.
class EOleException : public Exception {
  public:
    EOleException(std::string_view opis, std::int32_t kod, std::string zrodlo,
                  std::string plikPomocy = {}, int kontekstPomocy = 0, std::string stanSQL = {});

    std::int32_t Kod() const noexcept { return kod_; }
    const std::string& Zrodlo() const noexcept { return zrodlo_; }
    const std::string& PlikPomocy() const noexcept { return plikPomocy_; }
    const std::string& StanSQL() const noexcept { return stanSQL_; }

  private:
    std::int32_t kod_;
    std::string zrodlo_;
    std::string plikPomocy_;
    std::string stanSQL_;
};

}  // namespace zuv
