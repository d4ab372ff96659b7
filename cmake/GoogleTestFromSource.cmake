# GoogleTest built from Debian's source package (googletest, /usr/src/googletest) for builds
# whose target the packaged libgtest-dev does not fit: the Windows cross builds and the 32-bit
# Linux build. Gives the same targets as find_package(GTest): GTest::gtest, GTest::gtest_main,
# GTest::gmock.
set(ZIR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source folder")
if(NOT EXISTS ${ZIR_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's source is missing in ${ZIR_GOOGLETEST_SOURCE_DIR}: "
                      "install the Debian package googletest")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# MinGW builds link the runtime statically, and so does GoogleTest with them.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)

add_subdirectory(${ZIR_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main gmock gmock_main)
  if(TARGET ${target})
    set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS -w)
  endif()
endforeach()
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
  add_library(GTest::gmock ALIAS gmock)
endif()
