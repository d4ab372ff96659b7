#include "core/EventStreamText.h"

namespace zir::core {

std::string EventStreamEvent(std::string_view name, std::string_view data) {
    std::string text;
    text.reserve(name.size() + data.size() + 17);
    text += "event: ";
    text += name;
    text += "\n";
    for (;;) {
        // CR LF, CR and LF all end a line in an event stream.
        std::size_t end = data.find_first_of("\r\n");
        text += "data: ";
        text += data.substr(0, end);
        text += "\n";
        if (end == std::string_view::npos)
            break;
        std::size_t next = end + 1;
        if (data[end] == '\r' && next < data.size() && data[next] == '\n')
            ++next;
        data.remove_prefix(next);
    }
    text += "\n";
    return text;
}

} // namespace zir::core
