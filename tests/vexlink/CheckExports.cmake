# Checks the dynamic symbols of libvexlink: every exported definition is a member of Vexlink or
# of vexlink::SampleStream,
# and the header's inline accessors are among them.
execute_process(COMMAND nm -D --defined-only -C ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE "^[0-9a-f]+ . " "" name "${line}")
  if(NOT name MATCHES "^(Vexlink|vexlink::SampleStream)::")
    message(SEND_ERROR "exported but not part of the classes: ${name}")
  endif()
endforeach()
foreach(accessor GetPortId SetPortId GetSamplingRate GetCurrentSpeed SetSpeedFlag GetDataMode
    SetDataMode GetTransMode SetTransMode GetDataBuffer CheckIfBusy GetCheckStatus GetComHandle
    GetTempComHandle SetTempComHandle SetNewComHandle GetBytesRead)
  if(NOT symbols MATCHES "Vexlink::${accessor}\\(")
    message(SEND_ERROR "inline accessor not exported: ${accessor}")
  endif()
endforeach()
