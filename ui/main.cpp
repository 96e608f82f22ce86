#include "ui/CRemoteApp.h"

// The one application object, as the window system expects it.
static CRemoteApp theApp;

int main()
{
    theApp.InitInstance();
    return 0;
}
