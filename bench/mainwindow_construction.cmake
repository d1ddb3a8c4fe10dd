corvane_add_benchmark(mainwindow_construction SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/mainwindow_construction.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_benchmark_main.cpp LIBS corvane_mainwindow)
