# Where `cmake --install` and the packages put things. On Linux the usual
# tree (bin/, libexec/, share/doc/, share/man/); the Windows .zip keeps the
# two programs side by side at its top with the documents in doc/.
set(BASIC_PACKAGE_NAME basic-stub)

if(WIN32)
  set(BASIC_BIN_DESTINATION .)
  set(BASIC_STUB_DESTINATION .)
  set(BASIC_DOC_DESTINATION doc)
else()
  set(BASIC_BIN_DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The stub is no command of its own: run bare it does nothing.
  set(BASIC_STUB_DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/${BASIC_PACKAGE_NAME})
  set(BASIC_DOC_DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${BASIC_PACKAGE_NAME})
endif()

# `basic --bind` finds the installed stub relative to its own directory.
file(RELATIVE_PATH BASIC_STUB_FROM_BIN_DIR /prefix/${BASIC_BIN_DESTINATION}
     /prefix/${BASIC_STUB_DESTINATION})
if(BASIC_STUB_FROM_BIN_DIR STREQUAL "")
  set(BASIC_STUB_FROM_BIN_DIR .)
endif()
