// A second program that wants a port: opens it with the library and reports.
//   reliability_open_probe PORT         exit 0 when the port opened (then closes it), else 1
//   reliability_open_probe PORT hold    on success prints "held" and keeps the port until its
//                                       standard input ends
#include <vexlink/Vexlink.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Vexlink link;
    if (!link.OpenCom(argv[1])) return 1;
    if (argc > 2 && std::strcmp(argv[2], "hold") == 0) {
        std::printf("held\n");
        std::fflush(stdout);
        char c;
        while (read(0, &c, 1) > 0) {}
    }
    link.CloseCom(link.GetComHandle());
    return 0;
}
