# One interface target carries the language level, warnings and build defines of every target.
add_library(velmora_options INTERFACE)
target_compile_features(velmora_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(velmora_options INTERFACE -Wall -Wextra $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
target_compile_definitions(velmora_options INTERFACE $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
target_include_directories(velmora_options INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/velmora_version.h @ONLY)

if(VELMORA_SANITIZE)
    target_compile_options(velmora_options INTERFACE -fsanitize=${VELMORA_SANITIZE} -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
    target_link_options(velmora_options INTERFACE -fsanitize=${VELMORA_SANITIZE})
    target_compile_definitions(velmora_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()

find_package(Threads REQUIRED)
