// http_server.cpp: the only file that includes cpp-httplib.
#include "serve/http_server.h"

#include <httplib.h>

#include <memory>
#include <thread>

namespace serve {

namespace {

struct HttpState {
    std::unique_ptr<httplib::Server> server;
    std::thread listener;
};

HttpState http;

} // namespace

int startHttp(const std::string& address, int port, const std::vector<Page>& pages)
{
    http.server = std::make_unique<httplib::Server>();
    for (const Page& page : pages)
        http.server->Get(page.path, [page](const httplib::Request&, httplib::Response& response) {
            response.set_content(page.body(), page.contentType.c_str());
        });
    const auto refuse = [](const httplib::Request&, httplib::Response& response) { response.status = 405; };
    http.server->Post(".*", refuse);
    http.server->Put(".*", refuse);
    http.server->Delete(".*", refuse);
    http.server->Patch(".*", refuse);
    const int bound = port == 0 ? http.server->bind_to_any_port(address) : http.server->bind_to_port(address, port) ? port : -1;
    if (bound < 0) {
        http.server.reset();
        return -1;
    }
    http.listener = std::thread([] { http.server->listen_after_bind(); });
    return bound;
}

void stopHttp()
{
    if (!http.server)
        return;
    http.server->stop();
    if (http.listener.joinable())
        http.listener.join();
    http.server.reset();
}

} // namespace serve
