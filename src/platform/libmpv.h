#pragma once

// The functions of libmpv the program calls. libmpv is loaded when the first mpv core is made, not
// linked: a program that has not played maps neither it nor the two hundred libraries behind it.
// Loading is tried once, from any thread; the functions are libmpv's own, safe on any thread.
// Sources include <mpv/client.h> and <mpv/render.h> before this header (C headers stay in the
// platform's sources).

#include <span>
#include <utility>

namespace platform {

struct Libmpv
{
    decltype(&mpv_create) create = nullptr;
    decltype(&mpv_set_option_string) setOptionString = nullptr;
    decltype(&mpv_request_log_messages) requestLogMessages = nullptr;
    decltype(&mpv_set_wakeup_callback) setWakeupCallback = nullptr;
    decltype(&mpv_initialize) initialize = nullptr;
    decltype(&mpv_error_string) errorString = nullptr;
    decltype(&mpv_terminate_destroy) terminateDestroy = nullptr;
    decltype(&mpv_render_context_create) renderContextCreate = nullptr;
    decltype(&mpv_render_context_set_update_callback) renderContextSetUpdateCallback = nullptr;
    decltype(&mpv_render_context_free) renderContextFree = nullptr;
    decltype(&mpv_render_context_update) renderContextUpdate = nullptr;
    decltype(&mpv_render_context_render) renderContextRender = nullptr;
    decltype(&mpv_command_async) commandAsync = nullptr;
    decltype(&mpv_command) command = nullptr;
    decltype(&mpv_wait_event) waitEvent = nullptr;
    decltype(&mpv_set_property) setProperty = nullptr;
    decltype(&mpv_set_property_string) setPropertyString = nullptr;
    decltype(&mpv_get_property) getProperty = nullptr;
    decltype(&mpv_set_property_async) setPropertyAsync = nullptr;
    decltype(&mpv_observe_property) observeProperty = nullptr;
    decltype(&mpv_get_property_async) getPropertyAsync = nullptr;
};

// Null when libmpv cannot be loaded.
const Libmpv* loadedLibmpv();

using MpvOption = std::pair<const char*, const char*>;
// Sets the options every core of the program takes (none of the user's mpv settings, scripts,
// terminal or key bindings), then `own`; an option mpv refuses is logged.
void setCoreOptions(const Libmpv& mpv, mpv_handle* handle, std::span<const MpvOption> own);

} // namespace platform
