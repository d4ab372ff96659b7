#include "core/CardService.h"

#include "config/ConfigHelper.h"
#include "core/BornResponseUnit.h"
#include "core/CardLock.h"
#include "core/CardRequest.h"
#include "core/ICH.h"
#include "core/OriginCheck.h"
#include "core/ServiceLog.h"
#include "http/EIdException.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace zir::core {

namespace {

// The log patterns are printf-style with %s only; values are inserted as they are.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string line;
    auto next = values.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != values.end()) {
            line += *next++;
            ++i;
        } else {
            line += pattern[i];
        }
    }
    return line;
}

} // namespace

CardService::CardService() {
    httpServer.KeepAlive = true;
    httpServer.OnCommandGet = [this](http::TIdPeerThread* thread, http::TIdHTTPRequestInfo& request,
                                     http::TIdHTTPResponseInfo& response) {
        httpServerCommandGet(thread, request, response);
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
        httpServer.SetActive(true);
        LogServiceLine(Format("==SERVER START SUCCESS --> [%s:%s]",
                              {binding.IP, std::to_string(httpServer.DefaultPort())}));
    } catch (...) {
        // The reason stays unsaid; the user may press start again once the port is free.
        LogServiceLine("SERVER START FAIL...");
        return false;
    }
    return true;
}

bool CardService::btnStopServerClick() {
    try {
        httpServer.SetActive(false);
    } catch (const http::EIdException& e) {
        LogServiceLine(std::string("==SERVER STOP FAIL...") + e.what());
        return false;
    }
    LogServiceLine("==SERVER STOP SUCCESS...");
    return true;
}

int32_t CardService::DefaultPort() const {
    return httpServer.DefaultPort();
}

void CardService::httpServerCommandGet(http::TIdPeerThread*, http::TIdHTTPRequestInfo& ARequestInfo,
                                       http::TIdHTTPResponseInfo& AResponseInfo) {
    TIdCardRec rec;
    // Before the origin rules: the icon carries no card data and never touches the reader.
    if (ARequestInfo.RequestPath == "/favicon.ico")
        return;
    const TOriginDecision origin = DecideOrigin(ARequestInfo);
    if (!origin.Allowed) {
        LogServiceLine(origin.LogLine);
        AnswerRefused(AResponseInfo);
        return;
    }

    const std::string type = RequestType(ARequestInfo.ParamList);
    const bool uidRequest = type == "UID";
    LogServiceLine(Format("##REQUEST --> [URI: %s; TYPE: %s]", {ARequestInfo.RequestPath, type}));

    bool ok;
    {
        // The reader, the photo file and the cache; documents and log lines stay outside.
        auto lock = LockCardOperation();
        ok = uidRequest ? ReadCardUid(rec) : ReadIdCardCached(rec);
    }
    if (!ok)
        LogServiceLine(Format("500:EXCEPTION --> %s", {rec.ErrorMsg}));

    AResponseInfo.ContentType = "application/json";
    AResponseInfo.ContentEncoding = "utf-8";
    AddAccessControlHeaders(AResponseInfo, origin);

    std::string body;
    if (!ok) {
        body = FailureDocument();
        LogServiceLine(Format("##OPERATE FAIL --> %s", {rec.ErrorMsg}));
    } else if (uidRequest) {
        body = UidDocument(rec);
        LogServiceLine(Format("##READ SUCCESS --> %s : %s", {rec.UidType, rec.Uid}));
    } else {
        body = TBornResponse::BuildResponse(rec);
        LogServiceLine(
            Format(rec.FromCache ? "##DECODE SUCCESS[CACHE] --> %s" : "##DECODE SUCCESS --> %s",
                   {rec.Name}));
    }
    AResponseInfo.ResponseBody = std::move(body);
}

} // namespace zir::core
