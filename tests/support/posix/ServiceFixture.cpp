#include "ServiceFixture.h"

#include <csignal>
#include <stdexcept>
#include <thread>

namespace zir::test {

ZirService::ZirService(const std::string& cardFileText, ServiceSettings settings, bool waitForStart)
    : Port(FreeLoopbackPort()), CardFile(Dir.File("card.txt")), ConfigFile(Dir.File("zir.INI")) {
    WriteCard(cardFileText);
    // A port found free may still be taken before the service binds it; then it starts again
    // on another one.
    for (int attempt = 1;; ++attempt) {
        WriteSettings(settings, Port);
        Process = std::make_unique<ServiceProcess>(
            ZirPath(), std::vector<std::string>{"--simulate=" + CardFile, "--config", ConfigFile},
            Dir.Path());
        if (!waitForStart)
            return;
        auto line = Process->WaitForLine("SERVER START");
        const std::string success =
            "==SERVER START SUCCESS --> [127.0.0.1:" + std::to_string(Port) + "]";
        if (line && Process->Lines()[*line] == success) {
            SeenLines = *line + 1;
            return;
        }
        if (!line || attempt == 3)
            throw std::runtime_error(
                "the service did not start: " + (line ? Process->Lines()[*line] : "no start line") +
                "; " + Process->Stderr());
        Process.reset();
        Port = FreeLoopbackPort();
    }
}

void ZirService::WriteSettings(ServiceSettings settings, int port) {
    WriteFileBytes(ConfigFile, "WebPort=" + std::to_string(port) +
                                   "\r\nWebType=" + std::to_string(settings.WebType) +
                                   "\r\nWebCache=" + std::to_string(settings.WebCache) +
                                   "\r\nWebSound=" + std::to_string(settings.WebSound) + "\r\n" +
                                   (settings.WebOrigins.empty()
                                        ? std::string()
                                        : "WebOrigins=" + settings.WebOrigins + "\r\n") +
                                   settings.ExtraLines);
}

void ZirService::WriteCard(const std::string& cardFileText) {
    // The simulator notices a new card by size or modification time; give the clock a tick.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    WriteFileBytes(CardFile, cardFileText);
}

void ZirService::Reload(ServiceSettings settings) {
    WriteSettings(settings, Port);
    auto count = [this] {
        size_t n = 0, at = 0;
        std::string err = Process->Stderr();
        while ((at = err.find("settings reloaded", at)) != std::string::npos) {
            ++n;
            ++at;
        }
        return n;
    };
    size_t before = count();
    Process->Signal(SIGHUP);
    for (int i = 0; i < 500 && count() == before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (count() == before)
        throw std::runtime_error("the service did not reload its settings");
}

RawResponse ZirService::Get(const std::string& target) {
    RawHttpClient client(Port);
    client.Send(GetRequest(target));
    auto response = client.ReadResponse();
    if (!response)
        throw std::runtime_error("no answer to " + target);
    return *response;
}

bool ZirService::WaitForStderr(const std::string& text) {
    for (int i = 0; i < 500; ++i) {
        if (Process->Stderr().find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::optional<std::string> ZirService::NextLogLine(const std::string& text) {
    auto index = Process->WaitForLine(text, SeenLines);
    if (!index)
        return std::nullopt;
    SeenLines = *index + 1;
    return Process->Lines()[*index];
}

std::vector<std::string> ZirService::LogLinesFrom(size_t from) const {
    auto lines = Process->Lines();
    return std::vector<std::string>(lines.begin() + static_cast<long>(std::min(from, lines.size())),
                                    lines.end());
}

} // namespace zir::test
