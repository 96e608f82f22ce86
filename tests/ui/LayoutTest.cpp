#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyleOption>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "platform/qt/Internals.h"
#include "platform/qt/Widgets.h"
#include "templates/MainTemplate.h"
#include "ui/CAboutDlg.h"
#include "ui/CConnectionDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/CRemoteDlg.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CTessivaIIDlg.h"
#include "unit/UnitParameterSet.h"

using namespace apptest;

namespace {

// What a user at a 1280 x 800 screen must see whole.
constexpr int screenWidth = 1280;
constexpr int screenHeight = 800;

// Two of the failures a user meets first, in the words the application shows them.
const char* const refusedText =
    "connect failed with error code 111.  This probably means that the unit is not listening on the port "
    "and address provided.  Check the TCP/IP settings and try again.";
const char* const unresolvedText =
    "Unable to resolve server: studio-b-rack-2.broadcast-centre.example.  This probably means that the TCP "
    "address is not valid.  You may want to try entering the address in number format instead "
    "(127.12.23.12, for example).";

// Builds a message from its parts (streams do it without temporaries GCC warns on).
template <class... Parts> std::string words(const Parts&... parts)
{
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

class Faults {
public:
    void add(const std::string& where, const std::string& what) { list_.push_back(words(where, ": ", what)); }
    const std::vector<std::string>& list() const { return list_; }

private:
    std::vector<std::string> list_;
};

std::string nameOf(const QWidget* widget)
{
    std::string name = widget->objectName().toStdString();
    return name.empty() ? widget->metaObject()->className() : name;
}

int textWidth(const QWidget* widget, const QString& text)
{
    return widget->fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

// --- The room a caption has --------------------------------------------------------

void checkLabel(const QLabel* label, const std::string& where, Faults& faults)
{
    if (label->text().isEmpty() || !label->pixmap().isNull()) {
        return;
    }
    if (auto* eliding = qobject_cast<const QzElidingLabel*>(label)) {
        // Free text may be shortened, as long as the whole of it is at hand.
        if (eliding->shownText() != label->text() && eliding->toolTip() != label->text()) {
            faults.add(where, words('"', label->text().toStdString(), "\" shows as \"",
                                    eliding->shownText().toStdString(), "\" and its tooltip does not show it whole"));
        }
        return;
    }
    QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    QSize need = label->fontMetrics().size(0, label->text());
    if (qobject_cast<const QzWrappingLabel*>(label) != nullptr || label->wordWrap()) {
        need = QSize(room.width(), label->sizeHint().height() - 2 * label->margin() - 2 * label->frameWidth());
    }
    if (need.width() > room.width() || need.height() > room.height()) {
        faults.add(where, words('"', label->text().toStdString(), "\" needs ", need.width(), " x ", need.height(),
                                " and has ", room.width(), " x ", room.height()));
    }
}

void checkButton(const QAbstractButton* button, const std::string& where, Faults& faults)
{
    if (button->text().isEmpty()) {
        return;
    }
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = qobject_cast<const QCheckBox*>(button) != nullptr      ? QStyle::SE_CheckBoxContents
                                  : qobject_cast<const QRadioButton*>(button) != nullptr ? QStyle::SE_RadioButtonContents
                                                                                         : QStyle::SE_PushButtonContents;
    int room = button->style()->subElementRect(contents, &option, button).width();
    int need = textWidth(button, button->text());
    if (need > room) {
        faults.add(where, words('"', button->text().toStdString(), "\" needs ", need, " and has ", room));
    }
}

void checkGroupCaption(const QGroupBox* box, const std::string& where, Faults& faults)
{
    if (box->title().isEmpty()) {
        return;
    }
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    int room = label.intersected(box->rect()).width();
    int need = textWidth(box, box->title());
    if (need > room) {
        faults.add(where, words("caption \"", box->title().toStdString(), "\" needs ", need, " and has ", room));
    }
}

void checkTabs(const QzTabRows* tabs, const std::string& where, Faults& faults)
{
    for (int i = 0; i < tabs->count(); ++i) {
        QRect tab = tabs->tabRect(i);
        std::string caption = tabs->tabText(i).toStdString();
        if (tab.isEmpty() || !tabs->rect().contains(tab)) {
            faults.add(where, words("tab \"", caption, "\" stands outside the tab control"));
        } else if (textWidth(tabs, tabs->tabText(i)) > tab.width()) {
            faults.add(where, words("tab \"", caption, "\" is cut"));
        }
    }
}

// --- Controls on top of each other ---------------------------------------------------

// Containers whose children the templates place; the inner parts of a combo box, a
// list or a spin box are the toolkit's.
bool placesItsChildren(const QWidget* widget)
{
    if (qobject_cast<const QAbstractScrollArea*>(widget) != nullptr ||
        qobject_cast<const QComboBox*>(widget) != nullptr ||
        qobject_cast<const QAbstractSpinBox*>(widget) != nullptr) {
        return false;
    }
    return qobject_cast<const QGroupBox*>(widget) != nullptr || qobject_cast<const QDialog*>(widget) != nullptr ||
           qobject_cast<const QzTabFrame*>(widget) != nullptr || qobject_cast<const QzScale*>(widget) != nullptr ||
           widget->metaObject() == &QWidget::staticMetaObject || widget->metaObject() == &QFrame::staticMetaObject;
}

void checkChildren(const QWidget* parent, const std::string& where, Faults& faults)
{
    std::vector<const QWidget*> shown;
    for (const QObject* object : parent->children()) {
        auto* child = qobject_cast<const QWidget*>(object);
        if (child != nullptr && !child->isWindow() && child->isVisible()) {
            shown.push_back(child);
        }
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (!parent->rect().contains(shown[i]->geometry())) {
            faults.add(where, words(nameOf(shown[i]), " reaches out of ", nameOf(parent)));
        }
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->geometry().intersects(shown[j]->geometry())) {
                QRect common = shown[i]->geometry().intersected(shown[j]->geometry());
                faults.add(where, words(nameOf(shown[i]), " and ", nameOf(shown[j]), " overlap by ", common.width(),
                                        " x ", common.height(), " px"));
            }
        }
    }
}

// --- Marks and ticks -------------------------------------------------------------------

// A mark names a value of a slider or a meter; the value's place must be its middle.
struct Mark {
    const char* label;
    const char* scale; // a slider, or a meter drawn from minimum to maximum across its width
    double value;      // of the slider's range, or of the meter's scale
    double minimum = 0;
    double maximum = 0;
};

constexpr double sliderTop = -1e9; // the slider's minimum, whatever its range now
constexpr double sliderBottom = 1e9;

void checkMark(QWidget* window, const Mark& mark, const std::string& where, Faults& faults)
{
    auto* label = window->findChild<QLabel*>(mark.label);
    auto* scale = window->findChild<QWidget*>(mark.scale);
    if (label == nullptr || scale == nullptr) {
        faults.add(where, words("no mark ", mark.label, " on ", mark.scale));
        return;
    }
    if (!label->isVisible()) {
        return;
    }
    bool horizontal = true;
    double place = 0;
    if (auto* slider = qobject_cast<QSlider*>(scale)) {
        horizontal = slider->orientation() == Qt::Horizontal;
        int value = mark.value == sliderTop      ? slider->minimum()
                    : mark.value == sliderBottom ? slider->maximum()
                                                 : int(mark.value);
        QPoint thumb = slider->mapTo(window, thumbCentre(slider, value).toPoint());
        place = horizontal ? thumb.x() : thumb.y();
    } else {
        QRect meter(scale->mapTo(window, QPoint(0, 0)), scale->size());
        place = meter.left() + (mark.value - mark.minimum) / (mark.maximum - mark.minimum) * meter.width();
    }
    QRect shown(label->mapTo(window, QPoint(0, 0)), label->size());
    double middle = horizontal ? shown.left() + shown.width() / 2.0 : shown.top() + shown.height() / 2.0;
    if (std::abs(middle - place) > 3) {
        faults.add(where, words('"', label->text().toStdString(), "\" (", mark.label, ") stands ",
                                std::lround(middle - place), " px from its value"));
    }
}

const std::vector<Mark> volumeMarks = {
    {"volumeTopLabel", "volumeSlider", sliderTop},
    {"volumeZeroMark", "volumeSlider", -192}, // 0 dB; the slider runs upside down
    {"volumeBottomLabel", "volumeSlider", sliderBottom},
};
const std::vector<Mark> outputMeterMarks = {
    {"scaleMinus60", "leftMeter", -60, -60, 0}, {"scaleMinus40", "leftMeter", -40, -60, 0},
    {"scaleMinus20", "leftMeter", -20, -60, 0}, {"scale0", "leftMeter", 0, -60, 0},
    {"tickMinus60", "leftMeter", -60, -60, 0},  {"tickMinus50", "leftMeter", -50, -60, 0},
    {"tickMinus40", "leftMeter", -40, -60, 0},  {"tickMinus30", "leftMeter", -30, -60, 0},
    {"tickMinus20", "leftMeter", -20, -60, 0},  {"tickMinus10", "leftMeter", -10, -60, 0},
    {"tick0", "leftMeter", 0, -60, 0},
};
const std::vector<Mark> compressionMarks = {
    {"lineModeScaleMinimum", "lineModeMeter", -24, -24, 24}, {"lineModeScaleCentre", "lineModeMeter", 0, -24, 24},
    {"lineModeScaleMaximum", "lineModeMeter", 24, -24, 24},  {"rfModeScaleMinimum", "rfModeMeter", -48, -48, 48},
    {"rfModeScaleCentre", "rfModeMeter", 0, -48, 48},        {"rfModeScaleMaximum", "rfModeMeter", 48, -48, 48},
};
const std::vector<Mark> masterTrimMarks = {
    {"masterTrimTopLabel", "masterTrimSlider", sliderTop},
    {"masterTrimBottomLabel", "masterTrimSlider", sliderBottom},
};
// Centre width and dimension both show -3 to +3 from 0 to 6; the centre width's 7 is "L/R".
const std::vector<Mark> tessivaIIMarks = {
    {"centerWidthLeftLabel", "centerWidthSlider", 0}, {"centerWidthCentreLabel", "centerWidthSlider", 3},
    {"centerWidthRightLabel", "centerWidthSlider", 6}, {"dimensionLeftLabel", "dimensionSlider", 0},
    {"dimensionCentreLabel", "dimensionSlider", 3},     {"dimensionRightLabel", "dimensionSlider", 6},
};
// Pan 0 to 20 is -10 to +10; level 0 is 0 dB and 60 is -60 dB (61 mutes).
const std::vector<Mark> karaokeMarks = {
    {"vocalOnePanLeftLabel", "vocalOnePanSlider", 0},    {"vocalOnePanCentreLabel", "vocalOnePanSlider", 10},
    {"vocalOnePanRightLabel", "vocalOnePanSlider", 20},  {"vocalTwoPanLeftLabel", "vocalTwoPanSlider", 0},
    {"vocalTwoPanCentreLabel", "vocalTwoPanSlider", 10}, {"vocalTwoPanRightLabel", "vocalTwoPanSlider", 20},
    {"musicPanLeftLabel", "musicPanSlider", 0},          {"musicPanCentreLabel", "musicPanSlider", 10},
    {"musicPanRightLabel", "musicPanSlider", 20},        {"vocalOneLevelTopLabel", "vocalOneLevelSlider", 0},
    {"vocalOneLevelBottomLabel", "vocalOneLevelSlider", 60}, {"vocalTwoLevelTopLabel", "vocalTwoLevelSlider", 0},
    {"vocalTwoLevelBottomLabel", "vocalTwoLevelSlider", 60}, {"musicLevelTopLabel", "musicLevelSlider", 0},
    {"musicLevelBottomLabel", "musicLevelSlider", 60},
};

// --- Fields and what stands beside them -------------------------------------------------

// A unit ("dB", "ms") belongs to the value before it: no wide gap between them.
struct Unit {
    const char* value;
    const char* unit;
};
const std::vector<Unit> metadataUnits = {
    {"mixLevel", "mixLevelUnitLabel"},
    {"tsDelayWord", "tsDelayWordUnitLabel"},
    {"decoderLatency", "decoderLatencyUnitLabel"},
    {"processingLatency", "processingLatencyUnitLabel"},
};

void checkUnit(QWidget* window, const Unit& pair, const std::string& where, Faults& faults)
{
    auto* value = window->findChild<QLabel*>(pair.value);
    auto* unit = window->findChild<QLabel*>(pair.unit);
    if (value == nullptr || unit == nullptr) {
        faults.add(where, words("no value ", pair.value, " with its unit"));
        return;
    }
    // The widest text the value shows ("N/A", "-31", "100") is about three digits wide.
    int valueEnd = value->mapTo(window, QPoint(0, 0)).x() + textWidth(value, "-888");
    int gap = unit->mapTo(window, QPoint(0, 0)).x() - valueEnd;
    if (gap > 3 * value->fontMetrics().averageCharWidth()) {
        faults.add(where, words(pair.unit, " stands ", gap, " px after its value"));
    }
}

// Fields of one column start at the same place, whichever box holds them.
void checkColumn(QWidget* window, const std::vector<const char*>& fields, const std::string& where, Faults& faults)
{
    std::vector<int> lefts;
    for (const char* name : fields) {
        if (auto* field = window->findChild<QWidget*>(name)) {
            lefts.push_back(field->mapTo(window, QPoint(0, 0)).x());
        }
    }
    if (lefts.size() != fields.size() ||
        std::adjacent_find(lefts.begin(), lefts.end(), std::not_equal_to<>()) != lefts.end()) {
        std::ostringstream places;
        for (int left : lefts) {
            places << " " << left;
        }
        faults.add(where, words("the fields from ", fields.front(), " to ", fields.back(),
                                " do not stand in one column but at", places.str()));
    }
}

// A drop-down list no wider than twice what its longest entry needs.
void checkDropDown(const QComboBox* combo, const std::string& where, Faults& faults)
{
    if (combo == nullptr) {
        faults.add(where, "a drop-down list is missing");
    } else if (combo->width() > 2 * combo->sizeHint().width()) {
        faults.add(where, words(nameOf(combo), " is ", combo->width(), " px wide for entries of ",
                                combo->sizeHint().width()));
    }
}

// --- Every text a value can bring ---------------------------------------------------------

// The room an edit or a drop-down gives its text, and what the text needs.
void checkField(QWidget* field, const std::string& where, Faults& faults)
{
    int room = 0;
    QStringList texts;
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        QMargins margins = edit->textMargins();
        // The edit's own margin of 2 on each side and a pixel for the caret.
        room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - margins.left() -
               margins.right() - 2 * 2 - 1;
        texts.append(edit->text());
    } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
        for (int i = 0; i < combo->count(); ++i) {
            texts.append(combo->itemText(i));
        }
        texts.append(combo->currentText());
    }
    for (const QString& text : texts) {
        int need = field->fontMetrics().horizontalAdvance(text);
        if (need > room) {
            faults.add(where, words('"', text.toStdString(), "\" needs ", need, " and has ", room));
        }
    }
}

// The controls that show a value as text: static texts, edits and drop-downs.
std::vector<QWidget*> textFields(QWidget* window)
{
    std::vector<QWidget*> fields;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->property("id").isValid() &&
            (qobject_cast<QLabel*>(widget) != nullptr || qobject_cast<QLineEdit*>(widget) != nullptr ||
             qobject_cast<QComboBox*>(widget) != nullptr)) {
            fields.push_back(widget);
        }
    }
    return fields;
}

std::string shownText(QWidget* field)
{
    if (auto* label = qobject_cast<QLabel*>(field)) {
        return label->text().toStdString();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        return edit->text().toStdString();
    }
    return static_cast<QComboBox*>(field)->currentText().toStdString();
}

// The values of a parameter whose texts the sweep shows: all of a range a user could
// scroll through, the ends, zero and minus one of a longer one.
std::vector<int> valuesOf(const Parameter& parameter)
{
    int lowest = parameter.minimum().toInt16();
    int highest = parameter.maximum().toInt16();
    if (lowest > highest) { // a range up to 0xFFFF, say, of unsigned readings
        lowest = parameter.minimum().toUInt16();
        highest = parameter.maximum().toUInt16();
    }
    std::vector<int> values;
    if (highest - lowest <= 4096) {
        for (int value = lowest; value <= highest; ++value) {
            values.push_back(value);
        }
    } else {
        values = {lowest, highest};
        for (int value : {0, -1}) {
            if (lowest <= value && value <= highest) {
                values.push_back(value);
            }
        }
    }
    return values;
}

// As the unit would report it: the parameter takes the value and its observers show it.
void report(Parameter& parameter, const ParameterValue& value)
{
    try {
        if (auto* control = dynamic_cast<ControlParameter*>(&parameter)) {
            control->takeReported(value);
        } else {
            parameter.takeReported(value);
        }
        parameter.notify(nullptr);
    } catch (const std::exception&) {
        // A rule refused the combination; the controls show what they show.
    }
}

// Every value of every number parameter in turn, as the unit may report them: each text
// field of the window shows each text whole in the room it has, and the window keeps
// its size. Text parameters are free text; the window shortens what does not fit.
void sweepAllValues(UnitParameterSet& set, QWidget* window, const std::string& where, Faults& faults)
{
    QSize before = window->frameGeometry().size();
    std::vector<ParameterId> ids;
    for (const auto& [id, parameter] : set.statuses()) {
        ids.push_back(id);
    }
    for (const auto& [id, parameter] : set.controls()) {
        ids.push_back(id);
    }
    std::vector<QWidget*> fields = textFields(window);
    std::map<QWidget*, std::string> checked;
    for (const ParameterId& id : ids) {
        Parameter& parameter = *set.findParameter(id);
        if (parameter.minimum().toInt16() == -0x8000 && parameter.maximum().toInt16() == 0x7FFF) {
            continue; // the range of a text parameter
        }
        const ParameterValue original = parameter.value();
        for (int value : valuesOf(parameter)) {
            report(parameter, ParameterValue(value));
            for (QWidget* field : fields) {
                std::string text = shownText(field);
                if (checked[field] == text) {
                    continue;
                }
                checked[field] = text;
                std::string at = words(where, " ", nameOf(field), " at 0x", std::hex, uint16_t(id.toInt()), std::dec, "=", value);
                if (auto* label = qobject_cast<QLabel*>(field)) {
                    checkLabel(label, at, faults);
                } else {
                    checkField(field, at, faults);
                }
            }
        }
        report(parameter, original);
    }
    processPendingMessages();
    QSize after = window->frameGeometry().size();
    if (after != before) {
        faults.add(where, words("the values changed the window from ", before.width(), " x ", before.height(), " to ",
                                after.width(), " x ", after.height()));
    }
}

// --- One window --------------------------------------------------------------------------

struct Expected {
    bool minMaxBoxes = false;
    std::vector<Mark> marks;
};

void inspect(Window& shown, const std::string& name, Faults& faults, const Expected& expected = {})
{
    QWidget* window = shown.internals().live();
    ASSERT_NE(window, nullptr) << name;
    window = window->window();
    processPendingMessages();
    savePicture(shown, "layout_" + name);

    QSize size = window->frameGeometry().size();
    if (size.width() > screenWidth || size.height() > screenHeight) {
        faults.add(name, words("the window is ", size.width(), " x ", size.height()));
    }
    QSize smallest = window->minimumSize();
    if (smallest.width() > screenWidth || smallest.height() > screenHeight) {
        faults.add(name, words("the window cannot be smaller than ", smallest.width(), " x ", smallest.height()));
    }
    // A window larger than the screen would open with its contents scrolled: on the
    // screen the windows are made for, none may need that.
    if (window->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) {
        faults.add(name, "the window's contents scroll: it is larger than the screen");
    }
    if (expected.minMaxBoxes && (!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint) ||
                                 !window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint))) {
        faults.add(name, "the window has no minimise or maximise box");
    }
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || (widget->isWindow() && widget != window)) {
            continue;
        }
        std::string where = words(name, " ", nameOf(widget));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            checkLabel(label, where, faults);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            checkButton(button, where, faults);
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            checkGroupCaption(box, where, faults);
        } else if (auto* tabs = qobject_cast<QzTabRows*>(widget)) {
            checkTabs(tabs, where, faults);
        }
        if (placesItsChildren(widget)) {
            checkChildren(widget, where, faults);
        }
    }
    for (const Mark& mark : expected.marks) {
        checkMark(window, mark, name, faults);
    }
}

std::string tabName(TabControl& tabs, int index)
{
    std::string name = tabs.getItemText(index);
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? char(std::tolower(static_cast<unsigned char>(c))) : '_';
    }
    return name;
}

// Shows each page of a tab control in turn, as the user's clicks show them.
void inspectPages(CRemoteDlg& window, int tabsId, Faults& faults)
{
    TabControl& tabs = window.control<TabControl>(tabsId);
    for (int i = 0; i < tabs.getItemCount(); ++i) {
        user::clickTab(tabs, i);
        processPendingMessages();
        std::string page = tabs.getItemText(i);
        Expected expected;
        expected.minMaxBoxes = true;
        expected.marks = volumeMarks;
        QWidget* top = window.internals().live();
        if (page == "Output Meters") {
            expected.marks.insert(expected.marks.end(), outputMeterMarks.begin(), outputMeterMarks.end());
        } else if (page == "Compression Meters") {
            expected.marks.insert(expected.marks.end(), compressionMarks.begin(), compressionMarks.end());
        } else if (page == "Monitor Configuration") {
            expected.marks.insert(expected.marks.end(), masterTrimMarks.begin(), masterTrimMarks.end());
        } else if (page == "Metadata Status") {
            for (const Unit& unit : metadataUnits) {
                checkUnit(top, unit, "main_window " + page, faults);
            }
        } else if (page == "System Settings") {
            checkColumn(top, {"screenSaverTimeout", "screenSaverDesign", "timecodeDisplay", "unitName"},
                        "main_window " + page, faults);
            for (const char* list : {"screenSaverTimeout", "screenSaverDesign", "timecodeDisplay"}) {
                checkDropDown(top->findChild<QComboBox*>(list), "main_window " + page, faults);
            }
        }
        inspect(window, "main_window_" + tabName(tabs, i), faults, expected);
    }
}

// The pans of the karaoke vocals and music: 0 is hard left, 20 hard right.
constexpr int karaokePans[] = {0x0B0B, 0x0B0C, 0x0B0D};

// The tour of the main window: every page of both tab controls, the volume scale of
// both volume parameters, and every dialog its pages and menu open.
void tourMainWindow(CRemoteDlg& window, Faults& faults)
{
    Expected mainWindow;
    mainWindow.minMaxBoxes = true;
    mainWindow.marks = volumeMarks;
    inspect(window, "main_window", faults, mainWindow);
    inspectPages(window, MainTemplate::upperTabs, faults);
    inspectPages(window, MainTemplate::lowerTabs, faults);
    QWidget* top = window.internals().live()->window();
    QSize size = top->frameGeometry().size();
    sweepAllValues(*window.parameterSet(), top, "main_window", faults);

    // An active preset, whose name is free text from the unit: 32 characters of it. The
    // off-line store stands in for the unit (it takes writes in the group below).
    showTab(window, "User Presets");
    const std::string longName(32, 'W');
    window.offLineStore().setValue(ParameterId(0x1B00).previousGroup(), ParameterValue(3), 0);
    window.offLineStore().setValue(ParameterId(0x1B01).previousGroup(), ParameterValue(longName), 0);
    EXPECT_TRUE(waitUntil([&] { return window.control<Static>(MainTemplate::presetName).getText() == longName; }));
    inspect(window, "main_window_active_preset", faults, mainWindow);
    if (top->frameGeometry().size() != size) {
        faults.add("main_window_active_preset",
                   words("the preset name changed the window from ", size.width(), " x ", size.height(), " to ",
                         top->frameGeometry().width(), " x ", top->frameGeometry().height()));
    }

    // The digital volume: the scale's top reads 0 dB and the mark goes.
    window.parameterSet()->setValue(ParameterId(0x2D04), ParameterValue(1));
    inspect(window, "main_window_digital_volume", faults, mainWindow);
    window.parameterSet()->setValue(ParameterId(0x2D04), ParameterValue(0));

    // No pan at its right end as the dialog opens: the readouts' column must have room
    // for "Hard Right" all the same once a pan gets there.
    for (int pan : karaokePans) {
        window.parameterSet()->setValue(ParameterId(int16_t(pan)), ParameterValue(0));
    }
    openDialogsOfMainWindow(window);
}

TEST(LayoutTest, EveryWindowShowsItsCaptionsWholeWithoutOverlapsAndFitsTheScreen)
{
    TemporaryProfile profile;
    ModalUser modal;
    Faults faults;
    std::map<int, int> openings; // of each template, for the pictures' names
    CRemoteDlg window(CRemoteDlg::offLine, "", 1);
    modal.script = [&](Window& shown) {
        auto* dialog = dynamic_cast<Dialog*>(&shown);
        if (dialog == &window) {
            tourMainWindow(window, faults);
            window.endDialog(IDCANCEL);
            return true;
        }
        if (dialog == nullptr) {
            return false;
        }
        Expected expected;
        if (dialog->templateId() == CTessivaIIDlg::templateId) {
            expected.marks = tessivaIIMarks;
        } else if (dialog->templateId() == CKaraokeDlg::templateId) {
            expected.marks = karaokeMarks;
        }
        int opened = ++openings[dialog->templateId()];
        std::string name = words("dialog_", dialog->templateId(), "_", opened);
        inspect(*dialog, name, faults, expected);
        if (window.parameterSet() != nullptr && window.isRunningModal()) {
            // A dialog of the pages: every value its controls can show.
            sweepAllValues(*window.parameterSet(), dialog->internals().live()->window(), name, faults);
        }
        if (dialog->templateId() == CKaraokeDlg::templateId) {
            for (int pan : karaokePans) {
                window.parameterSet()->setValue(ParameterId(int16_t(pan)), ParameterValue(20));
            }
            inspect(*dialog, "karaoke_hard_right", faults, expected);
        }
        return false; // then closed as the user would
    };

    CConnectionDlg connection;
    connection.runModal();
    window.runModal();
    CMessageDlg(applicationErrorTemplateId, refusedText).runModal();
    CMessageDlg(applicationErrorTemplateId, applicationErrorText).runModal();
    CCommErrorDlg(refusedText).runModal();
    CCommErrorDlg(unresolvedText).runModal();
    CCommErrorDlg("Socket closed").runModal();

    for (const std::string& fault : faults.list()) {
        ADD_FAILURE() << fault;
    }
}

} // namespace
