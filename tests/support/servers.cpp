#include "support/servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace velnora::test {

int FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

ChildProcess::~ChildProcess() {
    Stop();
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::string& log_file) {
    pid_ = ::fork();
    if (pid_ < 0) {
        return false;
    }
    if (pid_ == 0) {
        ::setpgid(0, 0);
        int log = ::open(log_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return true;
}

void ChildProcess::Stop() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGKILL);  // the process group: nginx's workers go with their master
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

bool WaitForPort(int port) {
    for (int i = 0; i < 200; ++i) {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (ok) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

namespace {

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

bool TestCertificates::Make(const std::string& dir) {
    ca_file = dir + "/ca.pem";
    certificate_file = dir + "/server.pem";
    key_file = dir + "/server.key";
    WriteFile(dir + "/san.cnf", "subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    std::string quiet = " >/dev/null 2>&1";
    return Run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
               "-subj '/CN=Velnora Test CA' "
               "-keyout " +
               dir + "/ca.key -out " + ca_file + quiet) &&
           Run("openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "
               "'/CN=localhost' -keyout " +
               key_file + " -out " + dir + "/server.csr" + quiet) &&
           Run("openssl x509 -req -in " + dir + "/server.csr -CA " + ca_file + " -CAkey " + dir +
               "/ca.key -CAcreateserial -days 2 -extfile " + dir + "/san.cnf -out " +
               certificate_file + quiet);
}

bool NginxServer::Start(const std::string& dir, const std::string& root,
                        const TestCertificates* certificates, const std::string& extra_locations) {
    http_port_ = FreePort();
    tls_port_ = certificates != nullptr ? FreePort() : 0;
    std::string extra = extra_locations;
    for (std::size_t at = extra.find("@TLS_PORT@"); at != std::string::npos;
         at = extra.find("@TLS_PORT@")) {
        extra.replace(at, 10, std::to_string(tls_port_));
    }
    WriteFile(dir + "/htpasswd", "user:{PLAIN}secret\n");
    std::string tls;
    if (certificates != nullptr) {
        tls =
            "    server {\n"
            "        listen 127.0.0.1:" +
            std::to_string(tls_port_) +
            " ssl;\n"
            "        ssl_certificate " +
            certificates->certificate_file +
            ";\n"
            "        ssl_certificate_key " +
            certificates->key_file +
            ";\n"
            "        root " +
            root +
            ";\n"
            "    }\n";
    }
    WriteFile(dir + "/nginx.conf",
              "daemon off;\n"
              "master_process off;\n"
              "pid " +
                  dir +
                  "/nginx.pid;\n"
                  "error_log " +
                  dir +
                  "/error.log;\n"
                  "events { worker_connections 256; }\n"
                  "http {\n"
                  "    access_log off;\n"
                  "    client_body_temp_path " +
                  dir +
                  "/body;\n"
                  "    proxy_temp_path " +
                  dir +
                  "/proxy;\n"
                  "    fastcgi_temp_path " +
                  dir +
                  "/fastcgi;\n"
                  "    uwsgi_temp_path " +
                  dir +
                  "/uwsgi;\n"
                  "    scgi_temp_path " +
                  dir +
                  "/scgi;\n"
                  "    default_type text/html;\n"
                  "    gzip on;\n"
                  "    gzip_min_length 0;\n"
                  "    gzip_types text/html text/plain;\n"
                  "    server {\n"
                  "        listen 127.0.0.1:" +
                  std::to_string(http_port_) +
                  ";\n"
                  "        root " +
                  root +
                  ";\n"
                  "        location /private/ {\n"
                  "            auth_basic \"test\";\n"
                  "            auth_basic_user_file " +
                  dir +
                  "/htpasswd;\n"
                  "        }\n" +
                  extra + "    }\n" + tls + "}\n");
    if (!process_.Start({"nginx", "-p", dir, "-c", dir + "/nginx.conf"}, dir + "/nginx.out")) {
        return false;
    }
    return WaitForPort(http_port_) && (tls_port_ == 0 || WaitForPort(tls_port_));
}

bool TinyProxy::Start(const std::string& dir) {
    port_ = FreePort();
    WriteFile(dir + "/tinyproxy.conf", "Port " + std::to_string(port_) +
                                           "\n"
                                           "Listen 127.0.0.1\n"
                                           "Timeout 30\n"
                                           "Allow 127.0.0.1\n"
                                           "MaxClients 20\n"
                                           "LogLevel Info\n"
                                           "DisableViaHeader Yes\n");
    if (!process_.Start({"tinyproxy", "-d", "-c", dir + "/tinyproxy.conf"},
                        dir + "/tinyproxy.out")) {
        return false;
    }
    return WaitForPort(port_);
}

bool FaultServer::Start(const std::string& dir) {
    port_ = FreePort();
    std::string script = std::string(VELNORA_TEST_DATA) + "/../net/fault_server.py";
    if (!process_.Start({"python3", script, std::to_string(port_)}, dir + "/fault.out")) {
        return false;
    }
    return WaitForPort(port_);
}

}  // namespace velnora::test
