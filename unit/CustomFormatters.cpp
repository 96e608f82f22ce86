#include "unit/UnitFormatters.h"
#include "unit/UnitParameterSet.h"

void UnitParameterSet::defineCustomFormatters()
{
    // The catalogue's own formatter of each parameter stays in the owned list,
    // unused, until the set goes.
    for (UnitFormatter& entry : createUnitFormatters()) {
        const ParameterId id(static_cast<int16_t>(entry.id));
        Parameter& parameter = entry.kind == ParameterKind::Control
                                   ? static_cast<Parameter&>(controlParameters_.find(id))
                                   : statusParameters_.find(id);
        ParameterFormatter* formatter = entry.formatter.get();
        formatters_.push_back(std::move(entry.formatter));
        parameter.setFormatter(formatter);
    }
}
