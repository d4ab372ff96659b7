#pragma once

// The real zir service with the simulated reader, started on a free loopback port with its own
// settings and card file in a temporary folder (its working folder, where zp.bmp lands).

#include "ProgramRun.h"
#include "RawHttpClient.h"
#include "ServiceProcess.h"

#include <memory>
#include <string>
#include <vector>

namespace zir::test {

struct ServiceSettings {
    int WebType = 0;
    int WebCache = 1;
    int WebSound = 1;
    std::string WebOrigins = {}; // written as a fifth line when not empty
    std::string ExtraLines = {}; // written as they are after those (a hand-edited file)
};

class ZirService {
  public:
    explicit ZirService(const std::string& cardFileText, ServiceSettings settings = {},
                        bool waitForStart = true);

    void WriteSettings(ServiceSettings settings, int port);
    void WriteCard(const std::string& cardFileText);
    // Rewrites the settings and has the running service read them again (SIGHUP).
    void Reload(ServiceSettings settings);

    RawResponse Get(const std::string& target);

    // Waits up to five seconds for text on the service's stderr (e.g. a reload's note).
    bool WaitForStderr(const std::string& text);

    // Waits for the next log line containing text, after the lines seen so far by this helper.
    std::optional<std::string> NextLogLine(const std::string& text);
    // The log lines from index `from` on.
    std::vector<std::string> LogLinesFrom(size_t from) const;

    TempDir Dir;
    int Port;
    std::string CardFile;
    std::string ConfigFile;
    std::unique_ptr<ServiceProcess> Process;
    size_t SeenLines = 0;
};

} // namespace zir::test
