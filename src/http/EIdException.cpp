#include "http/EIdException.h"

#include "platform/Sockets.h"

namespace zir::http {

EIdCouldNotBindSocket::EIdCouldNotBindSocket() : EIdException(messages::kCouldNotBind) {}

EIdConnClosedGracefully::EIdConnClosedGracefully()
    : EIdException(messages::kConnClosedGracefully) {}

EIdSocketError::EIdSocketError(int error, const std::string& description)
    : EIdException("Socket Error # " + std::to_string(error) + "\r\n" + description),
      lastError_(error) {}

EIdClosedSocket::EIdClosedSocket() : EIdException(messages::kClosedSocket) {}

void RaiseSocketError(int error) {
    throw EIdSocketError(error, platform::SocketErrorText(error));
}

} // namespace zir::http
