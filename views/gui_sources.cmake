# Widget sources of the holder tree and the entry list (kantoria_gui).
target_sources(kantoria_gui PRIVATE views/gui_placeholder.cpp)
