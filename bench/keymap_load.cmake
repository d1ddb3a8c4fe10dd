corvane_add_benchmark(keymap_load SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/keymap_load.cpp LIBS corvane_keymap)
