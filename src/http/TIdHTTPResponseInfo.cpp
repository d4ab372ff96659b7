#include "http/TIdHTTPResponseInfo.h"

#include <algorithm>

#include "http/EIdException.h"
#include "http/TIdTCPConnection.h"

namespace zir::http {

namespace {

// Handler text may hold several lines; each becomes its own header line. Empty pieces are
// dropped: an empty line would end the header block early.
void AppendSplitLines(const std::string& text, TIdHeaderList& target) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        std::string piece = text.substr(start, end - start);
        if (!piece.empty()) {
            target.Add(piece);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
}

void AddIfSet(TIdHeaderList& lines, const char* name, const std::string& value) {
    if (!value.empty()) {
        lines.Add(std::string(name) + ": " + value);
    }
}

} // namespace

TIdHTTPResponseInfo::TIdHTTPResponseInfo(TIdTCPConnection& connection, bool keepAlive)
    : connection_(connection) {
    SetCloseAfterResponse(!keepAlive);
}

void TIdHTTPResponseInfo::SetResponseCode(std::int32_t code) {
    responseCode_ = code;
    ReasonPhrase = ReasonPhraseFor(code);
    if (code == 404) {
        SetCloseAfterResponse(true);
    }
}

void TIdHTTPResponseInfo::SetCloseAfterResponse(bool close) {
    closeAfterResponse_ = close;
    Connection = close ? "close" : "keep-alive";
}

std::string TIdHTTPResponseInfo::ReasonPhraseFor(std::int32_t code) {
    switch (code) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 202:
        return "Accepted";
    case 203:
        return "Non-authoritative Information";
    case 204:
        return "No Content";
    case 205:
        return "Reset Content";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Moved Temporarily";
    case 303:
        return "See Other";
    case 304:
        return "Not Modified";
    case 305:
        return "Use Proxy";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method not allowed";
    case 406:
        return "Not Acceptable";
    case 407:
        return "Proxy Authentication Required";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 410:
        return "Gone";
    case 411:
        return "Length Required";
    case 412:
        return "Precondition Failed";
    case 413:
        return "Request Entity To Long";
    case 414:
        return "Request-URI Too Long. 256 Chars max";
    case 415:
        return "Unsupported Media Type";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway timeout";
    case 505:
        return "HTTP version not supported";
    default:
        return "Unknown Response Code";
    }
}

void TIdHTTPResponseInfo::SendHeaderBlock(bool bodyFollows) {
    if (headerWritten_) {
        throw EIdException(messages::kHeaderAlreadyWritten);
    }
    headerWritten_ = true;

    if (ContentLength == -1 && !OpenEndedBody) {
        if (!ResponseBody.empty()) {
            ContentLength =
                static_cast<std::int32_t>(std::min<std::size_t>(ResponseBody.size(), INT32_MAX));
        } else if (ResponseStream) {
            ContentLength =
                static_cast<std::int32_t>(std::min<std::size_t>(ResponseStream->size(), INT32_MAX));
        } else {
            // Without a length a kept-alive client cannot tell where an empty answer ends.
            ContentLength = 0;
        }
    }

    TIdHeaderList lines;
    AddIfSet(lines, "Connection", Connection);
    AddIfSet(lines, "Content-Version", ContentVersion);
    AddIfSet(lines, "Content-Encoding", ContentEncoding);
    AddIfSet(lines, "Content-Language", ContentLanguage);
    AddIfSet(lines, "Content-Type", ContentType);
    if (ContentLength >= 0) {
        lines.Add("Content-Length: " + std::to_string(ContentLength));
    }
    AddIfSet(lines, "Cache-control", CacheControl);
    AddIfSet(lines, "Date", Date);
    AddIfSet(lines, "Expires", Expires);
    AddIfSet(lines, "Pragma", Pragma);
    for (const std::string& custom : CustomHeaders.Lines()) {
        AppendSplitLines(custom, lines);
    }
    if (!Server.empty()) {
        lines.SetValue("Server", Server);
    }
    if (!ContentType.empty()) {
        lines.SetValue("Content-Type", ContentType);
    }
    if (!Location.empty()) {
        lines.SetValue("Location", Location);
    }
    if (ContentLength >= 0) {
        lines.SetValue("Content-Length", std::to_string(ContentLength));
    }
    if (!LastModified.empty()) {
        lines.SetValue("Last-Modified", LastModified);
    }

    std::string block = "HTTP/1.1 " + std::to_string(responseCode_) + " " + ReasonPhrase + "\r\n";
    for (const std::string& line : lines.Lines()) {
        block += line;
        block += "\r\n";
    }
    block += "\r\n";
    connection_.OpenWriteBuffer();
    try {
        connection_.Write(block);
        connection_.CloseWriteBuffer(bodyFollows);
    } catch (...) {
        connection_.CancelWriteBuffer();
        throw;
    }
}

void TIdHTTPResponseInfo::SendBody() {
    if (!headerWritten_) {
        if (ResponseBody.empty() && !ResponseStream) {
            // The stock page becomes the body before the header block counts it.
            ResponseBody = "<HTML><BODY><B>" + std::to_string(responseCode_) + " " + ReasonPhrase +
                           "</B></BODY></HTML>\r\n";
        }
        SendHeaderBlock(WillSendBody());
    }
    if (!SuppressBody) {
        if (!ResponseBody.empty()) {
            connection_.Write(ResponseBody);
        } else if (ResponseStream) {
            std::string_view rest = *ResponseStream;
            while (!rest.empty()) {
                std::size_t piece = std::min(rest.size(), TIdTCPConnection::SendBufferSize);
                connection_.Write(rest.substr(0, piece));
                rest.remove_prefix(piece);
            }
        }
    }
    ResponseBody.clear();
    ResponseStream.reset();
}

} // namespace zir::http
