#include "Tls.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>

namespace tds {
namespace {

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* pointer) const { Free(pointer); }
};
using SslCtxPtr = std::unique_ptr<SSL_CTX, Deleter<SSL_CTX, SSL_CTX_free>>;
using SslPtr = std::unique_ptr<SSL, Deleter<SSL, SSL_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY, EVP_PKEY_free>>;
using CertificatePtr = std::unique_ptr<X509, Deleter<X509, X509_free>>;

// The reasons OpenSSL queued for the last failure, oldest first, emptied from its queue.
std::string openSslErrors() {
    std::string text;
    while (const unsigned long code = ERR_get_error()) {
        char line[256];
        ERR_error_string_n(code, line, sizeof line);
        text += (text.empty() ? "" : "; ") + std::string(line);
    }
    return text.empty() ? "no reason given" : text;
}

[[noreturn]] void fail(const std::string& what) { throw TlsError(what + ": " + openSslErrors()); }

SslCtxPtr newServerContext(TlsVersion highest, const std::string& ciphers) {
    SslCtxPtr context(SSL_CTX_new(TLS_server_method()));
    if (!context) fail("cannot create a TLS context");
    const int version = highest == TlsVersion::V1_0   ? TLS1_VERSION
                        : highest == TlsVersion::V1_1 ? TLS1_1_VERSION
                                                      : TLS1_2_VERSION;
    if (SSL_CTX_set_max_proto_version(context.get(), version) != 1) {
        fail("cannot limit the TLS version");
    }
    if (highest != TlsVersion::V1_2) {
        // OpenSSL allows the versions before 1.2 only at its lowest security level.
        SSL_CTX_set_security_level(context.get(), 0);
        if (SSL_CTX_set_min_proto_version(context.get(), TLS1_VERSION) != 1) {
            fail("cannot allow TLS 1.0");
        }
    }
    SSL_CTX_set_options(context.get(), SSL_OP_NO_TICKET);
    if (!ciphers.empty() && SSL_CTX_set_cipher_list(context.get(), ciphers.c_str()) != 1) {
        fail("unknown TLS cipher list '" + ciphers + "'");
    }
    return context;
}

void checkKey(SSL_CTX* context) {
    if (SSL_CTX_check_private_key(context) != 1) fail("the key does not belong to the certificate");
}

}  // namespace

std::optional<TlsVersion> parseTlsVersion(std::string_view text) {
    if (text == "1.0") return TlsVersion::V1_0;
    if (text == "1.1") return TlsVersion::V1_1;
    if (text == "1.2") return TlsVersion::V1_2;
    return std::nullopt;
}

struct TlsContext::Impl {
    SslCtxPtr context;
};

TlsContext::TlsContext(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

TlsContext::~TlsContext() = default;

std::shared_ptr<const TlsContext> TlsContext::fromFiles(const std::filesystem::path& certificate,
                                                        const std::filesystem::path& key,
                                                        TlsVersion highest,
                                                        const std::string& ciphers) {
    auto impl = std::make_unique<Impl>();
    impl->context = newServerContext(highest, ciphers);
    if (SSL_CTX_use_certificate_chain_file(impl->context.get(), certificate.c_str()) != 1) {
        fail("cannot read the certificate " + certificate.string());
    }
    if (SSL_CTX_use_PrivateKey_file(impl->context.get(), key.c_str(), SSL_FILETYPE_PEM) != 1) {
        fail("cannot read the key " + key.string());
    }
    checkKey(impl->context.get());
    return std::shared_ptr<const TlsContext>(new TlsContext(std::move(impl)));
}

std::shared_ptr<const TlsContext> TlsContext::selfSigned(TlsVersion highest,
                                                         const std::string& ciphers) {
    KeyPtr key(EVP_EC_gen("P-256"));
    if (!key) fail("cannot make a key");
    CertificatePtr certificate(X509_new());
    if (!certificate) fail("cannot make a certificate");
    std::uint8_t serial[8];
    if (RAND_bytes(serial, sizeof serial) != 1) fail("cannot make a serial number");
    serial[0] &= 0x7F;  // a positive number
    std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_free>> number(
        BN_bin2bn(serial, sizeof serial, nullptr));
    X509_NAME* name = X509_get_subject_name(certificate.get());
    constexpr int kOneYear = 365 * 24 * 3600;
    if (!number || X509_set_version(certificate.get(), 2) != 1 ||
        !BN_to_ASN1_INTEGER(number.get(), X509_get_serialNumber(certificate.get())) ||
        !X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600) ||
        !X509_gmtime_adj(X509_getm_notAfter(certificate.get()), kOneYear) ||
        X509_set_pubkey(certificate.get(), key.get()) != 1 ||
        X509_NAME_add_entry_by_txt(
            name, "CN", MBSTRING_ASC,
            reinterpret_cast<const unsigned char*>("SSL_Self_Signed_Fallback"), -1, -1, 0) != 1 ||
        X509_set_issuer_name(certificate.get(), name) != 1 ||
        X509_sign(certificate.get(), key.get(), EVP_sha256()) == 0) {
        fail("cannot make a self-signed certificate");
    }
    auto impl = std::make_unique<Impl>();
    impl->context = newServerContext(highest, ciphers);
    if (SSL_CTX_use_certificate(impl->context.get(), certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(impl->context.get(), key.get()) != 1) {
        fail("cannot use the self-signed certificate");
    }
    checkKey(impl->context.get());
    return std::shared_ptr<const TlsContext>(new TlsContext(std::move(impl)));
}

struct TlsSession::Impl {
    SslPtr ssl;
    BIO* fromClient = nullptr;  // owned by ssl
    BIO* toClient = nullptr;    // owned by ssl
};

TlsSession::TlsSession(const TlsContext& context) : impl_(std::make_unique<Impl>()) {
    impl_->ssl.reset(SSL_new(context.impl_->context.get()));
    if (!impl_->ssl) fail("cannot start a TLS session");
    impl_->fromClient = BIO_new(BIO_s_mem());
    impl_->toClient = BIO_new(BIO_s_mem());
    if (impl_->fromClient == nullptr || impl_->toClient == nullptr) {
        BIO_free(impl_->fromClient);
        BIO_free(impl_->toClient);
        fail("cannot make the TLS buffers");
    }
    // Reading an empty buffer means "wait for more", not the end of the stream.
    BIO_set_mem_eof_return(impl_->fromClient, -1);
    SSL_set_bio(impl_->ssl.get(), impl_->fromClient, impl_->toClient);
    SSL_set_accept_state(impl_->ssl.get());
}

TlsSession::~TlsSession() = default;

void TlsSession::feed(std::span<const std::uint8_t> fromClient) {
    if (!fromClient.empty()) {
        BIO_write(impl_->fromClient, fromClient.data(), static_cast<int>(fromClient.size()));
    }
}

TlsSession::Handshake TlsSession::handshake() {
    ERR_clear_error();
    const int result = SSL_do_handshake(impl_->ssl.get());
    if (result == 1) return Handshake::Done;
    const int reason = SSL_get_error(impl_->ssl.get(), result);
    if (reason == SSL_ERROR_WANT_READ) return Handshake::Continue;
    error_ = "TLS handshake failed: " + openSslErrors();
    return Handshake::Failed;
}

bool TlsSession::decrypt(std::vector<std::uint8_t>& plain) {
    for (;;) {
        std::uint8_t chunk[16384];
        ERR_clear_error();
        const int got = SSL_read(impl_->ssl.get(), chunk, sizeof chunk);
        if (got > 0) {
            plain.insert(plain.end(), chunk, chunk + got);
            continue;
        }
        const int reason = SSL_get_error(impl_->ssl.get(), got);
        if (reason == SSL_ERROR_WANT_READ) return true;
        // The client's close_notify ends the stream as its closing the socket would.
        error_ = reason == SSL_ERROR_ZERO_RETURN ? "" : "cannot decrypt: " + openSslErrors();
        return false;
    }
}

bool TlsSession::encrypt(std::span<const std::uint8_t> plain) {
    // Memory buffers take every record whole, so each write is complete.
    while (!plain.empty()) {
        const int size = static_cast<int>(std::min<std::size_t>(plain.size(), 16384));
        ERR_clear_error();
        if (SSL_write(impl_->ssl.get(), plain.data(), size) != size) {
            error_ = "cannot encrypt: " + openSslErrors();
            return false;
        }
        plain = plain.subspan(static_cast<std::size_t>(size));
    }
    return true;
}

std::vector<std::uint8_t> TlsSession::takeOutput() {
    std::vector<std::uint8_t> out(BIO_ctrl_pending(impl_->toClient));
    if (!out.empty()) {
        const int got = BIO_read(impl_->toClient, out.data(), static_cast<int>(out.size()));
        out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    return out;
}

}  // namespace tds
