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

#include <exception>
#include <string>

namespace zir::core {

CardService::CardService(TCardOperations& cards)
    : cards_(cards), cardWatcher([&cards] { return PollReaderUid(cards); }) {
    // Each document of a stream is read as a request of its own would be: under the settings of
    // that moment.
    EventStream.ReadDocument = [&cards] {
        return ReadCardDocument(cards, CardReadKind::Full, TRequestSettings::Current());
    };
    httpServer.KeepAlive = true;
    httpServer.OnCommandGet = [this](http::TIdPeerThread* thread, http::TIdHTTPRequestInfo& request,
                                     http::TIdHTTPResponseInfo& response) {
        httpServerCommandGet(thread, request, response);
    };
    httpServer.OnCommandPreflight = [](http::TIdPeerThread*, http::TIdHTTPRequestInfo& request,
                                       http::TIdHTTPResponseInfo& response) {
        AnswerPreflight(request, response, *TRequestSettings::Current().OriginRules);
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
    lastStartFailure = {};
    try {
        httpServer.Bindings().Clear();
        httpServer.SetDefaultPort(config::TConfigHelper::GetConfig().WebPort);
        http::TIdSocketHandle& binding = httpServer.Bindings().Add();
        binding.IP = "127.0.0.1";
        cardWatcher.Open();
        httpServer.SetActive(true);
        LogServiceLine(FormatLogLine("==SERVER START SUCCESS --> [%s:%s]",
                                     {binding.IP, std::to_string(httpServer.DefaultPort())}));
    } catch (const http::EIdCouldNotBindSocket& e) {
        LogStartFailure(e.what(), true);
        return false;
    } catch (const std::exception& e) {
        LogStartFailure(e.what(), false);
        return false;
    } catch (...) {
        LogStartFailure("unknown error", false);
        return false;
    }
    return true;
}

void CardService::LogStartFailure(const std::string& reason, bool portTaken) {
    lastStartFailure.Failed = true;
    lastStartFailure.Address =
        "127.0.0.1:" + std::to_string(config::TConfigHelper::GetConfig().WebPort);
    lastStartFailure.PortTaken = portTaken;
    // A socket error's message has the system's text on a line of its own: one log line here.
    lastStartFailure.Reason.clear();
    for (char c : reason)
        lastStartFailure.Reason += (c == '\r' || c == '\n') ? ' ' : c;
    // The established line stays as it is, alone; the one after it says where and why, since a
    // port held by another program is the usual cause and nothing else would tell.
    LogServiceLine("SERVER START FAIL...");
    LogServiceLine("SERVER START FAIL --> [" + lastStartFailure.Address + "] " +
                   lastStartFailure.Reason);
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
    // Taken once: the whole request follows one version of the settings.
    const TRequestSettings settings = TRequestSettings::Current();
    const TOriginDecision origin = DecideOrigin(ARequestInfo, *settings.OriginRules);
    if (!origin.Allowed) {
        LogServiceLine(origin.LogLine);
        AnswerRefused(AResponseInfo);
        return;
    }
    if (IsServiceStatusRequest(ARequestInfo)) {
        AnswerServiceStatus(AResponseInfo, origin, cards_.Binding());
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

    std::string body =
        ReadCardDocument(cards_, type == "UID" ? CardReadKind::Uid : CardReadKind::Full, settings);
    AResponseInfo.ContentType = "application/json";
    AResponseInfo.ContentEncoding = "utf-8";
    AddJsonAnswerHeaders(AResponseInfo, origin);
    AResponseInfo.ResponseBody = std::move(body);
}

} // namespace zir::core
