# One INTERFACE target carries the language standard, warnings and hardening
# flags to every target of the project.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(project_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wno-missing-field-initializers -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
  -fstack-protector-strong -fno-strict-aliasing
  $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>
  -D_GLIBCXX_ASSERTIONS)
target_link_options(project_options INTERFACE -Wl,-z,relro,-z,now)

if(HARVESTER_ASAN AND HARVESTER_TSAN)
  message(FATAL_ERROR "HARVESTER_ASAN and HARVESTER_TSAN exclude each other")
endif()
if(HARVESTER_ASAN)
  target_compile_options(project_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
if(HARVESTER_TSAN)
  target_compile_options(project_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=thread)
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
