# GoogleTest for cross builds, compiled from the sources Debian's googletest package
# installs (no download): the build machine's libgtest cannot be linked into Windows
# programs. find_package(GTest) is answered by these targets.
include(FetchContent)
set(KORVEX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest sources used when cross-compiling")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
FetchContent_Declare(GTest SOURCE_DIR ${KORVEX_GOOGLETEST_SOURCE} OVERRIDE_FIND_PACKAGE)
FetchContent_MakeAvailable(GTest)
# Debian's GoogleTest 1.12 does not name its targets the way FindGTest does.
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
