// http_server.h: the HTTP side of `climadesk serve`, on cpp-httplib.
//
// A fixed table of GET pages, each a content type and a function that makes the
// body afresh for every request (on the server's own threads, so it must be
// safe to call from any thread). Any other path is 404, any other method 405.
// startHttp binds and starts serving in the background; stopHttp ends it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace serve {

struct Page {
    std::string path;          // "/metrics"
    std::string contentType;   // "text/plain; version=0.0.4; charset=utf-8"
    std::function<std::string()> body;
};

// Binds `address` (dotted IPv4) and `port` (0: any free one) and serves `pages`.
// The port bound, or -1 when the address cannot be bound (a port in use, an
// address of no interface of this machine).
int startHttp(const std::string& address, int port, const std::vector<Page>& pages);
void stopHttp();

} // namespace serve
