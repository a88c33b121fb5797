# Widget sources of the holder tree and the entry list (kantoria_gui).
target_sources(kantoria_gui PRIVATE
  views/folder_images.cpp
  views/holder_tree_model.cpp
  views/holder_tree_view.cpp
  views/entry_list_model.cpp
  views/entry_list_view.cpp
  views/entry_list_commands.cpp
  views/entry_list_input.cpp)

# The two panes side by side over one catalogue, to look at them without the main window.
add_executable(kantoria-views-demo views/views_demo.cpp)
target_link_libraries(kantoria-views-demo PRIVATE kantoria_gui)
