#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PlatformTestSupport.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Resources.h"
#include "support/gui/UserInput.h"
#include "platform/WaitCursor.h"

namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        char pattern[] = "/tmp/qz-platform-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TemporaryFolder() { fs::remove_all(path); }
    fs::path path;
};

std::string contents(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProfileTest, AbsentKeysGiveTheDefaults)
{
    TemporaryFolder folder;
    Profile profile((folder.path / "none.ini").string());
    EXPECT_EQ(profile.getInt("Settings", "connection type", 2), 2);
    EXPECT_EQ(profile.getString("Settings", "smpte address", "8280"), "8280");
}

TEST(ProfileTest, WritesGoToTheFileAtOnceAndReadBack)
{
    TemporaryFolder folder;
    fs::path file = folder.path / "sub" / "QZ347Remote.ini";
    Profile profile(file.string());
    EXPECT_TRUE(profile.writeInt("Settings", "connection type", 0));
    EXPECT_TRUE(profile.writeString("Settings", "tcp address", "10.0.0.7"));
    EXPECT_TRUE(profile.writeInt("Settings", "serial port", -1));
    EXPECT_EQ(contents(file), "[Settings]\nconnection type=0\ntcp address=10.0.0.7\nserial port=-1\n");
    EXPECT_TRUE(profile.writeInt("Settings", "connection type", 1));
    EXPECT_EQ(contents(file), "[Settings]\nconnection type=1\ntcp address=10.0.0.7\nserial port=-1\n");
    EXPECT_EQ(profile.getInt("settings", "Connection Type", 2), 1); // names ignore case
    EXPECT_EQ(profile.getInt("Settings", "serial port", 0), -1);
    EXPECT_EQ(profile.getString("Settings", "tcp address", ""), "10.0.0.7");
}

TEST(ProfileTest, OtherSectionsAndLinesStayAsTheyWere)
{
    TemporaryFolder folder;
    fs::path file = folder.path / "p.ini";
    std::ofstream(file)
        << "; kept\n[Other]\nkey = \"quoted value\"\n\n[Settings]\nsmpte address=1234\nnumber=12abc\n";
    Profile profile(file.string());
    EXPECT_EQ(profile.getString("Other", "key", ""), "quoted value");
    EXPECT_EQ(profile.getInt("Settings", "number", 0), 12);
    EXPECT_EQ(profile.getInt("Settings", "smpte address", 0), 1234);
    EXPECT_EQ(profile.getInt("Other", "key", 5), 5);
    EXPECT_TRUE(profile.writeString("Other", "new", "x"));
    EXPECT_TRUE(profile.writeString("Third", "a", ""));
    EXPECT_EQ(contents(file),
              "; kept\n[Other]\nkey = \"quoted value\"\nnew=x\n\n[Settings]\nsmpte address=1234\n"
              "number=12abc\n\n[Third]\na=\n");
}

TEST(ProfileTest, TheApplicationsProfileLivesInTheConfigurationFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string keep = saved != nullptr ? saved : "";
    setenv("XDG_CONFIG_HOME", "/some/config", 1);
    EXPECT_EQ(Profile::defaultPath("QZ347Remote"), "/some/config/QZ347Remote.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(Profile::defaultPath("QZ347Remote"),
              std::string(std::getenv("HOME")) + "/.config/QZ347Remote.ini");
    if (saved != nullptr) {
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    }
}

TEST(ProfileTest, AFileThatCannotBeWrittenFails)
{
    Profile profile("/proc/no-such-place/QZ347Remote.ini");
    EXPECT_FALSE(profile.writeInt("Settings", "connection type", 1));
}

TEST(ResourceTest, TheStringTableIsFoundById)
{
    std::string text;
    ASSERT_TRUE(loadString(1173, text));
    EXPECT_EQ(text, "Dim/Mute");
    ASSERT_TRUE(loadString(101, text));
    EXPECT_EQ(text, "&About QZ347Remote...");
    ASSERT_TRUE(loadString(1431, text));
    EXPECT_EQ(text, "0 dB");
    text = "unchanged";
    EXPECT_FALSE(loadString(1178, text));
    EXPECT_EQ(text, "unchanged");
}

TEST(ResourceTest, BitmapsAndTheIconLoadByIdAndALoadCanFail)
{
    for (int id : {159, 160, 161, 162, 163, 164}) {
        Bitmap bitmap;
        EXPECT_TRUE(bitmap.loadBitmap(id)) << id;
        EXPECT_GT(bitmap.width(), 0);
    }
    Bitmap missing;
    EXPECT_FALSE(missing.loadBitmap(165));
    EXPECT_FALSE(missing.isLoaded());
    Icon icon;
    EXPECT_TRUE(icon.loadIcon(128));
    EXPECT_FALSE(Icon().loadIcon(129));
}

TEST(MessageBoxTest, ShowsItsTextPlainAndReturnsTheButtonPressed)
{
    std::string shown;
    user::onModal([&](Window& modal) {
        shown = user::messageText(modal);
        savePicture(modal, "message_box");
        user::answer(modal, IDNO);
    });
    EXPECT_EQ(messageBox(nullptr, "<b>invalid SMPTE address</b>", "QZ347Remote", MB_YESNO), IDNO);
    EXPECT_EQ(shown, "<b>invalid SMPTE address</b>");
    user::onModal([&](Window& modal) { user::answer(modal, IDOK); });
    EXPECT_EQ(messageBox(nullptr, "invalid SMPTE address"), IDOK);
    user::onModal(nullptr);
}

TEST(FileDialogTest, FiltersTranslateToTheWindowSystemsForm)
{
    EXPECT_EQ(FileDialog::translateFilter("QZ347 Files (*.347)|*.347|All Files (*.*)|*.*||"),
              "QZ347 Files (*.347);;All Files (*)");
    EXPECT_EQ(FileDialog::translateFilter("Text Files (*.txt)|*.txt;*.text||"), "Text Files (*.txt *.text)");
}

TEST(FileDialogTest, ANameWithoutExtensionGetsTheDefaultOne)
{
    TemporaryFolder folder;
    FileDialog dialog(false, "txt", "", FileDialog::HideReadOnly | FileDialog::OverwritePrompt,
                      "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||", nullptr);
    user::onModal([&](Window& modal) {
        savePicture(modal, "file_dialog");
        user::chooseFile(modal, (folder.path / "export").string());
    });
    ASSERT_EQ(dialog.runModal(), IDOK);
    EXPECT_EQ(dialog.getPathName(), (folder.path / "export.txt").string());

    FileDialog cancelled(true, "347", "", FileDialog::HideReadOnly, "QZ347 Files (*.347)|*.347||", nullptr);
    user::onModal([&](Window& modal) { user::answer(modal, IDCANCEL); });
    EXPECT_EQ(cancelled.runModal(), IDCANCEL);
    user::onModal(nullptr);
}

// Points an environment variable elsewhere for as long as it lives.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            previous_ = old;
            hadPrevious_ = true;
        }
        setenv(name, value.c_str(), 1);
    }
    ~EnvironmentVariable()
    {
        if (hadPrevious_) {
            setenv(name_, previous_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// The connection profile is the only file the application keeps: the toolkit's file
// dialogs leave nothing of their own in the user's folders.
TEST(FileDialogTest, TheDialogsKeepNoSettingsFileOfTheirOwn)
{
    TemporaryFolder home;
    fs::create_directories(home.path / "config");
    EnvironmentVariable homeFolder("HOME", home.path.string());
    EnvironmentVariable configFolder("XDG_CONFIG_HOME", (home.path / "config").string());
    TemporaryFolder target;

    FileDialog save(false, "347", "", FileDialog::HideReadOnly | FileDialog::OverwritePrompt,
                    "QZ347 Files (*.347)|*.347||", nullptr);
    user::onModal([&](Window& modal) { user::chooseFile(modal, (target.path / "studio").string()); });
    ASSERT_EQ(save.runModal(), IDOK);
    FileDialog open(true, "347", "", FileDialog::HideReadOnly, "QZ347 Files (*.347)|*.347||", nullptr);
    user::onModal([&](Window& modal) { user::answer(modal, IDCANCEL); });
    EXPECT_EQ(open.runModal(), IDCANCEL);
    user::onModal(nullptr);

    std::vector<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(home.path)) {
        if (entry.is_regular_file()) {
            written.push_back(entry.path().string());
        }
    }
    EXPECT_EQ(written, std::vector<std::string>{});
}

TEST(WaitCursorTest, ShownForAsLongAsItLives)
{
    EXPECT_FALSE(WaitCursor::isShown());
    {
        WaitCursor wait;
        EXPECT_TRUE(WaitCursor::isShown());
    }
    EXPECT_FALSE(WaitCursor::isShown());
}

} // namespace
