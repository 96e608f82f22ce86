#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>

#include "model/ParameterValue.h"

// Names a parameter and turns its values into the text the user sees.
// Created on the heap by whoever defines it and deleted through this base.
class ParameterFormatter {
public:
    explicit ParameterFormatter(std::string name) : name_(std::move(name)) {}
    virtual ~ParameterFormatter() = default;

    // Writes the value's text; returns whether the text was written.
    virtual bool format(std::ostream& out, const ParameterValue& value) const = 0;
    // Writes the display name (up to its first zero byte); true when the stream shows no error.
    virtual bool writeName(std::ostream& out) const;

    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// Orders values by their signed 16-bit reading, whatever their byte length.
struct SignedValueLess {
    bool operator()(const ParameterValue& a, const ParameterValue& b) const
    {
        return a.toInt16() < b.toInt16();
    }
};

// A label per value; a value without a label shows as its signed number.
class EnumeratedFormatter : public ParameterFormatter {
public:
    explicit EnumeratedFormatter(std::string name) : ParameterFormatter(std::move(name)) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
    // Adding a value that is already labelled (as a signed number) replaces its label.
    void add(const ParameterValue& value, const std::string& label);

    const std::map<ParameterValue, std::string, SignedValueLess>& labels() const { return labels_; }

private:
    std::map<ParameterValue, std::string, SignedValueLess> labels_;
};

// One byte of the value as two binary-coded decimal digits ("%02d").
// Byte index 0 selects the low byte, 1 the high byte.
class BCDFormatter : public ParameterFormatter {
public:
    BCDFormatter(std::string name, int32_t byteIndex)
        : ParameterFormatter(std::move(name)), byteIndex_(byteIndex)
    {
    }

    bool format(std::ostream& out, const ParameterValue& value) const override;

private:
    int32_t byteIndex_;
};

// The value (unsigned) divided by the divisor, as seconds: "%02d:%02d:%02d".
class TimeFormatter : public ParameterFormatter {
public:
    TimeFormatter(std::string name, uint16_t divisor) : ParameterFormatter(std::move(name)), divisor_(divisor)
    {
    }

    bool format(std::ostream& out, const ParameterValue& value) const override;

private:
    uint16_t divisor_;
};

// A fixed-point number: (raw - offset) * scale / divisor, truncated, shown
// divided by scale with as many decimals as scale has digits after the first.
// The zero point shows as "0 " followed by the zero text.
class FractionFormatter : public ParameterFormatter {
public:
    FractionFormatter(std::string name, std::string zeroText, int16_t scale, int16_t offset, int16_t divisor);

    bool format(std::ostream& out, const ParameterValue& value) const override;

    int16_t decimals() const { return decimals_; }

private:
    int16_t offset_;
    std::string zeroText_;
    int16_t scale_;
    int16_t decimals_;
    int16_t divisor_;
};

// A text value, up to its first zero byte.
class StringFormatter : public ParameterFormatter {
public:
    explicit StringFormatter(std::string name) : ParameterFormatter(std::move(name)) {}

    bool format(std::ostream& out, const ParameterValue& value) const override;
};
