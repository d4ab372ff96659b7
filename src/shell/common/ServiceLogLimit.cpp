#include "shell/common/ServiceLogLimit.h"

namespace zir::shell {

ServiceLogLimit::ServiceLogLimit(std::size_t maxLines) : maxLines_(maxLines) {}

ServiceLogLimit::Trim ServiceLogLimit::Append(const std::vector<std::size_t>& lineLengths) {
    Trim trim;
    // A batch longer than the log itself: only its last lines are worth appending.
    if (lineLengths.size() > maxLines_)
        trim.FirstLine = lineLengths.size() - maxLines_;
    for (std::size_t i = trim.FirstLine; i < lineLengths.size(); ++i) {
        lengths_.push_back(lineLengths[i]);
        total_ += lineLengths[i];
    }
    // What is dropped now is the front of the window's text as it stands before the append.
    while (lengths_.size() > maxLines_) {
        trim.DropLength += lengths_.front();
        total_ -= lengths_.front();
        lengths_.pop_front();
    }
    return trim;
}

} // namespace zir::shell
