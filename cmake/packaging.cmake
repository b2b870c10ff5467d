# Install rules and packages: a Debian package (.deb) on Linux, a .zip for
# each Windows target (win32, win64). `cmake --install` and CPack use the layout of install_layout.cmake.
install(TARGETS basic RUNTIME DESTINATION ${BASIC_BIN_DESTINATION})
install(TARGETS basstub RUNTIME DESTINATION ${BASIC_STUB_DESTINATION})

# The documents keep the repository's layout (README.md, docs/, examples/),
# so that the links between them work where they are installed as well.
file(GLOB BASIC_GUIDES ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${BASIC_DOC_DESTINATION})
install(FILES ${BASIC_GUIDES} DESTINATION ${BASIC_DOC_DESTINATION}/docs)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${BASIC_DOC_DESTINATION}/examples)

# Debian looks for the license in the package's doc folder as "copyright";
# the .zip has it at its top, beside the programs.
set(BASIC_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
if(WIN32)
  install(FILES ${BASIC_LICENSE} DESTINATION ${BASIC_BIN_DESTINATION})
else()
  install(FILES ${BASIC_LICENSE} DESTINATION ${BASIC_DOC_DESTINATION} RENAME copyright)
endif()

if(NOT WIN32)
  # Manual pages are installed compressed, as man-db expects on Debian.
  find_program(BASIC_GZIP gzip)
  set(BASIC_MAN_PAGE ${CMAKE_SOURCE_DIR}/docs/basic.1)
  if(BASIC_GZIP)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/basic.1.gz
                       COMMAND ${BASIC_GZIP} -9n -c ${BASIC_MAN_PAGE} > ${CMAKE_BINARY_DIR}/basic.1.gz
                       DEPENDS ${BASIC_MAN_PAGE} VERBATIM)
    add_custom_target(basic_man_page ALL DEPENDS ${CMAKE_BINARY_DIR}/basic.1.gz)
    set(BASIC_MAN_PAGE ${CMAKE_BINARY_DIR}/basic.1.gz)
  endif()
  install(FILES ${BASIC_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME ${BASIC_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "basic-stub")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Line-numbered BASIC interpreter that binds programs into standalone executables")
set(CPACK_PACKAGE_DESCRIPTION
    "basic runs BASIC program files and offers an interactive console; \
basic --bind appends a program to a copy of the run-time stub, giving one \
executable that runs it with nothing else installed.")
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_RESOURCE_FILE_LICENSE ${BASIC_LICENSE})
set(CPACK_STRIP_FILES ON)
set(BASIC_PACKAGE_MAINTAINER "basic-stub maintainers <basic-stub@localhost>" CACHE STRING
    "The Maintainer field of the Debian package")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BASIC_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION interpreters)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # Depends (libc6, libedit2) from what the binaries link.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
