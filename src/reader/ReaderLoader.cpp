#include "reader/ReaderLoader.h"

#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"

namespace zir::reader {

namespace {

template <typename Function>
void Bind(const platform::DynamicLibrary& library, const char* name, Function& slot,
          std::string& missing) {
    slot = reinterpret_cast<Function>(library.Symbol(name));
    if (slot == nullptr)
        missing += missing.empty() ? name : std::string("、") + name;
}

void AddMissing(std::string& all, const std::string& text) {
    all += all.empty() ? text : "；" + text;
}

// Loads one library; a missing file or function becomes one line of the Missing text.
platform::DynamicLibrary LoadOne(const std::string& path, const char* what, std::string& missing) {
    std::string error;
    auto library = platform::DynamicLibrary::Load(path, error);
    if (!library.IsLoaded())
        AddMissing(missing, std::string(what) + "加载失败：" + path + "（" + error + "）");
    return library;
}

} // namespace

std::string ReaderLibraryFileName() {
    return platform::DynamicLibraryFileName("SDTAPI");
}

std::string DecoderLibraryFileName() {
    return platform::DynamicLibraryFileName("DLL_File");
}

TReaderApi LoadReaderLibraries(const std::string& folder) {
    TReaderApi api;
    std::string readerPath = folder + platform::PathSeparator() + ReaderLibraryFileName();
    std::string decoderPath = folder + platform::PathSeparator() + DecoderLibraryFileName();

    auto reader = LoadOne(readerPath, "读卡库", api.Missing);
    if (reader.IsLoaded()) {
        std::string functions;
        Bind(reader, "SDT_GetSAMIDToStr", api.SDT_GetSAMIDToStr, functions);
        Bind(reader, "SDT_SelectIDCard", api.SDT_SelectIDCard, functions);
        Bind(reader, "GetNewCardType", api.GetNewCardType, functions);
        Bind(reader, "GetNewPhotoRaw", api.GetNewPhotoRaw, functions);
        Bind(reader, "GetNewPeopleName", api.GetNewPeopleName, functions);
        Bind(reader, "GetNewPeopleSex", api.GetNewPeopleSex, functions);
        Bind(reader, "GetNewPeopleNation", api.GetNewPeopleNation, functions);
        Bind(reader, "GetNewPeopleBirthday", api.GetNewPeopleBirthday, functions);
        Bind(reader, "GetNewPeopleAddress", api.GetNewPeopleAddress, functions);
        Bind(reader, "GetNewPeopleIDCode", api.GetNewPeopleIDCode, functions);
        Bind(reader, "GetNewDepartment", api.GetNewDepartment, functions);
        Bind(reader, "GetNewStartDate", api.GetNewStartDate, functions);
        Bind(reader, "GetNewEndDate", api.GetNewEndDate, functions);
        Bind(reader, "GetNewPassNum", api.GetNewPassNum, functions);
        Bind(reader, "GetNewPeopleNameEn", api.GetNewPeopleNameEn, functions);
        Bind(reader, "GetNewPeopleCountry", api.GetNewPeopleCountry, functions);
        Bind(reader, "GetNewPeopleCountryCode", api.GetNewPeopleCountryCode, functions);
        Bind(reader, "readCardGetUID", api.readCardGetUID, functions);
        Bind(reader, "readCardGetCardType", api.readCardGetCardType, functions);
        Bind(reader, "readCardBeep", api.readCardBeep, functions);
        if (!functions.empty())
            AddMissing(api.Missing, "读卡库缺少函数：" + functions + "（" + readerPath + "）");
    }

    auto decoder = LoadOne(decoderPath, "照片解码库", api.Missing);
    if (decoder.IsLoaded()) {
        std::string functions;
        Bind(decoder, "unpack", api.unpack, functions);
        if (!functions.empty())
            AddMissing(api.Missing, "照片解码库缺少函数：" + functions + "（" + decoderPath + "）");
    }
    return api;
}

} // namespace zir::reader
