#include "support/firmware_http_server_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace nx7::testing {

namespace {

struct WinsockScope {
  WinsockScope() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockScope() { WSACleanup(); }
};

// A socket bound to 127.0.0.1 at a port the system picks; INVALID_SOCKET on failure.
SOCKET BindLoopback(uint16_t& port) {
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(s);
    return INVALID_SOCKET;
  }
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() {
  static WinsockScope winsock;
  SOCKET s = BindLoopback(port_);
  if (s == INVALID_SOCKET) return;
  if (::listen(s, 8) != 0) {
    ::closesocket(s);
    return;
  }
  listener_ = uintptr_t(s);
  thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoSocket) ::closesocket(SOCKET(listener_));
}

uint16_t LoopbackHttpServer::ClosedPort() {
  static WinsockScope winsock;
  uint16_t port = 0;
  const SOCKET s = BindLoopback(port);
  if (s != INVALID_SOCKET) ::closesocket(s);
  return port;
}

std::u16string LoopbackHttpServer::Address(const std::string& path) const {
  const std::string address = "http://127.0.0.1:" + std::to_string(port_) + path;
  return std::u16string(address.begin(), address.end());
}

void LoopbackHttpServer::Serve(const std::string& path, std::string body) {
  std::lock_guard lock(mutex_);
  bodies_[path] = std::move(body);
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Run() {
  // Waits in short steps so that the destructor's stop is seen.
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(SOCKET(listener_), &ready);
    timeval step{0, 50000};
    if (::select(0, &ready, nullptr, nullptr, &step) <= 0) continue;
    const SOCKET connection = ::accept(SOCKET(listener_), nullptr, nullptr);
    if (connection == INVALID_SOCKET) continue;
    Answer(uintptr_t(connection));
    ::closesocket(connection);
  }
}

void LoopbackHttpServer::Answer(uintptr_t socket) {
  const SOCKET connection = SOCKET(socket);
  DWORD timeoutMs = 5000;
  ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    const int n = ::recv(connection, buffer, sizeof(buffer), 0);
    if (n <= 0) return;
    request.append(buffer, size_t(n));
  }
  // "GET /path HTTP/1.1"
  const size_t methodEnd = request.find(' ');
  const size_t pathEnd = request.find(' ', methodEnd + 1);
  if (methodEnd == std::string::npos || pathEnd == std::string::npos) return;
  const std::string method = request.substr(0, methodEnd);
  const std::string path = request.substr(methodEnd + 1, pathEnd - methodEnd - 1);

  std::string status = "404 Not Found", body = "not found\n";
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(path);
    const auto it = bodies_.find(path);
    if (method == "GET" && it != bodies_.end()) {
      status = "200 OK";
      body = it->second;
    }
  }
  const std::string answer = "HTTP/1.1 " + status + "\r\nContent-Type: application/octet-stream\r\n" +
                             "Content-Length: " + std::to_string(body.size()) + "\r\n" +
                             "Cache-Control: max-age=3600\r\nConnection: close\r\n\r\n" + body;
  for (size_t sent = 0; sent < answer.size();) {
    const int n = ::send(connection, answer.data() + sent, int(answer.size() - sent), 0);
    if (n <= 0) return;
    sent += size_t(n);
  }
  ::shutdown(connection, SD_SEND);
}

}  // namespace nx7::testing
