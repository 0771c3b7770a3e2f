// Gyrodesk's program file: the one application object and the entry point.
#include <afx/Afx.h>

#include "GyrodeskApp.h"
#include "LinkWarning.h"
#include "Templates.h"

CGyrodeskApp theApp;

int main(int argc, char** argv) {
    AfxSetResourceTable(gyrodesk::Resources());
    gyrodesk::InstallLinkWarning();
    return AfxWinMain(argc, argv);
}
