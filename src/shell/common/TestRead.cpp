#include "shell/common/TestRead.h"

#include "core/CardLock.h"
#include "core/TIdCardRec.h"
#include "platform/SharedFileRead.h"
#include "shell/common/TestPageLines.h"

#include <exception>

namespace zir::shell {

TIdCardTestRead RunIdCardTestRead(core::TCardOperations& cards) {
    TIdCardTestRead page;
    core::TIdCardRec rec;
    std::string photoProblem;
    {
        auto lock = core::LockCardOperation();
        page.Succeeded = cards.ReadFull(lock, rec);
        // Taken before the lock goes: the next read may write zp.bmp for another card.
        if (page.Succeeded) {
            try {
                page.PhotoBitmap = platform::ReadWholeFileShared(rec.PhotoPath);
                photoProblem = PhotoBitmapProblem(page.PhotoBitmap);
            } catch (const std::exception& e) {
                photoProblem = e.what();
            }
        }
    }
    if (!page.Succeeded) {
        page.Message = rec.ErrorMsg;
        return page;
    }
    page.Lines = IdCardTestLines(rec);
    // A file that cannot be loaded says why itself; one that loads but was not decoded by
    // this read belongs to an earlier card.
    if (photoProblem.empty() && rec.PhotoBase64 == core::kNoPhotoBase64)
        photoProblem = kNoPhotoDecodedReason;
    if (!photoProblem.empty()) {
        page.PhotoBitmap.clear();
        page.Message = PhotoLoadFailedMessage(photoProblem);
        return page;
    }
    page.ShowPhoto = true;
    return page;
}

TUidTestRead RunUidTestRead(core::TCardOperations& cards) {
    TUidTestRead page;
    core::TIdCardRec rec;
    {
        auto lock = core::LockCardOperation();
        page.Succeeded = cards.ReadUid(lock, rec);
    }
    page.Lines = UidTestLines(page.Succeeded, rec);
    return page;
}

} // namespace zir::shell
