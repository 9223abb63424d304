#include "platform/MidiSynth.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <atomic>

#ifdef K27_HAVE_GSTREAMER
#include <gst/gst.h>
#endif

namespace platform::midi {

namespace {
std::atomic<int> configured{0};
} // namespace

QStringList soundFontCandidates() {
    return {QStringLiteral("sounds/sf2/TimGM6mb.sf2"), QStringLiteral("sounds/sf2/FluidR3_GM.sf2"),
            QStringLiteral("sounds/sf3/FluidR3_GM.sf3"), QStringLiteral("sounds/sf2/default-GM.sf2"),
            QStringLiteral("sounds/sf3/default-GM.sf3")};
}

QString chooseSoundFont(const QStringList& dataFolders) {
    for (const QString& candidate : soundFontCandidates()) {
        for (const QString& folder : dataFolders) {
            const QFileInfo file(QDir(folder).filePath(candidate));
            if (file.isFile() && file.isReadable())
                return file.absoluteFilePath();
        }
    }
    return {};
}

QString soundFont() {
    static const QString chosen =
        chooseSoundFont(QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    return chosen;
}

int synthsConfigured() {
    return configured.load();
}

#ifdef K27_HAVE_GSTREAMER

namespace {

// Written once before the hook is installed and never changed after, so the
// streaming threads that run the hook read it safely.
QByteArray soundFontPath;
GstElement* keeper = nullptr;

bool isFluidSynth(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
    return factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "fluiddec") == 0;
}

// Runs whenever an element joins a bin, in whatever thread builds the
// pipeline; the decoder bin adds the synthesiser before it starts it, which
// is when the element reads its SoundFont.
gboolean onElementAdded(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 2)
        return TRUE;
    auto* element = static_cast<GstElement*>(g_value_get_object(&values[1]));
    if (element && isFluidSynth(element)) {
        g_object_set(element, "soundfont", soundFontPath.constData(), nullptr);
        ++configured;
    }
    return TRUE; // stay installed
}

void releaseKeeper() {
    if (!keeper)
        return;
    gst_element_set_state(keeper, GST_STATE_NULL);
    gst_object_unref(keeper);
    keeper = nullptr;
}

} // namespace

bool prepare() {
    static bool hooked = false;
    static bool gaveUp = false;
    if (keeper)
        return true;
    if (gaveUp)
        return false;
    const QString path = soundFont();
    if (path.isEmpty()) {
        gaveUp = true;
        return false;
    }
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    if (!hooked) {
        soundFontPath = QFile::encodeName(path);
        const guint signal = g_signal_lookup("element-added", GST_TYPE_BIN);
        if (signal == 0) {
            gaveUp = true;
            return false;
        }
        g_signal_add_emission_hook(signal, 0, onElementAdded, nullptr, nullptr);
        hooked = true;
    }
    // A synthesiser of our own holds the SoundFont. FluidSynth shares the
    // sample data of a file that is already loaded, so the synthesisers of
    // the players load only the instrument tables.
    GstElement* element = gst_element_factory_make("fluiddec", "k27-soundfont");
    if (!element) {
        gaveUp = true; // no synthesiser: the players will not find one either
        return false;
    }
    gst_object_ref_sink(element);
    g_object_set(element, "soundfont", soundFontPath.constData(), nullptr);
    if (gst_element_set_state(element, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
        gaveUp = true; // the SoundFont does not load
        return false;
    }
    keeper = element;
    // Let go of it with the application, while GStreamer is still there.
    qAddPostRoutine(releaseKeeper);
    return true;
}

#else

bool prepare() {
    return false;
}

#endif

} // namespace platform::midi
