#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "http/TIdHeaderList.h"

namespace zir::http {

class TIdTCPConnection;

// What the handler fills for one request; SendHeaderBlock and SendBody write it to the
// connection.
class TIdHTTPResponseInfo {
  public:
    // A response that writes to connection; keepAlive gives the starting CloseAfterResponse.
    TIdHTTPResponseInfo(TIdTCPConnection& connection, bool keepAlive);

    std::int32_t ResponseCode() const { return responseCode_; }
    // Also sets ReasonPhrase from the table; 404 also sets CloseAfterResponse.
    void SetResponseCode(std::int32_t code);
    std::string ReasonPhrase = "OK";

    bool CloseAfterResponse() const { return closeAfterResponse_; }
    // Also sets Connection: "close" when true, "keep-alive" when false.
    void SetCloseAfterResponse(bool close);
    std::string Connection = "keep-alive";

    std::string ContentType = "text/html";
    std::string ContentEncoding;
    std::int32_t ContentLength = -1; // -1: not determined yet
    std::string ContentLanguage;
    std::string ContentVersion;
    std::string CacheControl;
    std::string Pragma;
    std::string Location;
    std::string Date;         // written only when set
    std::string Expires;      // written only when set
    std::string LastModified; // written only when set
    std::string Server = "Indy/9.00.10";
    TIdHeaderList CustomHeaders; // written unchanged after the standard lines

    std::string ResponseBody;
    std::optional<std::string> ResponseStream; // alternative body source, released after sending

    // A body the handler writes itself after the header block, ending with the connection: no
    // Content-Length line is sent.
    bool OpenEndedBody = false;

    bool HeaderWritten() const { return headerWritten_; }
    // A HEAD answer: the header block tells GET's length, but no body bytes are sent.
    bool SuppressBody = false;

    // Status line and header lines, sent in one piece. "Header has already been written." the
    // second time. bodyFollows: SendBody comes right after and sends bytes (WillSendBody), so
    // the system may put the block and the body's first bytes into one segment; they are still
    // two sends.
    void SendHeaderBlock(bool bodyFollows = false);
    // Whether SendBody would send any bytes now.
    bool WillSendBody() const {
        return !SuppressBody &&
               (!ResponseBody.empty() || (ResponseStream && !ResponseStream->empty()));
    }
    // The body (the header block first if it has not gone yet).
    void SendBody();

    // The reason phrase the table gives for code.
    static std::string ReasonPhraseFor(std::int32_t code);

  private:
    TIdTCPConnection& connection_;
    std::int32_t responseCode_ = 200;
    bool closeAfterResponse_ = false;
    bool headerWritten_ = false;
};

} // namespace zir::http
