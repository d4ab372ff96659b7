#pragma once

// The service's settings: held in memory for the life of the process, loaded once at start-up
// from a key=value file beside the program, written back when changed. Four integers, and the
// optional WebOrigins list, held apart: it is text, while request threads read the integers
// without a lock.

#include "config/WebOrigins.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zir::config {

struct TConfigRec {
    int32_t WebPort = 0;
    int32_t WebType = 0;
    int32_t WebCache = 0;
    int32_t WebSound = 0;
};

// The outcome of a load: true when every value was read; else Error is the text for the user,
// "系统参数加载失败，请核查。[" and the reason "]".
struct TConfigLoadResult {
    std::string Error;
    explicit operator bool() const { return Error.empty(); }
};

class TConfigHelper {
  public:
    TConfigHelper() = delete;

    // A copy of the whole record; each field is read as one whole 32-bit value.
    static TConfigRec GetConfig();

    static void SetWebPort(int32_t value);
    static void SetWebType(int32_t value);
    static void SetWebCache(int32_t value);
    static void SetWebSound(int32_t value);

    // WebOrigins as set ("" when not set), and as requests follow it: parsed once per change,
    // the same rules shared by every request thread until the next change. The text is kept
    // even when it is no valid list, so that a save does not lose it; its rules then allow no
    // origin.
    static std::string GetWebOrigins();
    static void SetWebOrigins(std::string_view text);
    static std::shared_ptr<const TWebOrigins> WebOriginRules();

    // Fills the record from the file, or from the defaults when there is none. A bad value stops
    // the load; the result then carries its message, which the caller shows. WebOrigins is read
    // whatever the integers gave (see WebOriginsValue). A file that exists but cannot be opened
    // or read may hold a list nobody can see: every origin is then refused until a load reads
    // the file.
    static TConfigLoadResult LoadConfig();

    enum class TLoadResult {
        Read,       // read in full, or no file (the defaults)
        BadValue,   // an integer failed: it and the keys after it were not read
        BadOrigins, // the integers were read, the WebOrigins list is no list
        Unreadable, // the file exists but could not be opened or read
    };
    // How the last LoadConfig went (Read before the first). After anything but Read nothing may
    // write the file unless the user saves on purpose, or it loses what the load did not see.
    static TLoadResult LastLoad();
    // The keys of the last load's UnknownConfigKeys (none when it read no file).
    static std::vector<std::string> LastUnknownKeys();

    // Writes the four lines, and WebOrigins as a fifth when it is set; throws
    // std::runtime_error when the file cannot be written.
    static void SaveConfig();

    // The settings file: the executable's path with its extension replaced by ".INI" (on Linux
    // the path plus ".INI"), unless a path was set here (the --config option).
    static std::string ConfigFilePath();
    static void SetConfigFilePath(std::string path);
};

// The settings' integer rule, shared by the file and the settings dialog: leading spaces, an
// optional "+" or "-", then decimal digits, or hexadecimal digits after "$", "x" or "0x" (either
// case). Anything else (a trailing blank, a letter, no digits) or a value outside the 32-bit range
// gives false and leaves value unchanged.
bool TryParseConfigInteger(std::string_view text, int32_t& value);

// The settings file's text applied to rec, key by key in the order WebPort, WebType, WebCache,
// WebSound: the first line whose text before its first "=" is the key (ASCII case ignored) gives
// the value; no such line or an empty value gives the key's default. A value that fails the
// integer rule stops there: the keys before it keep their new values, it and those after it what
// rec held. Returns that value's error message, or an empty text when every key was read.
std::string ApplyConfigText(std::string_view text, TConfigRec& rec);

// WebOrigins in the settings file's text: the value of the first line whose key is WebOrigins
// once blanks and controls around it are trimmed (ASCII case ignored), "" when there is none.
// Trimmed unlike the four integer keys: the line is typed by hand, and a list lost to a blank
// would let every site in. It is read apart from the integers, so that a bad integer before it
// cannot leave a service open to every origin, nor a save drop the list.
std::string WebOriginsValue(std::string_view text);

// The keys, as written, of the lines that hold none of the five settings (a line with "=" whose
// key is not one of the four integer keys nor WebOrigins as above); note lines starting with ";"
// are no settings and are left out. These lines are ignored, and a mistyped key would go unseen.
std::vector<std::string> UnknownConfigKeys(std::string_view text);

// The text a save writes: the four "Key=value" lines in that order, each ended by CR LF, then
// "WebOrigins=<origins>" likewise when origins is not empty.
std::string ConfigFileText(const TConfigRec& rec, std::string_view origins = {});

// The error for a value that fails that rule: "'<text>' is not a valid integer value".
std::string InvalidIntegerMessage(std::string_view text);

} // namespace zir::config
