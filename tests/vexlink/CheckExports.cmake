# Checks the dynamic symbols of libvexlink: every exported definition is a member of Vexlink or
# of vexlink::SampleStream, or a function of the vexlink namespace (<vexlink/Ports.h>, whose
# functions are all there), and the class header's inline accessors are among them.
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
  if(NOT name MATCHES "^(Vexlink|vexlink::SampleStream)::" AND
     NOT name MATCHES "^vexlink::[A-Za-z]+(\\[abi:cxx11\\])?\\(")
    message(SEND_ERROR "exported but not part of the public API: ${name}")
  elseif(name MATCHES "^vexlink::platform::")
    message(SEND_ERROR "the platform layer is exported: ${name}")
  endif()
endforeach()
foreach(accessor GetPortId SetPortId GetSamplingRate GetCurrentSpeed SetSpeedFlag GetDataMode
    SetDataMode GetTransMode SetTransMode GetDataBuffer CheckIfBusy GetCheckStatus GetComHandle
    GetTempComHandle SetTempComHandle SetNewComHandle GetBytesRead)
  if(NOT symbols MATCHES "Vexlink::${accessor}\\(")
    message(SEND_ERROR "inline accessor not exported: ${accessor}")
  endif()
endforeach()
foreach(function comNumber toString resolvePort userPortMapPath systemPortMapPath readPortMap
    setPortMapping removePortMapping listSerialDevices isSystemConsole stableDevicePath portHolders
    lastPortError describePortError)
  if(NOT symbols MATCHES "vexlink::${function}[[(]")
    message(SEND_ERROR "function of <vexlink/Ports.h> not exported: ${function}")
  endif()
endforeach()
