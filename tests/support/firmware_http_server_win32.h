#pragma once
// A small HTTP server for the firmware tests under Wine: it listens on the loopback address only,
// at a port the system picks, and answers GET requests from its own thread with the bodies it was
// given (404 for any other path), one connection at a time, closing each after the answer. The
// answers may be cached for an hour, so a check that took a cached answer would show. It keeps
// the path of every request in order. Started by the constructor, stopped by the destructor.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nx7::testing {

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  bool Listening() const { return listener_ != kNoSocket; }
  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port><path>".
  std::u16string Address(const std::string& path) const;
  // From now on GET `path` answers 200 with `body`.
  void Serve(const std::string& path, std::string body);
  // The paths asked for so far, in order.
  std::vector<std::string> Requests() const;

  // A loopback port on which nothing listens: a server that is down.
  static uint16_t ClosedPort();

 private:
  static constexpr uintptr_t kNoSocket = ~uintptr_t(0);
  void Run();
  void Answer(uintptr_t connection);

  uintptr_t listener_ = kNoSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::map<std::string, std::string> bodies_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace nx7::testing
