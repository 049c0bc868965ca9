#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tds {

// Application locks owned by sessions, as sp_getapplock with @LockOwner = 'Session' and
// @LockMode = 'Exclusive' keeps them: one session holds a resource at a time, asking again for a
// resource it holds succeeds, and a session's locks go when it ends. Resource names compare
// without regard to ASCII case.
class AppLocks {
  public:
    // Whether `session` holds the resource now; never waits (@LockTimeout = 0). `holder` is set
    // to the session that holds it when the answer is no.
    bool acquire(std::string_view resource, int session, int& holder);
    // Whether `session` held it (and so gave it back).
    bool release(std::string_view resource, int session);
    void releaseAll(int session);

  private:
    std::mutex mutex_;
    std::map<std::string, int> holders_;
};

// An application-lock call found in a batch's text: EXEC [@r =] sp_getapplock or
// sp_releaseapplock with @Resource = '...'.
struct AppLockCall {
    bool acquire = true;
    std::string resource;
};
std::optional<AppLockCall> parseAppLockCall(std::string_view text);

}  // namespace tds
