# The game as a web page (emcmake; scripts/build_web.sh): src/ as it is, the browser's
# bridge from platform/web/, and the data files preloaded; the page lands in site/.
set(QUORVEL_SITE_DIR ${CMAKE_BINARY_DIR}/site)
file(GLOB QUORVEL_SOURCES CONFIGURE_DEPENDS src/*.cpp platform/web/*.cpp)
add_executable(quorvel ${QUORVEL_SOURCES})
target_include_directories(quorvel PRIVATE src platform)
set(QUORVEL_WEB_FLAGS -sUSE_SDL=1)
target_compile_options(quorvel PRIVATE ${QUORVEL_WEB_FLAGS})
set(QUORVEL_PAGE_JS ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page.js)
target_link_options(quorvel PRIVATE ${QUORVEL_WEB_FLAGS}
  # Each screen's blocking loop yields to the browser in SDL_Delay (and a save waits for
  # the page's storage); no call through a pointer leads there, so those stay plain.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=16384 -sASYNCIFY_IGNORE_INDIRECT
  -sLEGACY_GL_EMULATION -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
  -sEXIT_RUNTIME -sALLOW_MEMORY_GROWTH -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=callMain -lidbfs.js
  --pre-js ${QUORVEL_PAGE_JS}
  --preload-file ${CMAKE_CURRENT_SOURCE_DIR}/data@/data)
set_target_properties(quorvel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUORVEL_SITE_DIR}
  SUFFIX .js LINK_DEPENDS ${QUORVEL_PAGE_JS})
add_custom_command(TARGET quorvel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/index.html
          ${QUORVEL_SITE_DIR}/index.html)
