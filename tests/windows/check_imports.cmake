# Fails unless the executable EXE imports only DLLs that every Windows system
# has: kernel32, user32 and the C runtime (msvcrt, or the universal C
# runtime of Windows 10 and later). Anything else (the C++ runtime, a threads
# library) would have to be shipped beside it.
#
# usage: cmake -DOBJDUMP=<objdump> -DEXE=<program.exe> -P check_imports.cmake
execute_process(COMMAND "${OBJDUMP}" -p "${EXE}" OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} could not read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "no imported DLL found in ${EXE}")
endif()
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "^(kernel32|user32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\\.dll$")
    message(FATAL_ERROR "${EXE} needs ${dll}, which Windows does not ship")
  endif()
endforeach()
message(STATUS "${EXE} imports only: ${imports}")
