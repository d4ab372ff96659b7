#include "core/BornResponseUnit.h"

#include "core/JsonText.h"

#include <utility>

namespace zir::core {

// The record's texts are UTF-8 already (converted where they left the reader), so assembling is
// all that is left; values are escaped so that no card text can break the document.

std::string TBornResponse::BuildResponse(const TIdCardRec& rec, int32_t webType) {
    if (webType == 1)
        return BuildResultContentJson(std::move(rec));
    if (webType != 0)
        return BuildIdCardJson(std::move(rec));
    switch (rec.CardTypeCode) {
    case 2:
        return BuildResidencePermitJson(std::move(rec));
    case 3:
    case 4:
        return BuildPermanentResidenceJson(std::move(rec));
    default:
        return BuildIdCardJson(std::move(rec));
    }
}

std::string TBornResponse::BuildIdCardJson(const TIdCardRec& rec) {
    return JsonObject({{"statusCode", "200"},
                       {"cardType", rec.CardType},
                       {"name", rec.Name},
                       {"sexDesc", rec.SexDesc},
                       {"nationDesc", rec.NationDesc},
                       {"birthday", rec.Birthday},
                       {"address", rec.Address},
                       {"IdNum", rec.IdNum},
                       {"company", rec.Company},
                       {"beginDate", rec.BeginDate},
                       {"endDate", rec.EndDate},
                       {"photoBase64", rec.PhotoBase64},
                       {"uid", rec.Uid}});
}

std::string TBornResponse::BuildResidencePermitJson(const TIdCardRec& rec) {
    return JsonObject({{"statusCode", "200"},
                       {"cardType", rec.CardType},
                       {"name", rec.Name},
                       {"sexDesc", rec.SexDesc},
                       {"birthday", rec.Birthday},
                       {"address", rec.Address},
                       {"IdNum", rec.IdNum},
                       {"passNum", rec.PassNum},
                       {"company", rec.Company},
                       {"beginDate", rec.BeginDate},
                       {"endDate", rec.EndDate},
                       {"photoBase64", rec.PhotoBase64},
                       {"uid", rec.Uid}});
}

std::string TBornResponse::BuildPermanentResidenceJson(const TIdCardRec& rec) {
    return JsonObject({{"statusCode", "200"},
                       {"cardType", rec.CardType},
                       {"name", rec.Name},
                       {"ename", rec.EName},
                       {"sexDesc", rec.SexDesc},
                       {"country", rec.Country},
                       {"countryCode", rec.CountryCode},
                       {"birthday", rec.Birthday},
                       {"IdNum", rec.IdNum},
                       {"company", rec.Company},
                       {"beginDate", rec.BeginDate},
                       {"endDate", rec.EndDate},
                       {"photoBase64", rec.PhotoBase64},
                       {"uid", rec.Uid}});
}

std::string TBornResponse::BuildResultContentJson(const TIdCardRec& rec) {
    std::string out;
    // The photo's size and room for the rest: the nested object outgrows what each member list
    // reserves by its closing braces, and a second photo-sized allocation per answer shows.
    out.reserve(rec.PhotoBase64.size() + 1024);
    out += '{';
    AppendJsonMembers(out, {{"resultFlag", "0"}});
    out += ",\"resultContent\":{";
    AppendJsonMembers(out, {{"chName", rec.Name},
                            {"gender", rec.SexDesc},
                            {"nation", rec.NationDesc},
                            {"birthDate", rec.Birthday},
                            {"address", rec.Address},
                            {"cardNo", rec.IdNum},
                            {"issue", rec.Company},
                            {"effDate", rec.BeginDate},
                            {"expDate", rec.EndDate},
                            {"identityPic", rec.PhotoBase64}});
    out += "}}";
    return out;
}

} // namespace zir::core
