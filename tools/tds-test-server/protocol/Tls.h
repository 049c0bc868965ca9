#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// TLS for the server side of a connection (OpenSSL), over memory buffers: a session never touches
// the socket, so its caller decides how the encrypted bytes travel, inside pre-login packets
// during the handshake and straight on the socket after it.
namespace tds {

class TlsError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The highest TLS version a server accepts. SQL Server negotiates TLS inside pre-login packets up
// to 1.2 (1.3 came with TDS 8, which does without them); 2005, and 2008 and 2008 R2 without the
// updates of 2016, go no further than 1.0.
enum class TlsVersion { V1_0, V1_1, V1_2 };

// "1.0", "1.1", "1.2"; nullopt for anything else.
std::optional<TlsVersion> parseTlsVersion(std::string_view text);

// The server's certificate and key and the settings every session shares: TLS up to `highest`
// (from 1.0 on when that is below 1.2, as the old servers offered it), no session tickets, and
// the cipher suites of `ciphers` (OpenSSL's list form; empty: OpenSSL's defaults).
class TlsContext {
  public:
    // A certificate chain and its private key from PEM files. Throws TlsError naming the file,
    // or the cipher list OpenSSL does not know.
    static std::shared_ptr<const TlsContext> fromFiles(const std::filesystem::path& certificate,
                                                       const std::filesystem::path& key,
                                                       TlsVersion highest = TlsVersion::V1_2,
                                                       const std::string& ciphers = {});
    // What a SQL Server makes at start-up when no certificate is installed: a self-signed one,
    // subject "CN=SSL_Self_Signed_Fallback", here with a fresh ECDSA P-256 key (quick to make at
    // every start). Throws TlsError.
    static std::shared_ptr<const TlsContext> selfSigned(TlsVersion highest = TlsVersion::V1_2,
                                                        const std::string& ciphers = {});

    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

  private:
    friend class TlsSession;
    struct Impl;
    explicit TlsContext(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// One connection's TLS, server side. Bytes from the client go in with feed(); bytes for the
// client come out of takeOutput().
class TlsSession {
  public:
    explicit TlsSession(const TlsContext& context);  // throws TlsError
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    void feed(std::span<const std::uint8_t> fromClient);

    enum class Handshake { Done, Continue, Failed };
    // Goes as far as what was fed allows; takeOutput() then holds the answer. After Failed,
    // error() says why.
    Handshake handshake();

    // Appends every byte of application data that the fed records hold. False when the client
    // ended TLS (error() empty) or sent something TLS cannot read (error() says what).
    bool decrypt(std::vector<std::uint8_t>& plain);
    // Encrypts `plain` for the client; the records wait in takeOutput(). False on failure.
    bool encrypt(std::span<const std::uint8_t> plain);

    std::vector<std::uint8_t> takeOutput();
    const std::string& error() const { return error_; }

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string error_;
};

}  // namespace tds
