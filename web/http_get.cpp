// HttpGet on Windows Sockets.
#include "web/http_get.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/handles.h"
#include "platform/log.h"
#include "web/headline.h"

namespace {
constexpr char kHeaderEnd[] = "\r\n\r\n";
}  // namespace

int HttpGet(char* body, int* length, const char* host, const char* path, const char* version, unsigned short port,
            WinResult* why) {
    if (why != nullptr) *why = WinResult::Ok();
    // A failed stage: its Windows Sockets error, for the caller and the log.
    const auto failed = [why, host](int stage) {
        const int error = WSAGetLastError();
        if (why != nullptr) *why = WinResult::Failed(static_cast<unsigned long>(error));
        char what[48];
        std::snprintf(what, sizeof what, "headline request failed (result %d)", stage);
        LogFailure(what, host, static_cast<unsigned long>(error));
        return stage;
    };
    const int capacity = *length;
    body[0] = '\0';
    *length = 0;

    const hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list[0] == nullptr) return failed(kHttpNoHost);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);

    ScopedSocket sock(socket(AF_INET, SOCK_STREAM, 0));
    if (!sock.valid()) return failed(kHttpNoSocket);
    if (connect(sock.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return failed(kHttpNoConnect);
    // Shut down in both directions before the socket closes, however this function returns.
    struct Shutdown {
        SOCKET s;
        ~Shutdown() { shutdown(s, SD_BOTH); }
    } const shutdownFirst{sock.get()};

    const std::string request = FormatHttpRequest(path, host, version);
    if (static_cast<int>(request.size()) >= kHttpBufferSize) return kHttpSendShort;
    const int sent = send(sock.get(), request.data(), static_cast<int>(request.size()), 0);
    if (sent != static_cast<int>(request.size())) return failed(kHttpSendShort);

    // Read until the server closes, the buffer is full, or the time-out passes in all; each wait
    // is bounded by what remains of the 10 s.
    char buffer[kHttpBufferSize];
    int received = 0;
    bool closed = false;
    const ULONGLONG deadline = GetTickCount64() + kHttpReceiveTimeoutMs;
    while (received < kHttpBufferSize - 1) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) break;
        const DWORD wait = static_cast<DWORD>(deadline - now);
        setsockopt(sock.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        const int n = recv(sock.get(), buffer + received, kHttpBufferSize - 1 - received, 0);
        if (n <= 0) {
            closed = n == 0;
            break;  // closed, failed or timed out
        }
        received += n;
    }
    if (received == 0) return failed(kHttpNothing);
    // Reading that stopped before the server closed may have cut a double-byte character in two:
    // its lone lead byte is dropped.
    if (!closed) {
        // Only the body is GBK text: the pairing of its bytes starts after the header block.
        const char* end = std::search(buffer, buffer + received, kHeaderEnd, kHeaderEnd + 4);
        if (end != buffer + received) {
            const char* body = end + 4;
            received = static_cast<int>(body - buffer) +
                       static_cast<int>(CompleteGbkLength(body, static_cast<size_t>(buffer + received - body)));
        }
    }
    buffer[received] = '\0';

    *length = capacity;
    return SplitHttpResponse(buffer, static_cast<size_t>(received), body, length);
}
