#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"
#include "support/gui/UserInput.h"
#include "templates/MainTemplate.h"
#include "ui/CRemoteDlg.h"
#include "ui/binding/ValueObservers.h"
#include "unit/UnitParameterSet.h"

using namespace apptest;

namespace {

// The longest text the program reads from the unit: its identifier first, so that a
// shortened text still tells whose it is, then the widest letter.
std::string longestText(const ParameterId& id)
{
    char start[8];
    std::snprintf(start, sizeof start, "%04X ", unsigned(uint16_t(id.toInt())));
    std::string text = start;
    text.resize(ParameterValue::maximumEncodedLength, 'W');
    return text;
}

// Every text parameter of the set, the preset names included.
std::vector<ParameterId> textParameters(UnitParameterSet& set)
{
    std::vector<ParameterId> ids;
    auto addTexts = [&](const auto& map) {
        for (const auto& [id, parameter] : map) {
            if (isFreeText(parameter)) {
                ids.push_back(id);
            }
        }
    };
    addTexts(set.statuses());
    addTexts(set.controls());
    addTexts(set.presetNameMap(0));
    addTexts(set.presetNameMap(1));
    return ids;
}

// The off-line store answers with the longest texts, and the window reads them as it
// reads a unit: every control parameter and preset name, every status group.
void reportLongestTexts(CRemoteDlg& window)
{
    UnitParameterSet& set = *window.parameterSet();
    for (const ParameterId& id : textParameters(set)) {
        window.offLineStore().setValue(id.previousGroup(), ParameterValue(longestText(id)), 0);
    }
    for (int step = 0; step < 3; ++step) { // the refresh rotation
        set.refresh();
    }
    for (std::size_t group = 0; group < set.pollQueue().size(); ++group) {
        set.pollStatusGroup();
    }
    processPendingMessages();
}

// The window's frame size and where each control shown stands, in the window's
// coordinates.
struct Places {
    QSize frame;
    std::map<QWidget*, QRect> controls;
};

Places placesNow(QWidget* root)
{
    Places places{root->frameGeometry().size(), {}};
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isVisible()) {
            places.controls[widget] = QRect(widget->mapTo(root, QPoint(0, 0)), widget->size());
        }
    }
    return places;
}

std::string describe(const QRect& rect)
{
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + " " + std::to_string(rect.width()) + "x" +
           std::to_string(rect.height());
}

void expectSamePlaces(const Places& before, const Places& now, const std::string& page)
{
    SCOPED_TRACE(page);
    EXPECT_EQ(now.frame, before.frame) << "the frame is " << now.frame.width() << " x " << now.frame.height()
                                       << " instead of " << before.frame.width() << " x " << before.frame.height();
    EXPECT_EQ(now.controls.size(), before.controls.size());
    for (const auto& [widget, place] : before.controls) {
        auto found = now.controls.find(widget);
        QRect moved = found != now.controls.end() ? found->second : QRect();
        EXPECT_EQ(moved, place) << widget->objectName().toStdString() << " stands at " << describe(moved)
                                << " instead of " << describe(place);
    }
}

// What a static text or a button shows of its text, and its whole text as the
// program gave it.
bool shownAndWhole(QWidget* widget, QString& shown, QString& whole)
{
    ControlAgent* agent = ControlAgent::of(widget);
    if (agent == nullptr || agent->wrapper_ == nullptr) {
        return false;
    }
    whole = withoutMnemonics(toQt(agent->wrapper_->getText()));
    if (auto* eliding = qobject_cast<QzElidingLabel*>(widget)) {
        shown = eliding->shownText();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        shown = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        shown = withoutMnemonics(button->text());
    } else {
        return false;
    }
    return true;
}

// A text shown shortened shows its start, then "…", and whole in its tooltip.
void expectShortenedTextsWholeInTheirTooltips(QWidget* root, const std::string& page,
                                               std::set<std::string>& shortened)
{
    SCOPED_TRACE(page);
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        QString shown;
        QString whole;
        if (!widget->isVisible() || !shownAndWhole(widget, shown, whole) || shown == whole) {
            continue;
        }
        std::string name = widget->objectName().toStdString();
        shortened.insert(name);
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)) && whole.startsWith(shown.chopped(1)))
            << name << " shows \"" << shown.toStdString() << "\" of \"" << whole.toStdString() << "\"";
        EXPECT_EQ(widget->toolTip(), whole) << name;
    }
}

// Every text the unit reports at the longest the program reads it, every page shown
// in turn: the window keeps its size, every control its place, and a text too long for
// its control shows its start and is whole in its tooltip.
TEST(LongTextWindowTest, TheLongestTextsMoveNoControlAndShowWholeInTheirTooltips)
{
    TemporaryProfile profile;
    ModalUser modal;
    CRemoteDlg window{CRemoteDlg::offLine, "", 1};
    ASSERT_TRUE(window.create(nullptr));
    window.show(true);
    processPendingMessages();
    QWidget* root = window.internals().live();
    ASSERT_NE(root, nullptr);

    struct Page {
        TabControl* tabs;
        int index;
        std::string name;
    };
    std::vector<Page> pages;
    for (int tabs : {MainTemplate::upperTabs, MainTemplate::lowerTabs}) {
        TabControl& control = window.control<TabControl>(tabs);
        for (int i = 0; i < control.getItemCount(); ++i) {
            pages.push_back({&control, i, control.getItemText(i)});
        }
    }
    auto showPage = [&](const Page& page) {
        user::clickTab(*page.tabs, page.index);
        processPendingMessages();
    };
    // Each tour starts with the first page of each tab control shown.
    auto startTour = [&] {
        user::clickTab(window.control<TabControl>(MainTemplate::lowerTabs), 0);
        user::clickTab(window.control<TabControl>(MainTemplate::upperTabs), 0);
    };
    std::vector<Places> before;
    startTour();
    for (const Page& page : pages) {
        showPage(page);
        before.push_back(placesNow(root));
    }

    reportLongestTexts(window);
    std::set<std::string> shortened;
    startTour();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        showPage(pages[i]);
        expectSamePlaces(before[i], placesNow(root), pages[i].name);
        expectShortenedTextsWholeInTheirTooltips(root, pages[i].name, shortened);
        if (pages[i].name == "Streaming" || pages[i].name == "User Presets" || pages[i].name == "System Settings") {
            std::string picture = "long_texts_" + pages[i].name;
            for (char& c : picture) {
                c = c == ' ' ? '_' : char(std::tolower(static_cast<unsigned char>(c)));
            }
            savePicture(window, picture);
        }
    }
    // The texts too long for their controls: the active preset's name, the stream's
    // status and the names of the 32 recall buttons.
    std::set<std::string> expected{"presetName", "status"};
    for (int preset = 1; preset <= 32; ++preset) {
        expected.insert("recallPreset" + std::to_string(preset));
    }
    EXPECT_EQ(shortened, expected);
    window.destroyWindow();
    processPendingMessages();
}

} // namespace
