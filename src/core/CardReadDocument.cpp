#include "core/CardReadDocument.h"

#include "core/BornResponseUnit.h"
#include "core/CardLock.h"
#include "core/CardRequest.h"
#include "core/LogFormat.h"
#include "core/ReadIdCardCached.h"
#include "core/ServiceLog.h"

namespace zir::core {

std::string ReadCardDocument(TCardOperations& cards, CardReadKind kind,
                             const TRequestSettings& settings) {
    TIdCardRec rec;
    bool ok;
    {
        // The reader, the photo file and the cache; documents and log lines stay outside.
        auto lock = LockCardOperation();
        ok = kind == CardReadKind::Uid ? cards.ReadUid(lock, rec)
                                       : ReadIdCardCached(cards, lock, rec, settings.CacheOn);
    }
    if (!ok) {
        LogServiceLine(FormatLogLine("500:EXCEPTION --> %s", {rec.ErrorMsg}));
        LogServiceLine(FormatLogLine("##OPERATE FAIL --> %s", {rec.ErrorMsg}));
        return FailureDocument();
    }
    if (kind == CardReadKind::Uid) {
        LogServiceLine(FormatLogLine("##READ SUCCESS --> %s : %s", {rec.UidType, rec.Uid}));
        return UidDocument(rec);
    }
    std::string body = TBornResponse::BuildResponse(rec, settings.WebType);
    LogServiceLine(FormatLogLine(
        rec.FromCache ? "##DECODE SUCCESS[CACHE] --> %s" : "##DECODE SUCCESS --> %s", {rec.Name}));
    return body;
}

} // namespace zir::core
