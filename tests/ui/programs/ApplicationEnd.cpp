// The application's main window, off line, run as the application runs it until a
// signal ends it. Once it runs, the server named on the command line is typed into its
// Streaming page, which asks that server for its file list. The tests of the program's
// end end it while that exchange is still on its way.
//
//   ApplicationEnd <server> [--lookup-never-answers]
//
// With --lookup-never-answers a name lookup never ends, as with a name server that
// never answers; it prints "looking up" once it has begun.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/TcpExchange.h"
#include "support/gui/TestScreen.h"
#include "support/gui/UserInput.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "ui/pages/CStreamingPage.h"

namespace {

std::vector<std::string> lookupThatNeverAnswers(const std::string&)
{
    std::puts("looking up");
    std::fflush(stdout);
    for (;;) {
        ::pause();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <server> [--lookup-never-answers]\n", argv[0]);
        return 2;
    }
    useTestScreen();
    WindowSystem windowSystem;
    if (argc > 2 && std::string(argv[2]) == "--lookup-never-answers") {
        setNameLookup(lookupThatNeverAnswers);
    }
    const std::string server = argv[1];
    user::onModal([&server](Window& modal) {
        if (auto* main = dynamic_cast<CRemoteDlg*>(&modal)) {
            auto* streaming = static_cast<CStreamingPage*>(main->page(CRemoteDlg::Streaming));
            streaming->control<Edit>(CStreamingPage::serverId).setText(server);
            streaming->OnKillfocusServer(); // as leaving the edit does
        }
    });
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    window.runModal();
    user::onModal(nullptr);
    DialogStack::destroy();
    return 0;
}
