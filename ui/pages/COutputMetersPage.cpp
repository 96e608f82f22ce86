#include "ui/pages/COutputMetersPage.h"

namespace {

struct Meter {
    int control;
    int parameter;
};

// Channel by channel as the unit numbers its output levels.
constexpr Meter outputMeters[] = {
    {1028, 0x2700}, // L
    {1030, 0x2701}, // R
    {1029, 0x2702}, // C
    {1033, 0x2703}, // SW
    {1031, 0x2704}, // Ls
    {1032, 0x2705}, // Rs
    {1034, 0x2706}, // Bsl
    {1035, 0x2707}, // Bsr
};

} // namespace

COutputMetersPage::COutputMetersPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), controller(parameterSet, errorReporter)
{
}

bool COutputMetersPage::onInitDialog()
{
    Dialog::onInitDialog();
    for (std::size_t i = 0; i < meters.size(); ++i) {
        attach(meters[i], outputMeters[i].control);
    }
    bindMeters();
    return true;
}

void COutputMetersPage::bindMeters()
{
    // Copied by each meter; the bar is amber from the left end up to the level.
    MeterSettings settings;
    settings.horizontal = true;
    settings.offset = 0.0;
    settings.reference = -60.0;
    settings.maximum = 0.0;
    settings.minimum = -60.0;
    settings.riseRate = 0.0;
    settings.fallRate = 40.0;
    settings.scale = 1.0;
    for (std::size_t i = 0; i < meters.size(); ++i) {
        controller.addMeter(&meters[i], ParameterId(int16_t(outputMeters[i].parameter)), &levelScaler,
                            &settings);
    }
}
