# Warning and sanitizer flags shared by every target of the project.
add_library(dorvale_options INTERFACE)
target_compile_options(dorvale_options INTERFACE -Wall -Wextra -Wpedantic)
# g++ 12 reports overlapping copies inside std::string's operator+ at -O2 and above that cannot
# happen (GCC bug 105329); the warning is silenced there rather than rewriting every
# concatenation.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(dorvale_options INTERFACE $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict>)
endif()
if(DORVALE_WERROR)
  target_compile_options(dorvale_options INTERFACE -Werror)
endif()
if(DORVALE_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(dorvale_options INTERFACE ${sanitizers})
  target_link_options(dorvale_options INTERFACE ${sanitizers})
endif()

# Adds a static library made of every source file in the given folders.
function(dorvale_library name)
  cmake_parse_arguments(arg "" "" "FOLDERS;LINK" ${ARGN})
  set(sources)
  foreach(folder IN LISTS arg_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC dorvale_options ${arg_LINK})
endfunction()
