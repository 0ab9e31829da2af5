# What the built files export, read with the toolchain's binutils: the module
# exports its descriptor and nothing else; lwsim exports the message box entry
# the module finds by name in the program that loaded it. On Windows the
# module must be an x86-64 DLL that imports system libraries only, so that
# installing it is copying one file.
#   cmake -DNM= -DOBJDUMP= -DMODULE= -DLWSIM= [-DWINDOWS=ON] -P exports_test.cmake
cmake_minimum_required(VERSION 3.25)

# The names in the file's export table (PE) or its defined dynamic symbols
# (ELF), sorted, and the tool's whole listing.
function(exported_names file out dump_out)
  if(WINDOWS)
    execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(\t\\[ *[0-9]+\\] [^\n]+\n)*" table "${dump}")
    string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [^\n]+" names "${table}")
    list(TRANSFORM names REPLACE "^\t\\[ *[0-9]+\\] " "")
  else()
    execute_process(COMMAND "${NM}" -D --defined-only "${file}" OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
    string(REGEX MATCHALL "[^ \n]+\n" names "${dump}")
    list(TRANSFORM names STRIP)
  endif()
  if(failed)
    message(FATAL_ERROR "could not read the exports of ${file}")
  endif()
  list(SORT names)
  set(${out} "${names}" PARENT_SCOPE)
  set(${dump_out} "${dump}" PARENT_SCOPE)
endfunction()

exported_names("${MODULE}" module_names module_dump)
if(NOT module_names STREQUAL "_mod_descrip")
  message(FATAL_ERROR "the module must export _mod_descrip alone; it exports: ${module_names}")
endif()
exported_names("${LWSIM}" lwsim_names lwsim_dump)
if(NOT "lwpShowMessageBox" IN_LIST lwsim_names)
  message(FATAL_ERROR "lwsim does not export lwpShowMessageBox; it exports: ${lwsim_names}")
endif()

if(WINDOWS)
  string(REGEX MATCH "Characteristics 0x[0-9a-f]+\n(\t[^\n]+\n)*" characteristics "${module_dump}")
  if(NOT module_dump MATCHES "file format pei-x86-64" OR NOT module_dump MATCHES "Magic\t+020b"
     OR NOT characteristics MATCHES "\tDLL\n")
    message(FATAL_ERROR "the module is not a 64-bit x86-64 DLL:\n${module_dump}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${module_dump}")
  list(TRANSFORM imports REPLACE "^DLL Name: " "")
  list(TRANSFORM imports TOLOWER)
  if(NOT imports)
    message(FATAL_ERROR "the module imports no library")
  endif()
  set(system_libraries advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shlwapi.dll user32.dll)
  foreach(library IN LISTS imports)
    if(NOT library IN_LIST system_libraries)
      message(FATAL_ERROR "the module imports ${library}, which is not a system library")
    endif()
  endforeach()
endif()
