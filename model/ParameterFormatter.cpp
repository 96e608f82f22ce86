#include "model/ParameterFormatter.h"

#include <cstdio>
#include <ostream>

namespace {

// The text up to its first zero byte, as a C string would end.
std::string untilZero(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

bool streamOk(const std::ostream& out)
{
    return !out.fail();
}

} // namespace

bool ParameterFormatter::writeName(std::ostream& out) const
{
    out << untilZero(name_);
    return streamOk(out);
}

bool EnumeratedFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    const auto label = labels_.find(value);
    if (label != labels_.end()) {
        out << label->second;
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value.toInt16()));
        out << text;
    }
    return streamOk(out);
}

void EnumeratedFormatter::add(const ParameterValue& value, const std::string& label)
{
    labels_[value] = label;
}

bool BCDFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    // Only bytes 0 and 1 exist; any other index selects nothing rather than shifting out of range.
    const unsigned shift = byteIndex_ >= 0 && byteIndex_ < 4 ? 8u * static_cast<unsigned>(byteIndex_) : 32u;
    const uint32_t reading = value.toUInt16();
    const uint32_t byte = shift < 32 ? (reading >> shift) & 0xFF : 0;
    const int number = static_cast<int>((byte >> 4) * 10 + (byte & 0x0F));
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    out << text;
    return streamOk(out);
}

bool TimeFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    // A divisor of 0 would divide by zero; it reads as seconds unchanged.
    const unsigned divisor = divisor_ == 0 ? 1u : divisor_;
    const unsigned seconds = value.toUInt16() / divisor;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>((seconds % 3600) / 60), static_cast<int>(seconds % 60));
    out << text;
    return true;
}

FractionFormatter::FractionFormatter(std::string name, std::string zeroText, int16_t scale, int16_t offset,
                                     int16_t divisor)
    : ParameterFormatter(std::move(name)), offset_(offset), zeroText_(std::move(zeroText)), scale_(scale),
      decimals_(0), divisor_(divisor)
{
    // The whole part of log10(scale), counted in integers so that 100 gives exactly 2.
    for (int rest = scale_; rest >= 10; rest /= 10)
        ++decimals_;
}

bool FractionFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    // The exact (raw - offset) * scale / divisor, truncated toward zero; a divisor of 0 counts as 1.
    const int64_t raw = value.toUInt16();
    const int64_t divisor = divisor_ == 0 ? 1 : divisor_;
    const int64_t n = (raw - offset_) * scale_ / divisor;
    if (n == 0) {
        out << "0 " << untilZero(zeroText_);
        return true;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%+2.*f", static_cast<int>(decimals_),
                  static_cast<double>(n) / static_cast<double>(scale_));
    out << text;
    return true;
}

bool StringFormatter::format(std::ostream& out, const ParameterValue& value) const
{
    out << untilZero(value.toString());
    return streamOk(out);
}
