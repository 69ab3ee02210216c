#pragma once
// The service on HTTP: the client's endpoints, the web pages it opens and the
// published files, on one listener. The HTTP library parses requests and routes them;
// the connections are accepted and bounded by the Acceptor.
#include <memory>
#include <string>
#include <thread>

#include "Acceptor.h"
#include "Service.h"

namespace httplib {
class Server;
}

namespace kivtal::service {

class HttpServer {
public:
    explicit HttpServer(Service& service, AcceptorLimits limits = {});
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // The address clients reach the service at, for the download addresses it hands
    // out ("http://name:port", no trailing slash); by default the bound host and port.
    void setPublicUrl(std::string url) { publicUrl_ = std::move(url); }
    // Binds `host:port` (port 0 picks a free one); the bound port, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop() is called.
    void listen();
    // Serves on a thread of its own; stop() or the destructor ends it.
    void start();
    void stop();

private:
    void routeApi();
    void routePages();

    Service& service_;
    std::unique_ptr<httplib::Server> server_;
    Acceptor acceptor_;
    int listenFd_ = -1;
    std::string publicUrl_;
    std::thread thread_;
};

}  // namespace kivtal::service
