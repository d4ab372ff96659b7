#pragma once

#include <memory>
#include <optional>
#include <string>

namespace zir::platform {

// Marks the running instance for as long as the object lives; the mark dies with the process.
// Windows: the named mutex "Tarvo" (the key is not used). Elsewhere: an exclusive lock on a file
// in the runtime folder named after a hash of the key (the settings file's path), holding the
// process id, so that test instances with their own settings files run side by side.
class SingleInstance {
  public:
    // Null when another live process holds the mark.
    static std::unique_ptr<SingleInstance> Acquire(const std::string& key);
    ~SingleInstance();

    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The process id of the live instance holding the mark for this key, if any (not Windows).
    static std::optional<long> RunningProcessId(const std::string& key);

    // Whether a live process holds the mark for this key now. Windows: whether the mutex exists
    // in this session, whatever the key.
    static bool IsHeld(const std::string& key);

  private:
    SingleInstance() = default;
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zir::platform
