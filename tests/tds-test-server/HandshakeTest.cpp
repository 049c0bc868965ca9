// The server's log-in on the wire, read by a client of the test's own rather than a driver: the
// pre-login answer each encryption setting gives, the TLS handshake carried in pre-login packets,
// the log-in packet under TLS and what follows it in plain or under TLS, and the protocol version
// each generation acknowledges.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "PreLogin.h"
#include "TdsTestServer.h"
#include "TestSupport.h"
#include "Text.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kPreLogin = 0x12;
constexpr std::uint8_t kLogin7 = 0x10;
constexpr std::uint8_t kSqlBatch = 0x01;
constexpr std::uint8_t kReply = 0x04;
constexpr std::uint32_t kTds74 = 0x74000004;

void putU16(Bytes& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(Bytes& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

Bytes ucs2(const std::string& ascii) {
    Bytes out;
    for (const char c : ascii) putU16(out, static_cast<unsigned char>(c));
    return out;
}

// A client's pre-login request: VERSION and ENCRYPTION.
Bytes preLoginRequest(std::uint8_t encryption) {
    return {0x00, 0x00, 0x0B, 0x00, 0x06, 0x01, 0x00, 0x11, 0x00,
            0x01, 0xFF, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00, encryption};
}

// A LOGIN7 for sa / Tajne1 / ZUV asking for `version`.
Bytes login7(std::uint32_t version) {
    const std::vector<std::pair<std::size_t, Bytes>> texts = {
        {36, ucs2("host")},    {40, ucs2("sa")},        {44, ucs2("Tajne1")},
        {48, ucs2("U:admin")}, {52, ucs2("127.0.0.1")}, {64, ucs2("us_english")},
        {68, ucs2("ZUV")},
    };
    Bytes fixed(94, 0);
    Bytes variable;
    for (auto [field, text] : texts) {
        if (field == 44) {
            // XOR 0xA5 of the nibble-swapped byte, as clients send passwords.
            for (std::uint8_t& b : text)
                b = static_cast<std::uint8_t>(((b << 4) | (b >> 4)) ^ 0xA5);
        }
        const std::size_t offset = 94 + variable.size();
        fixed[field] = static_cast<std::uint8_t>(offset);
        fixed[field + 1] = static_cast<std::uint8_t>(offset >> 8);
        fixed[field + 2] = static_cast<std::uint8_t>(text.size() / 2);
        variable.insert(variable.end(), text.begin(), text.end());
    }
    Bytes header;
    putU32(header, static_cast<std::uint32_t>(94 + variable.size()));
    putU32(header, version);
    putU32(header, 4096);
    std::copy(header.begin(), header.end(), fixed.begin());
    fixed.insert(fixed.end(), variable.begin(), variable.end());
    return fixed;
}

// A SQL batch as a 7.2+ client sends it: ALL_HEADERS with a zero transaction descriptor.
Bytes sqlBatch(const std::string& text) {
    Bytes out;
    putU32(out, 22);
    putU32(out, 18);
    putU16(out, 2);
    out.insert(out.end(), 8, 0);
    putU32(out, 1);
    const Bytes body = ucs2(text);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes packet(std::uint8_t type, const Bytes& payload) {
    const std::size_t length = payload.size() + 8;
    Bytes out = {
        type, 0x01, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0, 0,
        1,    0};
    // Copied into room made first: inserting at the end of the 8-byte header makes GCC 12 at -O3
    // report a false -Warray-bounds in std::vector's insert.
    out.resize(length);
    std::copy(payload.begin(), payload.end(), out.begin() + 8);
    return out;
}

struct Message {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> packetTypes;  // every packet's, to check the framing
    Bytes payload;
};

// A TDS client over a socket, with TLS carried as SQL Server clients carry it: inside pre-login
// packets during the handshake, straight on the socket after it.
class RawClient {
  public:
    explicit RawClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval timeout{5, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("cannot connect");
        }
    }
    ~RawClient() {
        ssl_.reset();
        ::close(fd_);
    }

    void send(std::uint8_t type, const Bytes& payload) { write(packet(type, payload)); }

    // Nullopt when the server closed the connection.
    std::optional<Message> receive() {
        Message message;
        for (;;) {
            Bytes header;
            if (!read(header, 8)) return std::nullopt;
            Bytes body;
            if (!read(body, ((std::size_t{header[2]} << 8) | header[3]) - 8)) return std::nullopt;
            message.type = header[0];
            message.packetTypes.push_back(header[0]);
            message.payload.insert(message.payload.end(), body.begin(), body.end());
            if (header[1] & 0x01) return message;
        }
    }

    // The handshake inside pre-login packets; the server's packets must be pre-login ones too.
    void shakeHands() {
        context_.reset(SSL_CTX_new(TLS_client_method()));
        ssl_.reset(SSL_new(context_.get()));
        in_ = BIO_new(BIO_s_mem());
        out_ = BIO_new(BIO_s_mem());
        BIO_set_mem_eof_return(in_, -1);
        SSL_set_bio(ssl_.get(), in_, out_);
        SSL_set_connect_state(ssl_.get());
        for (;;) {
            const int done = SSL_do_handshake(ssl_.get());
            const Bytes flight = pending();
            if (!flight.empty())
                ::send(fd_, packet(kPreLogin, flight).data(), flight.size() + 8, 0);
            if (done == 1) break;
            ASSERT_EQ(SSL_get_error(ssl_.get(), done), SSL_ERROR_WANT_READ);
            const auto answer = receive();
            ASSERT_TRUE(answer);
            for (const std::uint8_t type : answer->packetTypes) EXPECT_EQ(type, kPreLogin);
            BIO_write(in_, answer->payload.data(), static_cast<int>(answer->payload.size()));
        }
        tls_ = true;
    }
    // Back to plain, as a client does after a log-in packet that alone was encrypted.
    void dropTls() { tls_ = false; }

  private:
    struct SslCtxFree {
        void operator()(SSL_CTX* p) const { SSL_CTX_free(p); }
    };
    struct SslFree {
        void operator()(SSL* p) const { SSL_free(p); }
    };

    Bytes pending() {
        Bytes out(BIO_ctrl_pending(out_));
        if (!out.empty()) BIO_read(out_, out.data(), static_cast<int>(out.size()));
        return out;
    }
    void write(const Bytes& data) {
        if (tls_) {
            SSL_write(ssl_.get(), data.data(), static_cast<int>(data.size()));
            const Bytes records = pending();
            ::send(fd_, records.data(), records.size(), 0);
        } else {
            ::send(fd_, data.data(), data.size(), 0);
        }
    }
    bool read(Bytes& out, std::size_t count) {
        while (plain_.size() < count) {
            std::uint8_t chunk[16384];
            const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
            if (got <= 0) return false;
            if (!tls_) {
                plain_.insert(plain_.end(), chunk, chunk + got);
                continue;
            }
            BIO_write(in_, chunk, static_cast<int>(got));
            int n = 0;
            while ((n = SSL_read(ssl_.get(), chunk, sizeof chunk)) > 0) {
                plain_.insert(plain_.end(), chunk, chunk + n);
            }
        }
        out.assign(plain_.begin(), plain_.begin() + static_cast<std::ptrdiff_t>(count));
        plain_.erase(plain_.begin(), plain_.begin() + static_cast<std::ptrdiff_t>(count));
        return true;
    }

    int fd_;
    std::unique_ptr<SSL_CTX, SslCtxFree> context_;
    std::unique_ptr<SSL, SslFree> ssl_;
    BIO* in_ = nullptr;   // owned by ssl_
    BIO* out_ = nullptr;  // owned by ssl_
    bool tls_ = false;
    Bytes plain_;
};

// The ENCRYPTION value of a pre-login answer.
std::uint8_t encryptionOf(const Message& reply) {
    return tds::clientEncryption(reply.payload).value_or(0xFF);
}

// The TDS version a log-in reply acknowledges (LOGINACK, big-endian), 0 without one.
std::uint32_t acknowledgedVersion(const Bytes& reply) {
    for (std::size_t i = 0; i + 8 <= reply.size(); ++i) {
        if (reply[i] == 0xAD && reply[i + 3] == 0x01) {
            return (std::uint32_t{reply[i + 4]} << 24) | (std::uint32_t{reply[i + 5]} << 16) |
                   (std::uint32_t{reply[i + 6]} << 8) | reply[i + 7];
        }
    }
    return 0;
}

}  // namespace

TEST(Handshake, EachSettingAnswersAndCarriesTlsAsASqlServerDoes) {
    using tds::EncryptionMode;
    namespace e = tds::encryption;
    const struct {
        const char* name;
        EncryptionMode mode;
        std::uint8_t client;
        std::uint8_t answer;
        bool tls;            // a handshake follows the answer
        bool tlsAfterLogin;  // the rest of the session stays under TLS
        bool refused;        // the server ends the connection after its answer
    } cases[] = {
        {"off", EncryptionMode::Off, e::kOff, e::kNotSup, false, false, false},
        {"login, client off", EncryptionMode::Login, e::kOff, e::kOff, true, false, false},
        {"login, client on", EncryptionMode::Login, e::kOn, e::kOn, true, true, false},
        {"login, client cannot", EncryptionMode::Login, e::kNotSup, e::kNotSup, false, false,
         false},
        {"on", EncryptionMode::On, e::kOff, e::kOn, true, true, false},
        {"on, client cannot", EncryptionMode::On, e::kNotSup, e::kOn, false, false, true},
        {"required", EncryptionMode::Required, e::kOff, e::kReq, true, true, false},
        {"required, client cannot", EncryptionMode::Required, e::kNotSup, e::kReq, false, false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tds_test::TempDir dir;
        tds::ServerConfig config = tds_test::testConfig(dir);
        config.encryption = c.mode;
        config.productVersion = "11.0.7001.0";
        tds::Server server(config);
        RawClient client(server.port());

        client.send(kPreLogin, preLoginRequest(c.client));
        const auto answer = client.receive();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->type, kReply);
        EXPECT_EQ(encryptionOf(*answer), c.answer);
        if (c.refused) {
            EXPECT_FALSE(client.receive());
            continue;
        }
        if (c.tls) client.shakeHands();
        client.send(kLogin7, login7(kTds74));
        if (c.tls && !c.tlsAfterLogin) client.dropTls();
        const auto loggedIn = client.receive();
        ASSERT_TRUE(loggedIn);
        EXPECT_EQ(acknowledgedVersion(loggedIn->payload), kTds74);

        client.send(kSqlBatch, sqlBatch("select wartosc from konfig_st where nazwa = "
                                        "'TERVO_WERSJA'"));
        const auto rows = client.receive();
        ASSERT_TRUE(rows);
        EXPECT_EQ(rows->payload.front(), 0x81);  // COLMETADATA
        const auto connections = server.connections();
        ASSERT_EQ(connections.size(), 1u);
        EXPECT_EQ(connections[0].encryption, !c.tls            ? tds::EncryptionOutcome::None
                                             : c.tlsAfterLogin ? tds::EncryptionOutcome::Full
                                                               : tds::EncryptionOutcome::LoginOnly);
    }
}

TEST(LoginAck, EachGenerationAcknowledgesItsVersionInItsOwnForm) {
    const struct {
        const char* productVersion;
        std::optional<tds::TdsVersion> tdsVersion;
        std::uint32_t asked;
        std::uint32_t acknowledged;
        std::size_t doneSize;  // the log-in's closing DONE
    } cases[] = {
        {"8.00.2039", {}, kTds74, 0x71000001, 9},
        {"9.00.5000.00", {}, kTds74, 0x72090002, 13},
        {"10.0.6000.29", {}, kTds74, 0x730A0003, 13},
        {"10.50.6000.34", {}, kTds74, 0x730B0003, 13},
        {"11.0.7001.0", {}, kTds74, 0x74000004, 13},
        {"12.0.2000.8", {}, kTds74, 0x74000004, 13},
        {"11.0.7001.0", tds::TdsVersion::V7_1, kTds74, 0x71000001, 9},
        {"8.00.2039", tds::TdsVersion::V7_4, kTds74, 0x74000004, 13},
        {"11.0.7001.0", {}, 0x72090002, 0x72090002, 13},  // a client asking for less gets it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.productVersion) + " asked " + std::to_string(c.asked));
        tds_test::TempDir dir;
        tds::ServerConfig config = tds_test::testConfig(dir);
        config.encryption = tds::EncryptionMode::Off;
        config.productVersion = c.productVersion;
        config.tdsVersion = c.tdsVersion;
        tds::Server server(config);
        RawClient client(server.port());
        client.send(kPreLogin, preLoginRequest(tds::encryption::kNotSup));
        ASSERT_TRUE(client.receive());
        client.send(kLogin7, login7(c.asked));
        const auto reply = client.receive();
        ASSERT_TRUE(reply);
        EXPECT_EQ(acknowledgedVersion(reply->payload), c.acknowledged);
        ASSERT_GE(reply->payload.size(), c.doneSize);
        EXPECT_EQ(reply->payload[reply->payload.size() - c.doneSize], 0xFD);
    }
}
