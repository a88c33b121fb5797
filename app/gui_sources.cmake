# Widget sources of the application shell and main frame (kantoria_gui).
target_sources(kantoria_gui PRIVATE
  app/about_dialog.cpp
  app/dialog_entry_editor.cpp
  app/document_commands.cpp
  app/document_session.cpp
  app/file_dialogs.cpp
  app/frame_menus.cpp
  app/freedesktop_registrar.cpp
  app/help_files.cpp
  app/instance_match.cpp
  app/local_instances.cpp
  app/main_frame.cpp
  app/message_box.cpp
  app/morka2_app.cpp
  app/frame_views.cpp
  app/qsettings_store.cpp
  app/recent_files.cpp
  app/resources_init.cpp
  app/window_rect.cpp
  resources/kantoria.qrc)
target_link_libraries(kantoria_gui PUBLIC Qt6::Network)

# The lock keys are read from X11 where Qt runs on it.
find_package(X11 QUIET)
if(X11_FOUND)
  target_sources(kantoria_gui PRIVATE app/lock_keys_x11.cpp)
  target_link_libraries(kantoria_gui PRIVATE X11::X11)
else()
  target_sources(kantoria_gui PRIVATE app/lock_keys_none.cpp)
endif()
