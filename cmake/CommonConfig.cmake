# One INTERFACE target with the flags every library and executable of the project uses.
add_library(CommonConfig INTERFACE)
target_compile_features(CommonConfig INTERFACE cxx_std_20)
target_compile_options(CommonConfig INTERFACE
  -Wall -Wextra -Wpedantic -Wno-missing-field-initializers
  $<$<BOOL:${QUELB_WERROR}>:-Werror>)
target_compile_definitions(CommonConfig INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
  QT_DISABLE_DEPRECATED_UP_TO=0x060400)
target_include_directories(CommonConfig INTERFACE ${PROJECT_SOURCE_DIR})

option(QUELB_WERROR "Treat warnings as errors" OFF)
option(QUELB_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
if(QUELB_SANITIZE)
  target_compile_options(CommonConfig INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(CommonConfig INTERFACE -fsanitize=address,undefined)
endif()

# libFuzzer (clang only): every library gets the fuzzer's coverage instrumentation and the
# sanitizers; the fuzz targets alone link the fuzzer's main.
option(QUELB_FUZZ "Build the fuzz targets for libFuzzer" OFF)
if(QUELB_FUZZ)
  target_compile_options(CommonConfig INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(CommonConfig INTERFACE -fsanitize=address,undefined)
endif()
