#include "HttpServer.h"

#include <httplib.h>

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>

#include "JsonText.h"
#include "WebPages.h"

namespace kivtal::service {

namespace {

// Bodies are read whole, up to this size: a card picture in Base64 or a batch. The
// client's batches stay under about 4 MiB; a body is held several times over while a
// batch is decoded, so this bound is what one request may cost in memory.
constexpr std::size_t kMaxBody = std::size_t{8} << 20;

// The parameter makes this content type exact-match nothing in the library's list of
// compressible types: replies go out as written, as the client reads them.
constexpr const char* kJsonType = "application/json; charset=utf-8";

// The library refuses URL-encoded bodies over 8 KiB when it parses them itself, and
// would decode '+' and '%' the client meant literally; reading the body raw avoids both.
// nullopt for a body cut short or over the limit: a truncated upload must not be stored.
std::optional<std::string> ReadBody(const httplib::Request& req, const httplib::ContentReader& reader) {
    std::string body;
    // A batch is a few MiB: grown step by step it would be copied over and over.
    body.reserve(std::min<std::size_t>(req.get_header_value<std::uint64_t>("Content-Length"), kMaxBody + 1));
    const bool whole = reader([&](const char* data, std::size_t n) {
        body.append(data, n);
        return body.size() <= kMaxBody;
    });
    if (!whole || body.size() > kMaxBody) return std::nullopt;
    return body;
}

// Answers the reply written out.
using RawHandler = std::function<std::string(const std::string& body, const httplib::Request& req)>;

httplib::Server::HandlerWithContentReader RawPost(RawHandler handler) {
    return [handler = std::move(handler)](const httplib::Request& req, httplib::Response& res,
                                          const httplib::ContentReader& reader) {
        const auto body = ReadBody(req, reader);
        if (!body) {
            res.status = 413;
            return;
        }
        res.set_content(handler(*body, req), kJsonType);
    };
}

// A handler that answers a reply object, which is written out.
template <class Handler>
RawHandler Written(Handler handler) {
    return [handler](const std::string& body, const httplib::Request& req) { return WriteJson(handler(body, req)); };
}

// The library's handling of one accepted connection (requests, routing, keep-alive,
// closing) is not public API; an explicit instantiation, which the language exempts
// from access checks, names it so that the Acceptor can hand connections to it.
using ServeSocket = bool (httplib::Server::*)(socket_t);
ServeSocket LibraryServeSocket();
template <ServeSocket Member>
struct ServeSocketAccess {
    friend ServeSocket LibraryServeSocket() { return Member; }
};
template struct ServeSocketAccess<&httplib::Server::process_and_close_socket>;

// A page of a few ranges can be made to repeat a file many times over.
bool AsksForSeveralRanges(const httplib::Request& req) {
    return req.has_header("Range") && req.get_header_value("Range").find(',') != std::string::npos;
}

}  // namespace

HttpServer::HttpServer(Service& service, AcceptorLimits limits)
    : service_(service),
      server_(std::make_unique<httplib::Server>()),
      acceptor_([this](int fd) { (server_.get()->*LibraryServeSocket())(fd); }, limits) {
    server_->set_payload_max_length(kMaxBody);
    // The library creates and binds the listening socket; the Acceptor listens on it.
    server_->set_socket_options([this](socket_t sock) {
        const int one = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        listenFd_ = sock;
    });
    server_->set_keep_alive_max_count(100);
    server_->set_logger([](const httplib::Request&, const httplib::Response&) { Acceptor::renewDeadline(); });
    server_->set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!AsksForSeveralRanges(req)) return httplib::Server::HandlerResponse::Unhandled;
        res.status = 416;
        return httplib::Server::HandlerResponse::Handled;
    });
    routeApi();
    routePages();
    server_->set_mount_point("/files", service_.filesDir().string());
}

HttpServer::~HttpServer() { stop(); }

void HttpServer::routeApi() {
    using Req = httplib::Request;
    Service& s = service_;
    // Download addresses name the configured address, never what a request's Host says.
    const std::string* url = &publicUrl_;
    server_->Post("/Login/login",
                  RawPost(Written([&s](const std::string& b, const Req& r) { return s.login(b, r.remote_addr); })));
    server_->Post("/Login/loginOut", RawPost(Written([&s](const std::string& b, const Req&) { return s.logout(b); })));
    server_->Post("/Update/check",
                  RawPost(Written([&s, url](const std::string& b, const Req&) { return s.versionCheck(b, *url); })));
    server_->Post("/Sync/receive", RawPost([&s](const std::string& b, const Req&) { return s.syncReceive(b); }));
    server_->Post("/Sync/send", RawPost(Written([&s](const std::string& b, const Req&) { return s.syncSend(b); })));
    server_->Post("/Secretary/upload",
                  RawPost(Written([&s](const std::string& b, const Req&) { return s.cardUpload(b); })));
    server_->Post("/PcAd",
                  RawPost(Written([&s, url](const std::string& b, const Req&) { return s.adverts(b, *url); })));
    server_->Post("/Notice", RawPost(Written([&s, url](const std::string& b, const Req&) { return s.news(b, *url); })));
    server_->Get("/Util/dateline", [](const Req&, httplib::Response& res) {
        res.set_content(WriteJson(Service::dateline()), kJsonType);
    });
}

void HttpServer::routePages() {
    Service& s = service_;
    const auto page = [](httplib::Response& res, const std::string& html) {
        res.set_content(html, "text/html; charset=utf-8");
    };
    server_->Get("/", [page](const httplib::Request&, httplib::Response& res) { page(res, HomePage()); });
    server_->Get("/Index/Register/index",
                 [page](const httplib::Request&, httplib::Response& res) { page(res, RegisterPage({})); });
    server_->Post("/Index/Register/index", [page, &s](const httplib::Request& req, httplib::Response& res,
                                                      const httplib::ContentReader& reader) {
        const auto body = ReadBody(req, reader);
        page(res, body ? Register(s, *body) : RegisterPage("请求过大。"));
    });
    server_->Get("/Index/Password/index",
                 [page](const httplib::Request&, httplib::Response& res) { page(res, PasswordPage()); });
    server_->Get(R"(/Home/Safe/index/clientid/(\d+))", [page](const httplib::Request& r, httplib::Response& res) {
        page(res, AccountPage("账号安全", r.matches[1].str()));
    });
    server_->Get(R"(/Home/Property/charge/clientid/(\d+))", [page](const httplib::Request& r, httplib::Response& res) {
        page(res, AccountPage("充值", r.matches[1].str()));
    });
    server_->Get(R"(/Index/About/index/id/10/clientid/(\d*))",
                 [page](const httplib::Request&, httplib::Response& res) { page(res, AboutPage()); });
}

int HttpServer::bind(const std::string& host, int port) {
    const int bound = port == 0 ? server_->bind_to_any_port(host) : server_->bind_to_port(host, port) ? port : -1;
    if (bound > 0 && publicUrl_.empty()) publicUrl_ = "http://" + host + ":" + std::to_string(bound);
    return bound;
}

void HttpServer::listen() {
    if (listenFd_ >= 0) acceptor_.run(listenFd_);
}

void HttpServer::start() {
    if (listenFd_ < 0) return;
    thread_ = std::thread([this] { listen(); });
    // stop() only ends a loop that has begun; requests sent meanwhile wait in the backlog.
    while (!acceptor_.running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpServer::stop() {
    acceptor_.stop();
    if (thread_.joinable()) thread_.join();
}

}  // namespace kivtal::service
