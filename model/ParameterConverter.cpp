#include "model/ParameterConverter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <locale>
#include <sstream>

namespace {

// Nearest integer, halves away from zero.
double roundAway(double x)
{
    return x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
}

} // namespace

FractionParameterConverter::FractionParameterConverter(int32_t offset, int32_t scale, int32_t decimals,
                                                       bool showSign)
    : showSign_(showSign), offset_(offset), scale_(static_cast<float>(scale)), decimals_(decimals), power_(1)
{
    // 10 to the decimals; more than nine decimals cannot be held in 32 bits.
    for (int32_t i = 0; i < decimals_ && i < 9; ++i)
        power_ *= 10;
}

void FractionParameterConverter::toText(std::string& out, const ParameterValue& value) const
{
    const int64_t t = (static_cast<int64_t>(value.toInt16()) - offset_) * power_;
    const double x = static_cast<double>(t) / static_cast<double>(scale_);
    const double r = std::isfinite(x) ? roundAway(x) : 0.0;
    if (r == 0) {
        out.assign(1, '0'); // not a literal: GCC 12 warns falsely (-Wrestrict) on that assignment here
        return;
    }
    const std::string prefix = showSign_ ? "%+" : "%";
    char text[400];
    if (decimals_ > 0) {
        const std::string format = prefix + "2.*f";
        std::snprintf(text, sizeof text, format.c_str(), static_cast<int>(decimals_), r / power_);
    } else {
        // r is bounded by the 16-bit value times 10^9, so it fits a long long.
        const std::string format = prefix + "lld";
        std::snprintf(text, sizeof text, format.c_str(), static_cast<long long>(r));
    }
    out = text;
}

bool FractionParameterConverter::toValue(ParameterValue& out, const std::string& text) const
{
    // Read a number the way a text input stream does: leading blanks skipped,
    // a sign and a decimal point accepted, the rest of the text ignored.
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    float number = 0;
    if (!(in >> number) || !std::isfinite(number))
        return false;
    const float scaled = number * scale_;
    if (!std::isfinite(scaled))
        return false;
    // Refuse what does not fit a signed 16-bit value, rather than let the
    // wrap-around bring an out-of-range text back into range.
    const double result = static_cast<double>(offset_) + roundAway(scaled);
    if (result < -32768.0 || result > 32767.0)
        return false;
    out = ParameterValue(static_cast<int>(result));
    return true;
}

bool StringParameterConverter::toValue(ParameterValue& out, const std::string& text) const
{
    out = ParameterValue(text);
    return true;
}

void StringParameterConverter::toText(std::string& out, const ParameterValue& value) const
{
    out = value.toString();
}
