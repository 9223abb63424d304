#pragma once
// Whether a media player can be made at all. Qt 6.4's GStreamer back end
// builds each player from GStreamer's decoding bins and crashes, while the
// player is being constructed, where they are missing (GStreamer's
// "playback" plug-in set not installed, or a plug-in path that hides it).
// The sound back end asks first and stays silent instead.
namespace platform::gst {

// True when GStreamer holds the elements a player is built from; looked up
// once. Always true when built without GStreamer's headers (nothing can be
// asked then).
bool playerElementsPresent();

} // namespace platform::gst
