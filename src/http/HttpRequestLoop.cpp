#include "http/HttpRequestLoop.h"

#include <climits>

#include "http/BasicAuthorization.h"
#include "http/EIdException.h"
#include "http/ParamDecoding.h"
#include "http/RequestPath.h"
#include "platform/Sockets.h"
#include "platform/Text.h"

namespace zir::http {

namespace {

std::string Trim(std::string_view text) {
    return std::string(platform::TrimBlanksAndControls(text));
}

// A whole decimal number with an optional sign, or -1. Values beyond 32 bits stay beyond every
// body limit instead of wrapping.
std::int32_t ParseContentLength(const std::string& value) {
    std::string text = Trim(value);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return -1;
    }
    long long number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        number = std::min<long long>(number * 10 + (text[i] - '0'), INT_MAX);
    }
    return negative ? static_cast<std::int32_t>(-number) : static_cast<std::int32_t>(number);
}

void FillHeaderFields(TIdHTTPRequestInfo& request) {
    const TIdHeaderList& headers = request.HeaderLines;
    request.ContentType = headers.Values("Content-Type");
    request.ContentLength = ParseContentLength(headers.Values("Content-Length"));
    request.Host = headers.Values("Host");
}

// A body larger than the server takes: 413 with an empty body, then the connection ends.
void AnswerEntityTooLarge(TIdTCPConnection& connection, bool keepAlive) {
    TIdHTTPResponseInfo response(connection, keepAlive);
    response.SetResponseCode(413);
    response.SetCloseAfterResponse(true);
    response.SendHeaderBlock();
    connection.Disconnect();
}

// No room in the body budget: 503 with an empty body, then the connection ends. The client may
// try again; waiting here instead would let slow senders hold every worker.
void AnswerServiceUnavailable(TIdTCPConnection& connection, bool keepAlive) {
    TIdHTTPResponseInfo response(connection, keepAlive);
    response.SetResponseCode(503);
    response.SetCloseAfterResponse(true);
    response.ContentLength = 0;
    response.SendHeaderBlock();
    connection.Disconnect();
}

bool IsFormBody(const TIdHTTPRequestInfo& request) {
    return platform::AsciiLowerCase(request.ContentType) == "application/x-www-form-urlencoded";
}

// The memory a body of this size holds until the request is discarded: the body, and for a
// form as much again for its decoded parameters.
std::size_t BodyCost(const TIdHTTPRequestInfo& request, std::size_t bodyBytes,
                     const THttpLoopSettings& settings) {
    return settings.ParseParams && IsFormBody(request) ? 2 * bodyBytes : bodyBytes;
}

// OPTIONS with both lines a browser puts into its preflight.
bool IsPreflight(const TIdHTTPRequestInfo& request) {
    return request.Method == "OPTIONS" && !request.HeaderLines.Values("Origin").empty() &&
           !request.HeaderLines.Values("Access-Control-Request-Method").empty();
}

// One request after its request line. False when the connection has been closed.
bool ServeRequest(TIdPeerThread& thread, const THttpLoopSettings& settings,
                  TIdHTTPRequestInfo& request) {
    TIdTCPConnection& connection = thread.Connection();
    std::size_t headerBytes = 0;
    for (;;) {
        std::string line = connection.ReadLn();
        if (line.empty()) {
            break;
        }
        if (line.size() >= 2 && line[0] == '.' && line[1] == '.') {
            line.erase(0, 1);
        }
        if (request.HeaderLines.Count() >= settings.MaxHeaderLines) {
            throw EIdException(messages::kTooManyHeaderLines);
        }
        headerBytes += line.size();
        if (headerBytes > settings.MaxHeaderBytes) {
            throw EIdException(messages::kHeaderBlockTooLarge);
        }
        request.HeaderLines.Add(line);
    }
    FillHeaderFields(request);
    if (request.Method == "OPTIONS" && !IsPreflight(request)) {
        throw EIdException(messages::kErrorInParsingCommand);
    }

    if (request.ContentLength > 0 &&
        static_cast<std::size_t>(request.ContentLength) > settings.MaxBodySize) {
        AnswerEntityTooLarge(connection, settings.KeepAlive);
        return false;
    }
    const bool sizedBody = request.ContentLength > 0;
    const bool bodyToClose = request.Method == "POST" && request.ContentLength < 0;
    // Held until this request is discarded; an unsized body may grow to the largest one.
    RequestBodyBudget::Reservation reservation;
    if (settings.BodyBudget && (sizedBody || bodyToClose)) {
        std::size_t bytes =
            sizedBody ? static_cast<std::size_t>(request.ContentLength) : settings.MaxBodySize;
        if (!settings.BodyBudget->Reserve(BodyCost(request, bytes, settings), reservation)) {
            AnswerServiceUnavailable(connection, settings.KeepAlive);
            return false;
        }
    }
    if (sizedBody) {
        // Exactly the body's size, once: no doubling growth while it arrives.
        request.BodyText.reserve(static_cast<std::size_t>(request.ContentLength));
        connection.ReadBytes(request.BodyText, static_cast<std::size_t>(request.ContentLength));
    } else if (bodyToClose) {
        if (!connection.ReadUntilClose(request.BodyText, settings.MaxBodySize)) {
            AnswerEntityTooLarge(connection, settings.KeepAlive);
            return false;
        }
    }

    std::size_t question = request.Target.find('?');
    std::string pathPart = request.Target.substr(0, question);
    if (question != std::string::npos) {
        request.QueryString = request.Target.substr(question + 1);
    }
    if (settings.ParseParams) {
        // A form's parameters come from its body and the query string read as one text.
        request.ParamList = IsFormBody(request)
                                ? DecodeParams(request.BodyText, request.QueryString)
                                : DecodeParams(request.QueryString);
    }

    TRequestPathResult path = ComputeRequestPath(pathPart);
    request.RequestPath = path.RequestPath;
    if (!path.Host.empty() && request.Host.empty()) {
        request.Host = path.Host;
    }

    std::string authorization = request.HeaderLines.Values("Authorization");
    if (!authorization.empty()) {
        request.HasAuthorization = true;
        TBasicCredentials credentials = DecodeBasicAuthorization(authorization);
        request.Username = credentials.Username;
        request.Password = credentials.Password;
    }

    TIdHTTPResponseInfo response(connection, settings.KeepAlive);
    // A HEAD client reads no body: those bytes would start the next answer it reads.
    response.SuppressBody = request.Method == "HEAD";
    try {
        (request.Method == "OPTIONS" ? settings.OnCommandPreflight
                                     : settings.OnCommandGet)(&thread, request, response);
    } catch (const std::exception& error) {
        response.SetResponseCode(500);
        response.ResponseBody = error.what();
    } catch (...) {
        response.SetResponseCode(500);
        response.ResponseBody = "Unknown exception";
    }
    if (!response.HeaderWritten()) {
        // The body follows at once: header block and body may share a segment.
        response.SendHeaderBlock(response.WillSendBody());
    }
    if (!response.ResponseBody.empty() || response.ResponseStream) {
        response.SendBody();
    }
    if (response.CloseAfterResponse()) {
        connection.Disconnect();
        return false;
    }
    return true;
}

void Serve(TIdPeerThread& thread, const THttpLoopSettings& settings) {
    TIdTCPConnection& connection = thread.Connection();
    for (;;) {
        std::string line = connection.ReadLn();
        std::size_t lastBlank = line.rfind(' ');
        if (lastBlank == std::string::npos) {
            throw EIdException(messages::kErrorInParsingCommand);
        }
        std::string version = line.substr(lastBlank + 1);
        std::string rest = line.substr(0, lastBlank);
        std::size_t firstBlank = rest.find(' ');
        std::string method = platform::AsciiUpperCase(rest.substr(0, firstBlank));
        std::string target = firstBlank == std::string::npos ? "" : rest.substr(firstBlank + 1);

        const bool served = method == "OPTIONS"
                                ? static_cast<bool>(settings.OnCommandPreflight)
                                : (method == "GET" || method == "POST" || method == "HEAD") &&
                                      settings.OnCommandGet;
        if (!served) {
            if (settings.OnCommandOther) {
                settings.OnCommandOther(&thread, method, target, version);
            }
            continue;
        }

        TIdHTTPRequestInfo request;
        request.RequestLine = std::move(line);
        request.PeerAddress = connection.PeerIP();
        request.Method = std::move(method);
        request.ProtocolVersion = std::move(version);
        request.Target = std::move(target);
        if (!ServeRequest(thread, settings, request)) {
            return;
        }
    }
}

} // namespace

void RunHttpRequestLoop(TIdPeerThread& thread, const THttpLoopSettings& settings) {
    TIdTCPConnection& connection = thread.Connection();
    try {
        Serve(thread, settings);
    } catch (const EIdClosedSocket&) {
        connection.Disconnect();
    } catch (const EIdSocketError& error) {
        connection.Disconnect();
        if (platform::ClassifySocketError(error.LastError()) !=
            platform::SocketErrorKind::ConnectionReset) {
            throw;
        }
    } catch (...) {
        connection.Disconnect();
        throw;
    }
}

} // namespace zir::http
