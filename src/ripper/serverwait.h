#pragma once

// A blocking exchange with a server, run on a thread of its own while the window thread goes on
// processing events, so the screen stays alive and the wait can be given up at once. An exchange
// given up goes on to its end on its own thread and its result is dropped; nothing ever waits for
// it, so neither the road nor the program's end is held up by a server that does not answer.
// GUI thread only.

#include <functional>
#include <memory>
#include <optional>

class QEventLoop;

namespace ripper {

class ServerWait
{
public:
    ServerWait() = default;
    ServerWait(const ServerWait&) = delete;
    ServerWait& operator=(const ServerWait&) = delete;

    // Runs `work` and returns once it has finished (true), or the wait was given up or the
    // application is quitting (false). `work` must own everything it uses: it may outlive the
    // call, this object and the application.
    [[nodiscard]] bool run(const std::function<void()>& work);
    // Gives up the running wait, if any.
    void abandon();

    // The result of `work`, or nothing when the wait was given up.
    template<class Result> std::optional<Result> call(const std::function<Result()>& work)
    {
        auto result = std::make_shared<Result>();
        if (!run([result, work] { *result = work(); })) return std::nullopt;
        return *result;
    }

private:
    QEventLoop* loop_ = nullptr;
    bool abandoned_ = false;
};

} // namespace ripper
