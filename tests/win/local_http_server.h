#pragma once

#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace WinTest {

// A small HTTP/1.0 server on 127.0.0.1 (a port of its own) for the tests of the update check: every path has a
// status and a body, or one of the misbehaviours below; anything else answers 404. Each connection has a thread of
// its own, and none lives longer than the server or than kMaxConnectionMs.
class LocalHttpServer {
  public:
    enum class Mode {
        Whole,    // status, headers and the body at once
        Silent,   // reads the request and never answers
        Trickle,  // the headers, then one byte of body per second
        Endless,  // a body of kEndlessBytes, as fast as the client reads it
    };
    static constexpr long long kEndlessBytes = 100ll << 20;
    static constexpr DWORD kMaxConnectionMs = 90000;

    LocalHttpServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 16);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Accept(); });
    }
    ~LocalHttpServer() {
        SetEvent(stop_);
        closesocket(listener_);
        thread_.join();
        std::vector<std::thread> connections;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            connections.swap(connections_);
        }
        for (std::thread& t : connections)
            t.join();
        CloseHandle(stop_);
        WSACleanup();
    }

    void Set(const std::string& path, const std::string& body, int status = 200) {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_[path] = {status, body, "", Mode::Whole};
    }
    void SetMode(const std::string& path, Mode mode, bool declareLength = false) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string headers = declareLength ? "Content-Length: " + std::to_string(kEndlessBytes) + "\r\n" : "";
        pages_[path] = {200, "", headers, mode};
    }
    // A redirect to location, as written (relative or absolute).
    void SetRedirect(const std::string& path, const std::string& location, int status = 302) {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_[path] = {status, "", "Location: " + location + "\r\n", Mode::Whole};
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int Requests() const { return requests_; }
    // Connections whose answer is still being given (a client that stopped reading and closed ends its own).
    int OpenConnections() const { return open_; }
    long long BodyBytesSent() const { return bodyBytesSent_; }

  private:
    struct Page {
        int Status;
        std::string Body;
        std::string Headers;
        Mode How;
    };

    void Accept() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            ++open_;
            std::lock_guard<std::mutex> lock(mutex_);
            connections_.emplace_back([this, client] {
                Serve(client);
                shutdown(client, SD_SEND);
                closesocket(client);
                --open_;
            });
        }
    }

    bool Stopping(DWORD waitMs = 0) const { return WaitForSingleObject(stop_, waitMs) == WAIT_OBJECT_0; }

    // Sends all of data unless the client goes, the server stops or the connection has lived too long.
    bool SendAll(SOCKET client, const char* data, size_t size, DWORD started) {
        for (size_t sent = 0; sent < size;) {
            if (Stopping() || GetTickCount() - started > kMaxConnectionMs)
                return false;
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(client, &writable);
            timeval wait{0, 50000};
            int ready = select(0, nullptr, &writable, nullptr, &wait);
            if (ready < 0)
                return false;
            if (ready == 0)
                continue;
            int n = send(client, data + sent, static_cast<int>(std::min<size_t>(size - sent, 65536)), 0);
            if (n <= 0)
                return false;  // the client stopped reading and closed
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // Waits until the client has sent something (or closed); false when the server stops or time is up first.
    bool WaitReadable(SOCKET client, DWORD started) {
        for (;;) {
            if (Stopping() || GetTickCount() - started > kMaxConnectionMs)
                return false;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(client, &readable);
            timeval wait{0, 50000};
            int ready = select(0, &readable, nullptr, nullptr, &wait);
            if (ready != 0)
                return ready > 0;
        }
    }

    void Serve(SOCKET client) {
        const DWORD started = GetTickCount();
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            if (!WaitReadable(client, started))
                return;
            int n = recv(client, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, n);
        }
        size_t pathStart = request.find(' ') + 1;
        std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
        Page page{404, "not here", "", Mode::Whole};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = pages_.find(path);
            if (it != pages_.end())
                page = it->second;
        }
        ++requests_;
        if (page.How == Mode::Silent) {
            // Until the client gives up and closes its end.
            while (WaitReadable(client, started) && recv(client, buffer, sizeof buffer, 0) > 0) {
            }
            return;
        }
        std::string head = "HTTP/1.0 " + std::to_string(page.Status) + " X\r\nContent-Type: text/plain\r\n" +
                           page.Headers + "Connection: close\r\n";
        if (page.How == Mode::Whole)
            head += "Content-Length: " + std::to_string(page.Body.size()) + "\r\n";
        head += "\r\n";
        if (!SendAll(client, head.data(), head.size(), started))
            return;
        switch (page.How) {
            case Mode::Whole:
                SendAll(client, page.Body.data(), page.Body.size(), started);
                break;
            case Mode::Trickle:
                while (SendAll(client, ";", 1, started) && !Stopping(1000))
                    ++bodyBytesSent_;
                break;
            case Mode::Endless: {
                const std::string chunk(65536, ';');
                for (long long sent = 0; sent < kEndlessBytes; sent += static_cast<long long>(chunk.size())) {
                    if (!SendAll(client, chunk.data(), chunk.size(), started))
                        break;
                    bodyBytesSent_ += static_cast<long long>(chunk.size());
                }
                break;
            }
            case Mode::Silent:
                break;
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
    std::vector<std::thread> connections_;
    std::atomic<int> requests_{0};
    std::atomic<int> open_{0};
    std::atomic<long long> bodyBytesSent_{0};
};

// A port on 127.0.0.1 where nothing listens.
inline std::string ClosedPortUrl(const std::string& path) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    WSACleanup();
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + path;
}

}  // namespace WinTest
