#include "ResultsServer.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace n4test {

std::string updateDataFolder() {
    return std::string(N4_SOURCE_DIR) + "/tests/update";
}

std::string ResultsServer::testCa() {
    return updateDataFolder() + "/test-ca.pem";
}

ResultsServer::ResultsServer(const std::string& root) {
    int toServer[2], fromServer[2];
    if (::pipe2(toServer, O_CLOEXEC) != 0) return;
    if (::pipe2(fromServer, O_CLOEXEC) != 0) {
        ::close(toServer[0]);
        ::close(toServer[1]);
        return;
    }
    const std::string folder = updateDataFolder();
    const std::string script = folder + "/results_server.py", cert = folder + "/server.pem",
                      key = folder + "/server-key.pem";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(toServer[0], 0);
        ::dup2(fromServer[1], 1);
        ::close(toServer[1]);
        ::close(fromServer[0]);
        ::execlp("python3", "python3", script.c_str(), root.c_str(), cert.c_str(), key.c_str(),
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toServer[0]);
    ::close(fromServer[1]);
    input_ = toServer[1];
    // The one line saying the ports comes once the server listens.
    FILE* out = ::fdopen(fromServer[0], "r");
    char line[128] = {};
    if (pid_ > 0 && out && std::fgets(line, sizeof line, out))
        std::sscanf(line, "http=%d https=%d silent=%d", &httpPort_, &httpsPort_, &silentPort_);
    if (out)
        std::fclose(out);
    else
        ::close(fromServer[0]);
}

ResultsServer::~ResultsServer() {
    if (input_ >= 0) ::close(input_);
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string ResultsServer::http(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(httpPort_) + path;
}

std::string ResultsServer::https(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(httpsPort_) + path;
}

std::string ResultsServer::silent() const {
    return "http://127.0.0.1:" + std::to_string(silentPort_) + "/";
}

std::string refusingAddress() {
    // A port the system just gave out and that nobody has taken since.
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/";
}

} // namespace n4test
