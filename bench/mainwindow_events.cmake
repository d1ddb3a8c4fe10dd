corvane_add_benchmark(mainwindow_events SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mainwindow_events.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_benchmark_main.cpp LIBS corvane_mainwindow)
