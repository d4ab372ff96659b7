#pragma once

// The exact heads of GET /events: the stream's, and the refusal beyond the last free place.

#include <string>

namespace zir::test {

inline const std::string kEventStreamHead = "HTTP/1.1 200 OK\r\n"
                                            "Connection: close\r\n"
                                            "Content-Type: text/event-stream\r\n"
                                            "Cache-Control: no-cache\r\n"
                                            "Access-Control-Allow-Origin:*\r\n"
                                            "Access-Control-Allow-Headers:*\r\n"
                                            "Access-Control-Allow-Method:*\r\n"
                                            "Server: Indy/9.00.10\r\n"
                                            "\r\n";

inline const std::string kEventStreamRefused = "HTTP/1.1 503 Service Unavailable\r\n"
                                               "Connection: close\r\n"
                                               "Content-Type: text/html\r\n"
                                               "Content-Length: 0\r\n"
                                               "Access-Control-Allow-Origin:*\r\n"
                                               "Access-Control-Allow-Headers:*\r\n"
                                               "Access-Control-Allow-Method:*\r\n"
                                               "Server: Indy/9.00.10\r\n"
                                               "\r\n";

} // namespace zir::test
