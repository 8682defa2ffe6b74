// A one-connection HTTP server on 127.0.0.1 for tests (Windows Sockets, started by the caller).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

// A one-connection HTTP server on 127.0.0.1: it reads the request up to its blank line, then runs
// the given script on the connected socket and closes it.
class LoopbackServer {
public:
    explicit LoopbackServer(std::function<void(SOCKET)> script) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener_, 1);
        int len = sizeof a;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this, script] {
            SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            char buf[4096];
            while (request_.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                request_.append(buf, static_cast<size_t>(n));
            }
            script(c);
            shutdown(c, SD_BOTH);
            closesocket(c);
        });
    }
    ~LoopbackServer() {
        closesocket(listener_);
        if (thread_.joinable()) thread_.join();
    }
    unsigned short port() const { return port_; }
    const std::string& request() const { return request_; }

private:
    SOCKET listener_;
    unsigned short port_ = 0;
    std::thread thread_;
    std::string request_;
};

inline void Send(SOCKET s, const std::string& bytes) { send(s, bytes.data(), static_cast<int>(bytes.size()), 0); }
