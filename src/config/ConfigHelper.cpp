#include "config/ConfigHelper.h"

#include "platform/AtomicFileWrite.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

namespace zir::config {

namespace {

// Written only by the UI thread, read by request threads at any time: each field is one whole
// 32-bit value, so a reader sees either the old or the new value of a field.
struct TSharedConfig {
    std::atomic<int32_t> WebPort{0};
    std::atomic<int32_t> WebType{0};
    std::atomic<int32_t> WebCache{0};
    std::atomic<int32_t> WebSound{0};
};

TSharedConfig shared;
std::mutex originsMutex;
std::shared_ptr<const TWebOrigins> origins = std::make_shared<const TWebOrigins>();
std::mutex pathMutex;
std::string overridePath;
std::atomic<TConfigHelper::TLoadResult> lastLoad{TConfigHelper::TLoadResult::Read};
std::mutex unknownKeysMutex;
std::vector<std::string> lastUnknownKeys;

void SetLastUnknownKeys(std::vector<std::string> keys) {
    std::lock_guard lock(unknownKeysMutex);
    lastUnknownKeys = std::move(keys);
}

constexpr int32_t kDefaultPort = 80;
constexpr int32_t kDefaultType = 0;
constexpr int32_t kDefaultCache = 1;
constexpr int32_t kDefaultSound = 1;

struct TKey {
    const char* Name;
    int32_t TConfigRec::*Field;
    int32_t Default;
};

// The file's keys in the order they are loaded and written.
const TKey kKeys[] = {
    {"WebPort", &TConfigRec::WebPort, kDefaultPort},
    {"WebType", &TConfigRec::WebType, kDefaultType},
    {"WebCache", &TConfigRec::WebCache, kDefaultCache},
    {"WebSound", &TConfigRec::WebSound, kDefaultSound},
};

void Store(const TConfigRec& rec) {
    shared.WebPort.store(rec.WebPort);
    shared.WebType.store(rec.WebType);
    shared.WebCache.store(rec.WebCache);
    shared.WebSound.store(rec.WebSound);
}

// A line ends at CR, LF or CR LF.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The value of the first line whose text before its first "=" is name (ASCII case ignored).
std::optional<std::string_view> FindValue(const std::vector<std::string_view>& lines,
                                          std::string_view name) {
    for (std::string_view line : lines) {
        size_t eq = line.find('=');
        if (eq != std::string_view::npos &&
            platform::EqualsIgnoringAsciiCase(line.substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return std::nullopt;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The rules while the file cannot be read: no origin at all, the reason in every refusal.
void RefuseEveryOrigin() {
    TWebOrigins rules;
    rules.AnyOrigin = false;
    rules.Error = "the settings file could not be read";
    auto shared = std::make_shared<const TWebOrigins>(std::move(rules));
    std::lock_guard lock(originsMutex);
    origins = std::move(shared);
}

std::string ReadSettingsFile(const std::string& path) {
    std::ifstream in(platform::PathFromUtf8(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open file \"" + path + "\". " + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw std::runtime_error("Cannot read file \"" + path + "\"");
    return bytes;
}

} // namespace

bool TryParseConfigInteger(std::string_view text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false; // no digits
    // The magnitude may reach 2^31 for the most negative value; anything beyond is out of range.
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        int digit = base == 16 ? HexDigit(text[i])
                               : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (magnitude > limit)
            return false;
    }
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                     : static_cast<int32_t>(magnitude);
    return true;
}

std::string InvalidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message.append(text);
    message.append("' is not a valid integer value");
    return message;
}

TConfigRec TConfigHelper::GetConfig() {
    return TConfigRec{shared.WebPort.load(), shared.WebType.load(), shared.WebCache.load(),
                      shared.WebSound.load()};
}

void TConfigHelper::SetWebPort(int32_t value) {
    shared.WebPort.store(value);
}
void TConfigHelper::SetWebType(int32_t value) {
    shared.WebType.store(value);
}
void TConfigHelper::SetWebCache(int32_t value) {
    shared.WebCache.store(value);
}
void TConfigHelper::SetWebSound(int32_t value) {
    shared.WebSound.store(value);
}

std::string ApplyConfigText(std::string_view text, TConfigRec& rec) {
    const std::vector<std::string_view> lines = SplitLines(text);
    // Key by key; an error stops the load, so the keys before it keep their new values and the
    // failing one and those after it keep what they held.
    for (const TKey& key : kKeys) {
        const std::optional<std::string_view> value = FindValue(lines, key.Name);
        if (!value || value->empty()) {
            rec.*key.Field = key.Default;
            continue;
        }
        if (!TryParseConfigInteger(*value, rec.*key.Field))
            return InvalidIntegerMessage(*value);
    }
    return {};
}

namespace {

bool IsWebOriginsKey(std::string_view key) {
    return platform::EqualsIgnoringAsciiCase(platform::TrimBlanksAndControls(key), "WebOrigins");
}

} // namespace

std::string WebOriginsValue(std::string_view text) {
    for (std::string_view line : SplitLines(text)) {
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos && IsWebOriginsKey(line.substr(0, eq)))
            return std::string(line.substr(eq + 1));
    }
    return "";
}

std::vector<std::string> UnknownConfigKeys(std::string_view text) {
    std::vector<std::string> unknown;
    for (std::string_view line : SplitLines(text)) {
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos || platform::TrimBlanksAndControls(line).starts_with(';'))
            continue;
        const std::string_view key = line.substr(0, eq);
        bool known = IsWebOriginsKey(key);
        for (const TKey& k : kKeys)
            known = known || platform::EqualsIgnoringAsciiCase(key, k.Name);
        if (!known)
            unknown.emplace_back(key);
    }
    return unknown;
}

std::string ConfigFileText(const TConfigRec& rec, std::string_view origins) {
    std::string text;
    for (const TKey& key : kKeys)
        text += std::string(key.Name) + "=" + std::to_string(rec.*key.Field) + "\r\n";
    if (!origins.empty())
        text += "WebOrigins=" + std::string(origins) + "\r\n";
    return text;
}

std::string TConfigHelper::GetWebOrigins() {
    return WebOriginRules()->Text;
}

void TConfigHelper::SetWebOrigins(std::string_view text) {
    auto shared = std::make_shared<const TWebOrigins>(ParseWebOrigins(text));
    std::lock_guard lock(originsMutex);
    origins = std::move(shared);
}

std::shared_ptr<const TWebOrigins> TConfigHelper::WebOriginRules() {
    std::lock_guard lock(originsMutex);
    return origins;
}

TConfigLoadResult TConfigHelper::LoadConfig() {
    const std::string path = ConfigFilePath();
    std::error_code ec;
    const std::filesystem::file_status status =
        std::filesystem::status(platform::PathFromUtf8(path), ec);
    // Like a missing file, a folder or a dangling link at the path means "no settings yet"; a
    // path that cannot even be looked at (a folder without access) may hide a file.
    const bool unknown = ec && status.type() != std::filesystem::file_type::not_found;
    if (!unknown && status.type() != std::filesystem::file_type::regular) {
        Store(TConfigRec{kDefaultPort, kDefaultType, kDefaultCache, kDefaultSound});
        SetWebOrigins("");
        SetLastUnknownKeys({});
        lastLoad = TLoadResult::Read;
        return {};
    }
    std::string error;
    TLoadResult result = TLoadResult::Read;
    SetLastUnknownKeys({});
    try {
        if (unknown)
            throw std::runtime_error("Cannot open file \"" + path + "\". " + ec.message());
        const std::string text = ReadSettingsFile(path);
        SetLastUnknownKeys(UnknownConfigKeys(text));
        TConfigRec rec = GetConfig();
        error = ApplyConfigText(text, rec);
        Store(rec);
        SetWebOrigins(WebOriginsValue(text));
        if (!error.empty()) {
            result = TLoadResult::BadValue;
        } else if (!WebOriginRules()->Error.empty()) {
            error = WebOriginRules()->Error;
            result = TLoadResult::BadOrigins;
        }
    } catch (const std::exception& e) {
        error = e.what();
        result = TLoadResult::Unreadable;
        RefuseEveryOrigin();
    }
    lastLoad = result;
    if (!error.empty())
        return {"系统参数加载失败，请核查。[" + error + "]"};
    return {};
}

TConfigHelper::TLoadResult TConfigHelper::LastLoad() {
    return lastLoad.load();
}

std::vector<std::string> TConfigHelper::LastUnknownKeys() {
    std::lock_guard lock(unknownKeysMutex);
    return lastUnknownKeys;
}

void TConfigHelper::SaveConfig() {
    // Written beside the old file and renamed over it: a save cut short leaves the old settings.
    platform::AtomicFileWrite(ConfigFilePath(), ConfigFileText(GetConfig(), GetWebOrigins()));
}

std::string TConfigHelper::ConfigFilePath() {
    {
        std::lock_guard lock(pathMutex);
        if (!overridePath.empty())
            return overridePath;
    }
    return platform::ProgramPathWithExtension(platform::ExecutablePath(), ".INI");
}

void TConfigHelper::SetConfigFilePath(std::string path) {
    std::lock_guard lock(pathMutex);
    overridePath = std::move(path);
}

} // namespace zir::config
