#include "LocalBroker.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Binds to a free loopback port (for port 0) or connects to the given one; the port, or 0.
int LoopbackSocket(int port) {
    const int socketId = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, htons(static_cast<in_port_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    socklen_t size = sizeof address;
    const bool done =
        port ? connect(socketId, generic, size) == 0
             : bind(socketId, generic, size) == 0 && getsockname(socketId, generic, &size) == 0;
    close(socketId);
    return done ? ntohs(address.sin_port) : 0;
}

} // namespace

LocalBroker::LocalBroker(const std::string& login, bool tls) : tls_(tls) {
    char folder[] = "/tmp/vxxx-broker-XXXXXX";
    if (mkdtemp(folder) == nullptr || (port_ = LoopbackSocket(0)) == 0) {
        throw std::runtime_error("no folder or port for the broker");
    }
    folder_ = folder;
    const std::string passwords = folder_ + "/passwords";
    std::ofstream(folder_ + "/mosquitto.conf")
        << "listener " << port_ << " 127.0.0.1\npersistence true\npersistence_location " << folder_
        << "/\nlog_dest none\nuser root\n"
        << (tls ? "certfile " + folder_ + "/broker.pem\nkeyfile " + folder_ + "/broker.key\n" : "")
        << (login.empty() ? "allow_anonymous true\n"
                          : "allow_anonymous false\npassword_file " + passwords + "\n");
    if (!login.empty() &&
        std::system(("mosquitto_passwd -c -b " + passwords + " " + login).c_str()) != 0) {
        throw std::runtime_error("mosquitto_passwd failed");
    }
    // A certificate for 127.0.0.1, signed by an authority of this broker's own.
    const std::string newKey = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ";
    const std::string certificates =
        "cd " + folder_ + " && exec 2>/dev/null && echo subjectAltName=IP:127.0.0.1 >san" +
        " && openssl req -x509 -subj /CN=ca" + newKey + "ca.key -out ca.pem" +
        " && openssl req -subj /CN=broker" + newKey + "broker.key" +
        " | openssl x509 -req -CA ca.pem -CAkey ca.key -extfile san -out broker.pem";
    if (tls && std::system(certificates.c_str()) != 0) {
        throw std::runtime_error("openssl failed");
    }
    Start();
}

LocalBroker::~LocalBroker() {
    Stop();
    std::filesystem::remove_all(folder_);
}

void LocalBroker::Start() {
    const std::string config = folder_ + "/mosquitto.conf";
    if ((pid_ = fork()) == 0) {
        dup2(open("/dev/null", O_WRONLY), STDERR_FILENO); // its warning about running as root
        execlp("mosquitto", "mosquitto", "-c", config.c_str(), nullptr);
        _exit(127);
    }
    for (int tries = 0; LoopbackSocket(port_) == 0; ++tries) {
        if (tries == 500 || waitpid(pid_, nullptr, WNOHANG) != 0) {
            throw std::runtime_error("mosquitto did not start");
        }
        usleep(20'000);
    }
}

void LocalBroker::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

std::string LocalBroker::Url(const std::string& prefix, const std::string& user) const {
    return (tls_ ? "mqtts://" : "mqtt://") + (user.empty() ? "" : user + "@") +
           "127.0.0.1:" + std::to_string(port_) + "/" + prefix;
}
