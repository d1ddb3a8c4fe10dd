corvane_add_benchmark(mainwindow_events SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mainwindow_events.cpp
  LIBS corvane_mainwindow)
