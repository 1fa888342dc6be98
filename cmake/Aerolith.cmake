# Common settings of every Aerolith target.

function(aerolith_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual)
endfunction()

if(AEROLITH_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# aerolith_library(NAME SOURCES ... DEPENDS ...)
# One static library per folder; the folder's parent is the include root, so
# code includes "psychro/Air.h".
# The layer rule: a library or program may link only our libraries declared
# before it (the top CMakeLists adds the folders lowest layer first); naming
# one declared later means a lower layer uses a higher one.
function(aerolith_check_layers name)
  foreach(dep IN LISTS ARGN)
    if(dep MATCHES "^aerolith_" AND NOT TARGET ${dep})
      message(FATAL_ERROR "${name} links ${dep}, which is not declared below it: a lower layer never uses a "
                          "higher one (see the order of the folders in the top CMakeLists.txt)")
    endif()
  endforeach()
endfunction()

function(aerolith_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  aerolith_check_layers(${name} ${ARG_DEPENDS})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  aerolith_warnings(${name})
endfunction()

# aerolith_program(NAME SOURCES ... DEPENDS ...): a program in its own folder,
# at the level of what it links.
function(aerolith_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  aerolith_check_layers(${name} ${ARG_DEPENDS})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  aerolith_warnings(${name})
endfunction()

# aerolith_check_not_linked(TARGET LIBRARY): TARGET links LIBRARY neither
# directly nor through the libraries it links, or the configuration stops.
# The layer rule allows any lower library; this keeps one out of a program
# all the same (the build tools' library out of the shipped programs). Call
# it once TARGET is declared.
function(aerolith_check_not_linked target library)
  set(seen ${target})
  set(pending ${target})
  list(LENGTH pending left)
  while(left GREATER 0)
    list(POP_FRONT pending current)
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(links ${current} ${property})
      if(links STREQUAL "links-NOTFOUND")
        continue()
      endif()
      foreach(dep IN LISTS links)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" dep "${dep}")
        if(dep STREQUAL library)
          message(FATAL_ERROR "${target} links ${library} (through ${current}), which it must not carry")
        endif()
        if(TARGET ${dep} AND NOT dep IN_LIST seen)
          list(APPEND seen ${dep})
          list(APPEND pending ${dep})
        endif()
      endforeach()
    endforeach()
    list(LENGTH pending left)
  endwhile()
endfunction()

# aerolith_test(NAME SOURCES ... DEPENDS ... [GUI])
function(aerolith_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/QtPrinters.h)
  if(NOT ARG_GUI)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  aerolith_warnings(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# Fuzz builds instrument every library for coverage, not only the targets.
if(AEROLITH_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
