#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/libmpv.h"

#include <QLibrary>
#include <QLoggingCategory>
#include <optional>
#include <type_traits>

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcLibmpv, "musetra.platform.mpv", QtWarningMsg)

std::optional<Libmpv> loadLibmpv()
{
    // The soname of the libmpv the program was built against.
    QLibrary library(QStringLiteral(MUSETRA_LIBMPV));
    bool complete = library.load();
    Libmpv functions;
    const auto resolve = [&](auto& function, const char* name) {
        if (!complete) return;
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
        complete = function != nullptr;
    };
    resolve(functions.create, "mpv_create");
    resolve(functions.setOptionString, "mpv_set_option_string");
    resolve(functions.requestLogMessages, "mpv_request_log_messages");
    resolve(functions.setWakeupCallback, "mpv_set_wakeup_callback");
    resolve(functions.initialize, "mpv_initialize");
    resolve(functions.errorString, "mpv_error_string");
    resolve(functions.terminateDestroy, "mpv_terminate_destroy");
    resolve(functions.renderContextCreate, "mpv_render_context_create");
    resolve(functions.renderContextSetUpdateCallback, "mpv_render_context_set_update_callback");
    resolve(functions.renderContextFree, "mpv_render_context_free");
    resolve(functions.renderContextUpdate, "mpv_render_context_update");
    resolve(functions.renderContextRender, "mpv_render_context_render");
    resolve(functions.commandAsync, "mpv_command_async");
    resolve(functions.command, "mpv_command");
    resolve(functions.waitEvent, "mpv_wait_event");
    resolve(functions.setProperty, "mpv_set_property");
    resolve(functions.setPropertyString, "mpv_set_property_string");
    resolve(functions.getProperty, "mpv_get_property");
    resolve(functions.setPropertyAsync, "mpv_set_property_async");
    resolve(functions.observeProperty, "mpv_observe_property");
    resolve(functions.getPropertyAsync, "mpv_get_property_async");
    if (!complete) {
        qCWarning(lcLibmpv) << "libmpv cannot be loaded:" << library.errorString();
        return std::nullopt;
    }
    return functions;
}

} // namespace

void setCoreOptions(const Libmpv& mpv, mpv_handle* handle, std::span<const MpvOption> own)
{
    static const MpvOption common[] = {
        {"config", "no"}, // the user's own mpv settings must not change how the jukebox plays
        {"load-scripts", "no"},
        // Built-in scripts the jukebox never uses: each would start a Lua state of its own.
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"ytdl", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"idle", "yes"},
    };
    for (const std::span<const MpvOption> options : {std::span<const MpvOption>(common), own}) {
        for (const auto& [name, value] : options) {
            if (mpv.setOptionString(handle, name, value) < 0)
                qCWarning(lcLibmpv) << "mpv option refused:" << name << value;
        }
    }
}

const Libmpv* loadedLibmpv()
{
    static const std::optional<Libmpv> loaded = loadLibmpv();
    return loaded ? &*loaded : nullptr;
}

} // namespace platform
