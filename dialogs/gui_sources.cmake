# Widget sources of the entry, properties and search dialogs (kantoria_gui).
target_sources(kantoria_gui PRIVATE
  dialogs/dialog_fields.cpp
  dialogs/entry_dialog.cpp
  dialogs/program_icon.cpp
  dialogs/properties_dialog.cpp)
target_sources(kantoria_gui PRIVATE
  dialogs/search_dialog.cpp)
