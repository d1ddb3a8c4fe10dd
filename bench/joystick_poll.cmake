corvane_add_benchmark(joystick_poll
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/joystick_poll.cpp
  LIBS corvane_joystick SDL2::SDL2)
