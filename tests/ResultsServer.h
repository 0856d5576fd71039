#pragma once
// The update tests' own results server (tests/update/results_server.py) on
// 127.0.0.1: the files of a folder over HTTP and HTTPS, and a few addresses
// that misbehave on purpose (see the script). It ends with this object.
#include <string>
#include <sys/types.h>

namespace n4test {

// tests/update: cut copies of the results API's files, the test certificate.
std::string updateDataFolder();

class ResultsServer {
  public:
    explicit ResultsServer(const std::string& root);
    ~ResultsServer();
    ResultsServer(const ResultsServer&) = delete;
    ResultsServer& operator=(const ResultsServer&) = delete;

    bool running() const { return httpPort_ > 0; }
    std::string http(const std::string& path) const;  // "http://127.0.0.1:PORT" + path
    std::string https(const std::string& path) const; // its certificate: testCa()
    // An address whose connection is never answered.
    std::string silent() const;
    static std::string testCa();

  private:
    pid_t pid_ = -1;
    int input_ = -1; // the server's standard input: closing it ends the server
    int httpPort_ = 0, httpsPort_ = 0, silentPort_ = 0;
};

// An address on 127.0.0.1 where nothing listens.
std::string refusingAddress();

} // namespace n4test
