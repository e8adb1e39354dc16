# The architecture's rules in one place: which folder of src/ may include which. A folder always
# includes its own files. Read from the bottom up: each layer rests only on those above it in its
# row, so no two folders depend on each other and nothing below reaches up.
#
#   core          plain values and the platform-service interfaces; rests on nothing
#   data          the data files as read
#   presentation  what the cab view shows (pictures, sprites, film track)
#   sound         what the sound bank plays
#   controls      the driver's handles, keys and controllers
#   dynamics      traction, brakes, motion, the diesel engine
#   signalling    signals, protection, stations
#   app           one run: the load, the ticks, the harness
#   platform      Qt, SDL, OpenAL and FFmpeg behind the core's interfaces
#   ui            the windows
#
# The CTest `layering` (cmake/CheckLayers.cmake) fails on an include outside its folder's row,
# and on a toolkit, controller, audio or codec header outside the folders named in
# KAVRIN_TOOLKIT_FOLDERS. tools/, bench/ and tests/ may include any folder of src/.
set(KAVRIN_LAYER_core "")
set(KAVRIN_LAYER_data "core")
set(KAVRIN_LAYER_presentation "core;data")
set(KAVRIN_LAYER_sound "core;data")
set(KAVRIN_LAYER_controls "core;data;presentation;sound")
set(KAVRIN_LAYER_dynamics "core;data;controls")
set(KAVRIN_LAYER_signalling "core;data;presentation;sound;controls;dynamics")
set(KAVRIN_LAYER_app "core;data;presentation;sound;controls;dynamics;signalling")
set(KAVRIN_LAYER_platform "core;data;presentation;sound;controls")
set(KAVRIN_LAYER_ui "core;data;presentation;sound;controls;dynamics;signalling;app;platform")
set(KAVRIN_LAYERS core data presentation sound controls dynamics signalling app platform ui)

# Where <Q...>, <SDL...>, <AL/...>, <libav...> and <libsw...> may be included.
set(KAVRIN_TOOLKIT_FOLDERS src/platform src/ui tools tests)
