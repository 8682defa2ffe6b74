// One HTTP/1.1 GET over a plain TCP socket (Windows Sockets; WSAStartup is the caller's).
#pragma once

#include "platform/win_result.h"

// Results of HttpGet.
enum HttpGetResult {
    kHttpOk = 0,
    kHttpNoHost = -1,      // the host name does not resolve
    kHttpNoSocket = -2,    // no socket could be created
    kHttpNoConnect = -3,   // the connection failed
    kHttpSendShort = -4,   // the request was not sent whole
    kHttpNothing = -5,     // nothing was received (error, time-out or closed connection)
    kHttpNoHeaderEnd = -6, // the received data holds no CR LF CR LF
};

constexpr unsigned short kHttpPort = 80;
constexpr int kHttpReceiveTimeoutMs = 10000;

// Sends "GET /<path> HTTP/1.1" with "Host:<host>" and "Ver:<version>" to the first IPv4 address of
// host, then reads until the server closes, 2047 bytes have come, or 10 s have passed. On entry
// *length is the body capacity (body holds *length + 1 bytes); on success body holds the
// NUL-terminated body, cut at a GBK character boundary, and *length its length. A failed stage is
// logged with its Windows Sockets error, which *why (when given) carries too.
int HttpGet(char* body, int* length, const char* host, const char* path, const char* version,
            unsigned short port = kHttpPort, WinResult* why = nullptr);
