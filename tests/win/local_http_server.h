#pragma once

#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace wintest {

// A small HTTP/1.0 server on 127.0.0.1 (a port of its own) for the tests of the update check: every path has a
// status and a body; anything else answers 404.
class LocalHttpServer {
  public:
    LocalHttpServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 8);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() {
        closesocket(listener_);
        thread_.join();
        WSACleanup();
    }

    void Set(const std::string& path, const std::string& body, int status = 200) {
        std::lock_guard<std::mutex> lock(mutex_);
        pages_[path] = {status, body};
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int Requests() const { return requests_; }

  private:
    struct Page {
        int Status;
        std::string Body;
    };

    void Serve() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                int n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, n);
            }
            size_t pathStart = request.find(' ') + 1;
            std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
            Page page{404, "not here"};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                auto it = pages_.find(path);
                if (it != pages_.end())
                    page = it->second;
            }
            ++requests_;
            std::string answer = "HTTP/1.0 " + std::to_string(page.Status) + " X\r\nContent-Type: text/plain\r\n" +
                                 "Content-Length: " + std::to_string(page.Body.size()) +
                                 "\r\nConnection: close\r\n\r\n" + page.Body;
            for (size_t sent = 0; sent < answer.size();) {
                int n = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
                if (n <= 0)
                    break;  // the client stopped reading (a body beyond its limit)
                sent += static_cast<size_t>(n);
            }
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
    std::atomic<int> requests_{0};
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

}  // namespace wintest
