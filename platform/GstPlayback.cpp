#include "platform/GstPlayback.h"

#ifdef K27_HAVE_GSTREAMER
#include <gst/gst.h>

#include <initializer_list>
#endif

namespace platform::gst {

bool playerElementsPresent() {
#ifdef K27_HAVE_GSTREAMER
    static const bool present = [] {
        if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
            return false;
        for (const char* name : {"uridecodebin", "playbin"}) {
            GstElementFactory* factory = gst_element_factory_find(name);
            if (!factory)
                return false;
            gst_object_unref(factory);
        }
        return true;
    }();
    return present;
#else
    return true;
#endif
}

} // namespace platform::gst
