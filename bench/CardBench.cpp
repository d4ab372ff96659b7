// The card side of a request: the photo as Base64, the reader's GBK texts as UTF-8, each
// document layout, and a full read answered from the cache through the request handler with the
// simulated reader bound in this process.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/ConfigHelper.h"
#include "core/BornResponseUnit.h"
#include "core/CardService.h"
#include "core/InProcessCardOperations.h"
#include "core/PhotoEncoding.h"
#include "http/HttpRequestLoop.h"
#include "http/TIdIOHandlerMemory.h"
#include "platform/Environment.h"
#include "platform/Text.h"
#include "reader/ReaderLoader.h"
#include "reader/simulator/SimulatorContract.h"

using namespace zir;

namespace {

constexpr std::size_t kBitmapBytes = 38556; // the photo file a card read leaves behind

std::filesystem::path BenchFolder() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "zir-card-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

std::string PhotoFile() {
    const std::filesystem::path path = BenchFolder() / "zp.bmp";
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < kBitmapBytes; ++i)
        out.put(static_cast<char>((i * 131 + 7) & 0xFF));
    return path.string();
}

void BM_PhotoFileToBase64(benchmark::State& state) {
    const std::string path = PhotoFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(core::PhotoFileToBase64(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBitmapBytes));
}
BENCHMARK(BM_PhotoFileToBase64);

// The texts of one identity card as the reader hands them over.
void BM_CardTextsCp936ToUtf8(benchmark::State& state) {
    const std::string texts[] = {platform::Utf8ToCp936("张三"),
                                 platform::Utf8ToCp936("男"),
                                 platform::Utf8ToCp936("汉"),
                                 "19900101",
                                 platform::Utf8ToCp936("北京市东城区示例路1号院2号楼3单元401室"),
                                 "110101199001011234",
                                 platform::Utf8ToCp936("北京市公安局东城分局"),
                                 "20200101",
                                 platform::Utf8ToCp936("长期")};
    std::size_t bytes = 0;
    for (const std::string& text : texts)
        bytes += text.size();
    for (auto _ : state)
        for (const std::string& text : texts)
            benchmark::DoNotOptimize(platform::Cp936ToUtf8(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_CardTextsCp936ToUtf8);

core::TIdCardRec Card(int32_t typeCode) {
    core::TIdCardRec rec;
    rec.Name = "张三";
    rec.SexDesc = "男";
    rec.NationDesc = "汉";
    rec.Birthday = "19900101";
    rec.Address = "北京市东城区示例路1号院2号楼3单元401室";
    rec.IdNum = "110101199001011234";
    rec.Company = "北京市公安局东城分局";
    rec.BeginDate = "20200101";
    rec.EndDate = "长期";
    rec.PhotoBase64 = core::PhotoFileToBase64(PhotoFile());
    rec.Uid = "A1B2C3D4";
    rec.PassNum = "01";
    rec.EName = "ZHANG SAN";
    rec.Country = "CHN";
    rec.CountryCode = "156";
    rec.CardTypeCode = typeCode;
    rec.CardType = "身份证";
    return rec;
}

// WebType 0 chooses the layout by the card type: 1 identity card, 2 residence permit,
// 3 permanent residence card; WebType 1 is the result-content layout.
void BM_BuildResponse(benchmark::State& state) {
    const int32_t webType = state.range(0) < 0 ? 1 : 0;
    const int32_t typeCode = state.range(0) < 0 ? 1 : static_cast<int32_t>(state.range(0));
    const core::TIdCardRec rec = Card(typeCode);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string document = core::TBornResponse::BuildResponse(rec, webType);
        bytes += document.size();
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_BuildResponse)->Arg(1)->Arg(2)->Arg(3)->Arg(-1);

// GET / with WebCache 1 and the card already read once: the request parsed, the cache consulted
// through the simulated reader's UID, the document built and written, all in memory.
void BM_CacheHitEndToEnd(benchmark::State& state) {
    const std::filesystem::path folder = BenchFolder();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    platform::SetEnvironmentValue(reader::simulator::kCardFileVariable,
                                  std::string(ZIR_SOURCE_DIR "/examples/card.txt"));
    config::TConfigHelper::SetWebType(0);
    config::TConfigHelper::SetWebCache(1);

    core::InProcessCardOperations cards(reader::LoadReaderLibraries(ZIR_SIMULATOR_DIR));
    core::CardService service(cards);
    http::THttpLoopSettings settings;
    settings.KeepAlive = true;
    settings.OnCommandGet = [&service](http::TIdPeerThread* thread,
                                       http::TIdHTTPRequestInfo& request,
                                       http::TIdHTTPResponseInfo& response) {
        service.httpServerCommandGet(thread, request, response);
    };
    const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1:8080\r\n"
                                "Origin: http://localhost\r\nAccept: */*\r\n\r\n";
    auto serve = [&] {
        http::TIdPeerThread thread(std::make_unique<http::TIdTCPConnection>(
            std::make_unique<http::TIdIOHandlerMemory>(request)));
        try {
            http::RunHttpRequestLoop(thread, settings);
        } catch (const std::exception&) {
            // the peer's end after the request
        }
    };
    serve(); // the first read fills the cache
    for (auto _ : state)
        serve();
    state.SetItemsProcessed(state.iterations());

    platform::SetEnvironmentValue(reader::simulator::kCardFileVariable, std::nullopt);
    std::filesystem::current_path(previous);
}
BENCHMARK(BM_CacheHitEndToEnd);

} // namespace
