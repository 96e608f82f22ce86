// The application as its entry runs it, with a simulated user who presses OK in the
// connection dialog (choosing Ethernet and typing the unit's address first when one is
// given) and leaves every other window open. Each window whose run starts is named on
// the standard output ("connection dialog", "main window", "about box", "error box",
// "message"), so the tests of the program's end can end it at any of them.
//
//   ScriptedApplication [--ethernet <address>] [--about] [--exit-in <window>] [--lookup-waits]
//
// --about             the user opens Help > About once the main window runs.
// --exit-in <window>  once that window's run starts, the program is ended from inside
//                     it with exit(1), as the toolkit ends a program that lost its display.
// --lookup-waits      a lookup of the unit's name says "looking up" and waits for a line
//                     on the standard input, then fails as a name that does not resolve.
#include <dlfcn.h>
#include <netdb.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "support/gui/UserInput.h"
#include "ui/CAboutDlg.h"
#include "ui/CConnectionDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteApp.h"
#include "ui/CRemoteDlg.h"

namespace {

struct Options {
    std::string ethernetAddress;
    bool about = false;
    std::string exitIn;
    bool lookupWaits = false;
};
Options options;

std::string nameOf(Window& modal)
{
    if (dynamic_cast<CConnectionDlg*>(&modal) != nullptr) {
        return "connection dialog";
    }
    if (dynamic_cast<CRemoteDlg*>(&modal) != nullptr) {
        return "main window";
    }
    if (dynamic_cast<CAboutDlg*>(&modal) != nullptr) {
        return "about box";
    }
    if (dynamic_cast<CCommErrorDlg*>(&modal) != nullptr) {
        return "error box";
    }
    return "message";
}

void say(const std::string& line)
{
    std::cout << line << std::endl;
}

void actAsTheUser(Window& modal)
{
    const std::string name = nameOf(modal);
    say(name);
    if (name == options.exitIn) {
        std::exit(1);
    }
    if (auto* connection = dynamic_cast<CConnectionDlg*>(&modal)) {
        if (!options.ethernetAddress.empty()) {
            user::choose(connection->control<ComboBox>(CConnectionDlg::connectionTypeId),
                         CConnectionDlg::ethernet);
            user::type(connection->control<Edit>(CConnectionDlg::addressId), options.ethernetAddress);
        }
        user::click(connection->control<Button>(IDOK));
    } else if (auto* main = dynamic_cast<CRemoteDlg*>(&modal); main != nullptr && options.about) {
        main->OnAppAbout();
    }
}

bool readOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--ethernet" && hasValue) {
            options.ethernetAddress = argv[++i];
        } else if (option == "--about") {
            options.about = true;
        } else if (option == "--exit-in" && hasValue) {
            options.exitIn = argv[++i];
        } else if (option == "--lookup-waits") {
            options.lookupWaits = true;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

// The unit's name is looked up by the C library's own call, on the window's thread; this
// program stands in for it when the lookup is to wait, and passes it on otherwise.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** found)
{
    if (!options.lookupWaits) {
        using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
        static auto system = reinterpret_cast<Lookup>(::dlsym(RTLD_NEXT, "getaddrinfo"));
        return system(node, service, hints, found);
    }
    say("looking up");
    std::string line;
    std::getline(std::cin, line);
    *found = nullptr;
    return EAI_NONAME;
}

int main(int argc, char** argv)
{
    if (!readOptions(argc, argv)) {
        std::fprintf(stderr,
                     "usage: %s [--ethernet <address>] [--about] [--exit-in <window>] [--lookup-waits]\n",
                     argv[0]);
        return 2;
    }
    user::onModal(actAsTheUser);
    CRemoteApp application;
    application.InitInstance();
    user::onModal(nullptr);
    return 0;
}
