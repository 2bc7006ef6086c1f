#pragma once

// Servers for tests over the network, each started on 127.0.0.1 at a free port in a temporary
// directory and stopped by its PID when the object goes: nginx (plain and TLS, gzip, Basic
// authentication, Last-Modified), tinyproxy, and a scripted server for faults.

#include <sys/types.h>

#include <string>
#include <vector>

namespace velnora::test {

// A port that was free a moment ago.
int FreePort();

// A child process, killed (and reaped) when the object goes.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::vector<std::string>& argv, const std::string& log_file);
    void Stop();
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
};

// Waits until something accepts connections on 127.0.0.1:port (at most about 10 s).
bool WaitForPort(int port);

// A test certificate authority and a server certificate for localhost and 127.0.0.1, made with
// the openssl command in the directory.
struct TestCertificates {
    std::string ca_file;
    std::string certificate_file;
    std::string key_file;
    bool Make(const std::string& directory);
};

class NginxServer {
  public:
    // Serves root over HTTP on http_port and over TLS on tls_port (when certificates are given),
    // with gzip for HTML, and Basic authentication ("user", "secret") below /private/.
    // extra_locations go into the HTTP server's block, with @TLS_PORT@ standing for the TLS
    // port.
    bool Start(const std::string& directory, const std::string& root,
               const TestCertificates* certificates, const std::string& extra_locations = "");
    int http_port() const { return http_port_; }
    int tls_port() const { return tls_port_; }

  private:
    ChildProcess process_;
    int http_port_ = 0;
    int tls_port_ = 0;
};

class TinyProxy {
  public:
    bool Start(const std::string& directory);
    int port() const { return port_; }

  private:
    ChildProcess process_;
    int port_ = 0;
};

// tests/net/fault_server.py: each request's path says how it misbehaves.
class FaultServer {
  public:
    bool Start(const std::string& directory);
    int port() const { return port_; }

  private:
    ChildProcess process_;
    int port_ = 0;
};

}  // namespace velnora::test
