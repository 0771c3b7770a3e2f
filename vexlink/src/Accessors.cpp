// The accessors are defined inline in the public header, so callers compile them into their
// own code. Taking their addresses here makes the library carry an exported definition of each
// as well, for callers that link to them by name.
#include <vexlink/Vexlink.h>

namespace {

struct Accessors {
    int (Vexlink::*getPortId)();
    void (Vexlink::*setPortId)(int);
    int (Vexlink::*getSamplingRate)();
    int (Vexlink::*getCurrentSpeed)();
    void (Vexlink::*setSpeedFlag)(int);
    char (Vexlink::*getDataMode)();
    void (Vexlink::*setDataMode)(char);
    char (Vexlink::*getTransMode)();
    void (Vexlink::*setTransMode)(char);
    unsigned char* (Vexlink::*getDataBuffer)();
    int (Vexlink::*checkIfBusy)();
    int (Vexlink::*getCheckStatus)();
    HANDLE (Vexlink::*getComHandle)();
    HANDLE (Vexlink::*getTempComHandle)();
    void (Vexlink::*setTempComHandle)();
    void (Vexlink::*setNewComHandle)();
    int (Vexlink::*getBytesRead)();
};

[[gnu::used]] const Accessors kExported{
    &Vexlink::GetPortId,       &Vexlink::SetPortId,        &Vexlink::GetSamplingRate,
    &Vexlink::GetCurrentSpeed, &Vexlink::SetSpeedFlag,     &Vexlink::GetDataMode,
    &Vexlink::SetDataMode,     &Vexlink::GetTransMode,     &Vexlink::SetTransMode,
    &Vexlink::GetDataBuffer,   &Vexlink::CheckIfBusy,      &Vexlink::GetCheckStatus,
    &Vexlink::GetComHandle,    &Vexlink::GetTempComHandle, &Vexlink::SetTempComHandle,
    &Vexlink::SetNewComHandle, &Vexlink::GetBytesRead,
};

}  // namespace
