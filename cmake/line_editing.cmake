# basic_line_editing: the keyboard reader of `basic` on POSIX. With libedit
# (Debian: libedit-dev) lines are edited and remembered; without it the
# build goes on and `basic` reads plain lines.
add_library(basic_line_editing STATIC ${CMAKE_SOURCE_DIR}/src/platform/posix/editing/posix_line_editor.cpp)
target_link_libraries(basic_line_editing PUBLIC basic_platform)
target_compile_options(basic_line_editing PRIVATE ${BASIC_WARNINGS})

set(BASIC_HAVE_LIBEDIT OFF)
if(BASIC_LINE_EDITING)
  find_path(BASIC_LIBEDIT_INCLUDE_DIR editline/readline.h)
  find_library(BASIC_LIBEDIT_LIBRARY edit)
  if(BASIC_LIBEDIT_INCLUDE_DIR AND BASIC_LIBEDIT_LIBRARY)
    set(BASIC_HAVE_LIBEDIT ON)
  endif()
endif()

if(BASIC_HAVE_LIBEDIT)
  target_include_directories(basic_line_editing PRIVATE ${BASIC_LIBEDIT_INCLUDE_DIR})
  target_link_libraries(basic_line_editing PRIVATE ${BASIC_LIBEDIT_LIBRARY})
  target_compile_definitions(basic_line_editing PRIVATE BASIC_HAVE_LIBEDIT=1)
  message(STATUS "basic: line editing with ${BASIC_LIBEDIT_LIBRARY}")
else()
  target_compile_definitions(basic_line_editing PRIVATE BASIC_HAVE_LIBEDIT=0)
  if(BASIC_LINE_EDITING)
    message(STATUS "basic: no libedit found, `basic` reads plain lines (install libedit-dev)")
  else()
    message(STATUS "basic: line editing off, `basic` reads plain lines")
  endif()
endif()
