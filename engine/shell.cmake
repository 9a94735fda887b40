if(ORVANE_WINDOWS)
  add_executable(orvane_engine ${CMAKE_CURRENT_SOURCE_DIR}/win32_main.cpp)
  orvane_gui_program(orvane_engine Orvane.dll)
endif()
