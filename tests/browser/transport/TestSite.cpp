#include "TestSite.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace qv::test {
namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

void SendHtml(httplib::Response& res, const std::string& body) {
    res.set_content(
        "<!DOCTYPE html><html><head><title>t</title></head><body>" + body + "</body></html>",
        "text/html; charset=utf-8");
}

}  // namespace

// Clients differ in the loopback they pick for a *.localhost name (::1 or
// 127.0.0.1), so the site listens on both, at one port.
struct TestSite::Impl {
    httplib::SSLServer v6;
    httplib::SSLServer v4;
    std::thread v6Thread;
    std::thread v4Thread;
    std::atomic<bool> stopping{false};
    int port = -1;

    Impl(const std::string& certificate, const std::string& key)
        : v6(certificate.c_str(), key.c_str()), v4(certificate.c_str(), key.c_str()) {}
};

namespace {

void WaitUntilRunning(httplib::Server& server) {
    for (int i = 0; i < 500 && !server.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The library's servers share a port with any other socket that asks to
// (SO_REUSEPORT): another test process listening at the port chosen here
// would then get some of this site's connections. Plain SO_REUSEADDR makes
// such a port busy, and the site tries another.
void ExclusiveSocketOptions(socket_t socket) {
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// `stopping` cuts slow answers short when the site stops.
void AddRoutes(httplib::SSLServer& server, const std::atomic<bool>& stopping) {
    server.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
        SendHtml(res, "<p id=\"greeting\">Hello, <b>world</b> &amp; all</p>");
    });
    auto echo = [](const httplib::Request& req, httplib::Response& res) {
        SendHtml(res, "<p id=\"method\">" + Escape(req.method) + "</p><p id=\"host\">" +
                          Escape(req.get_header_value("Host")) + "</p><p id=\"type\">" +
                          Escape(req.get_header_value("Content-Type")) + "</p><p id=\"body\">" +
                          Escape(req.body) + "</p>");
    };
    server.Get("/echo", echo);
    server.Post("/echo", echo);
    auto redirect = [](const httplib::Request& req, httplib::Response& res) {
        res.status = std::stoi(req.get_param_value("code"));
        res.set_header("Location", req.get_param_value("to"));
    };
    server.Get("/redirect", redirect);
    server.Post("/redirect", redirect);
    server.Get("/cookie/set", [](const httplib::Request& req, httplib::Response& res) {
        for (const auto& [name, value] : req.params) {
            res.set_header("Set-Cookie", name + "=" + value + "; Path=/");
        }
        SendHtml(res, "<p id=\"set\">set</p>");
    });
    server.Get("/cookie/show", [](const httplib::Request& req, httplib::Response& res) {
        SendHtml(res, "<p id=\"cookies\">" + Escape(req.get_header_value("Cookie")) + "</p>");
    });
    server.Get("/slow", [&stopping](const httplib::Request& req, httplib::Response& res) {
        const int ms = std::clamp(std::stoi(req.get_param_value("ms")), 0, 10000);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < until && !stopping) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        SendHtml(res, "<p id=\"slow\">late</p>");
    });
    server.Get("/form", [](const httplib::Request&, httplib::Response& res) {
        SendHtml(res,
                 "<form method=\"post\" action=\"/echo\">"
                 "<input id=\"nick\" name=\"nick\" value=\"\">"
                 "<input id=\"pass\" name=\"pass\" type=\"password\" value=\"\">"
                 "<input id=\"login\" type=\"submit\" name=\"login\" value=\"Sign in\">"
                 "</form>");
    });
}

}  // namespace

TestSite::TestSite(const std::string& certificateFile, const std::string& keyFile) {
    // The port is free on [::1]; 127.0.0.1 may have it taken, by another
    // process's server, and then another port is tried.
    for (int attempt = 0; attempt < 20; ++attempt) {
        impl_ = std::make_unique<Impl>(certificateFile, keyFile);
        if (!impl_->v6.is_valid() || !impl_->v4.is_valid()) {
            throw std::runtime_error("the test site cannot load " + certificateFile);
        }
        for (httplib::SSLServer* server : {&impl_->v6, &impl_->v4}) {
            server->set_socket_options(ExclusiveSocketOptions);
            AddRoutes(*server, impl_->stopping);
        }
        impl_->port = impl_->v6.bind_to_any_port("::1");
        if (impl_->port <= 0) throw std::runtime_error("the test site cannot listen on [::1]");
        if (impl_->v4.bind_to_port("127.0.0.1", impl_->port)) {
            impl_->v6Thread = std::thread([this] { impl_->v6.listen_after_bind(); });
            impl_->v4Thread = std::thread([this] { impl_->v4.listen_after_bind(); });
            WaitUntilRunning(impl_->v6);
            WaitUntilRunning(impl_->v4);
            return;
        }
        // A server closes its socket only once it has listened.
        std::thread listening([this] { impl_->v6.listen_after_bind(); });
        WaitUntilRunning(impl_->v6);
        impl_->v6.stop();
        listening.join();
    }
    throw std::runtime_error("the test site found no port free on both [::1] and 127.0.0.1");
}

TestSite::~TestSite() {
    impl_->stopping = true;
    impl_->v6.stop();
    impl_->v4.stop();
    impl_->v6Thread.join();
    impl_->v4Thread.join();
}

int TestSite::Port() const {
    return impl_->port;
}

}  // namespace qv::test
