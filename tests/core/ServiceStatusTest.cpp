#include "core/ServiceStatus.h"

#include <gtest/gtest.h>

using zir::core::ServiceStatusDocument;

TEST(ServiceStatus, TheDocumentTellsWhatIsBound) {
    const std::string version = ZIR_PROJECT_VERSION;
    zir::core::TReaderBinding api;
    EXPECT_EQ(ServiceStatusDocument(api), R"({"statusCode":"200","version":")" + version +
                                              R"(","reader":"ready","simulated":"false"})");
    // The missing file or function as a read's log line names it, escaped as JSON text.
    api.Missing = "读卡库加载失败：C:\\zir\\SDTAPI.DLL（\"126\"）";
    api.Simulated = true;
    EXPECT_EQ(
        ServiceStatusDocument(api),
        R"({"statusCode":"200","version":")" + version +
            R"(","reader":"missing","missing":"读卡库加载失败：C:\\zir\\SDTAPI.DLL（\"126\"）","simulated":"true"})");
}
