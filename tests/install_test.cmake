# Installs the build into a fresh prefix and runs the installed lwsim, which
# must find the installed module by itself and list its six servers; the
# guide, the licence and the notices must be installed. Given a CPack
# configuration (the Windows build), the ZIP package must hold the module
# and the documents beside it.
#   cmake -DBUILD_DIR= -DPREFIX= -DDOC_DIR= -DMODULE= -DLWSIM= [-DEMULATOR=] [-DCPACK_CONFIG=] -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" OUTPUT_QUIET
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file plugins/${MODULE} ${DOC_DIR}/user-guide.md ${DOC_DIR}/LICENSE ${DOC_DIR}/NOTICES)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(WRITE "${PREFIX}/servers.lwsim" "@servers\n")
execute_process(COMMAND ${EMULATOR} "${PREFIX}/bin/${LWSIM}" INPUT_FILE "${PREFIX}/servers.lwsim"
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE failed)
string(REGEX MATCHALL "server: [^\n]+" servers "${out}")
list(LENGTH servers count)
if(failed OR NOT count EQUAL 6)
  message(FATAL_ERROR "the installed lwsim did not list the module's six servers:\n${out}${err}")
endif()

if(CPACK_CONFIG)
  execute_process(COMMAND "${CMAKE_CPACK_COMMAND}" --config "${CPACK_CONFIG}" -B "${PREFIX}/package" OUTPUT_QUIET
                  RESULT_VARIABLE failed)
  file(GLOB zip "${PREFIX}/package/*.zip")
  if(failed OR NOT zip)
    message(FATAL_ERROR "cpack made no ZIP file")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar tf "${zip}" OUTPUT_VARIABLE listing)
  foreach(file ${MODULE} user-guide.md LICENSE.txt NOTICES.txt INSTALL.txt)
    if(NOT listing MATCHES "/${file}\n")
      message(FATAL_ERROR "the ZIP file lacks ${file}:\n${listing}")
    endif()
  endforeach()
endif()
