// Opens COM1, identifies the tracker, reads its version and one sample, and closes the port.
// Exit status 0 when all of that worked.
#include <vexlink/Ports.h>
#include <vexlink/Vexlink.h>

#include <cstdio>
#include <string>

int main() {
    Vexlink link;
    if (link.OpenCom("COM1") != 1) {
        const std::string why = vexlink::describePortError(vexlink::lastPortError());
        std::fprintf(stderr, "consumer: no tracker on COM1 (%s): %s\n",
                     vexlink::resolvePort("COM1").path.c_str(),
                     why.empty() ? "no answer" : why.c_str());
        return 1;
    }
    link.SetPortId(1);
    const char* version = link.Get_Version();
    const int read = link.ReadFromPort();
    int pitch = 0;
    int yaw = 0;
    int roll = 0;
    link.Get_PYR(&pitch, &yaw, &roll);
    const int closed = link.CloseCom(link.GetComHandle());
    if (version == nullptr || read != 1 || closed != 1) {
        std::fprintf(stderr, "consumer: version %s, read %d, close %d\n",
                     version ? version : "(none)", read, closed);
        return 1;
    }
    std::printf("version %s pitch %d yaw %d roll %d\n", version, pitch, yaw, roll);
    return 0;
}
