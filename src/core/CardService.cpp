#include "core/CardService.h"

#include "config/ConfigHelper.h"
#include "core/CardReadDocument.h"
#include "core/CardRequest.h"
#include "core/LogFormat.h"
#include "core/OriginCheck.h"
#include "core/PreflightAnswer.h"
#include "core/ServiceLog.h"
#include "core/ServiceStatus.h"
#include "http/EIdException.h"

#include <string>

namespace zir::core {

CardService::CardService() {
    EventStream.ReadDocument = [] { return ReadCardDocument(CardReadKind::Full); };
    httpServer.KeepAlive = true;
    httpServer.OnCommandGet = [this](http::TIdPeerThread* thread, http::TIdHTTPRequestInfo& request,
                                     http::TIdHTTPResponseInfo& response) {
        httpServerCommandGet(thread, request, response);
    };
    httpServer.OnCommandPreflight = [](http::TIdPeerThread*, http::TIdHTTPRequestInfo& request,
                                       http::TIdHTTPResponseInfo& response) {
        AnswerPreflight(request, response);
    };
    // A connection the listener could not serve (no memory, no thread) is closed; the log says
    // why, as a failed stop does.
    httpServer.OnListenException = [](const std::string& message) {
        LogServiceLine("==SERVER ACCEPT FAIL..." + message);
    };
}

bool CardService::btnStartServerClick() {
    if (httpServer.Active())
        return true; // the start button is disabled while the service runs
    try {
        httpServer.Bindings().Clear();
        httpServer.SetDefaultPort(config::TConfigHelper::GetConfig().WebPort);
        http::TIdSocketHandle& binding = httpServer.Bindings().Add();
        binding.IP = "127.0.0.1";
        cardWatcher.Open();
        httpServer.SetActive(true);
        LogServiceLine(FormatLogLine("==SERVER START SUCCESS --> [%s:%s]",
                                     {binding.IP, std::to_string(httpServer.DefaultPort())}));
    } catch (...) {
        // The reason stays unsaid; the user may press start again once the port is free.
        LogServiceLine("SERVER START FAIL...");
        return false;
    }
    return true;
}

bool CardService::btnStopServerClick() {
    // Event streams end at once instead of holding the stop up until its time-out.
    cardWatcher.Close();
    try {
        httpServer.SetActive(false);
    } catch (const http::EIdException& e) {
        cardWatcher.Open(); // still running: new streams are welcome again
        LogServiceLine(std::string("==SERVER STOP FAIL...") + e.what());
        return false;
    }
    LogServiceLine("==SERVER STOP SUCCESS...");
    return true;
}

int32_t CardService::DefaultPort() const {
    return httpServer.DefaultPort();
}

void CardService::httpServerCommandGet(http::TIdPeerThread* AThread,
                                       http::TIdHTTPRequestInfo& ARequestInfo,
                                       http::TIdHTTPResponseInfo& AResponseInfo) {
    // Before the origin rules: the icon carries no card data and never touches the reader.
    if (ARequestInfo.RequestPath == "/favicon.ico")
        return;
    const TOriginDecision origin = DecideOrigin(ARequestInfo);
    if (!origin.Allowed) {
        LogServiceLine(origin.LogLine);
        AnswerRefused(AResponseInfo);
        return;
    }
    if (IsServiceStatusRequest(ARequestInfo)) {
        AnswerServiceStatus(AResponseInfo, origin);
        return;
    }
    if (IsCardEventStreamRequest(ARequestInfo)) {
        ServeCardEventStream(*AThread, ARequestInfo, AResponseInfo, cardWatcher, EventStream,
                             origin);
        return;
    }

    const std::string type = RequestType(ARequestInfo.ParamList);
    LogServiceLine(
        FormatLogLine("##REQUEST --> [URI: %s; TYPE: %s]", {ARequestInfo.RequestPath, type}));

    std::string body = ReadCardDocument(type == "UID" ? CardReadKind::Uid : CardReadKind::Full);
    AResponseInfo.ContentType = "application/json";
    AResponseInfo.ContentEncoding = "utf-8";
    AddAccessControlHeaders(AResponseInfo, origin);
    if (origin.NoStore)
        AResponseInfo.CustomHeaders.Add("Cache-Control: no-store");
    AResponseInfo.ResponseBody = std::move(body);
}

} // namespace zir::core
