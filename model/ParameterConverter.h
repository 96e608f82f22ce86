#pragma once

#include <string>

#include "model/ParameterValue.h"

// Translates between the text of an edit control and a value. Held by value by
// its owners and never deleted through this interface.
class ParameterConverter {
public:
    // When the text can be read, sets out and returns true; otherwise returns
    // false and leaves out as it was.
    virtual bool toValue(ParameterValue& out, const std::string& text) const = 0;
    // Replaces out with the value's text.
    virtual void toText(std::string& out, const ParameterValue& value) const = 0;

protected:
    ParameterConverter() = default;
    ParameterConverter(const ParameterConverter&) = default;
    ParameterConverter& operator=(const ParameterConverter&) = default;
    ~ParameterConverter() = default;
};

// A fixed-point number: the text shows (value - offset) / scale with the given
// number of decimals, optionally always with a sign; the value is read signed.
class FractionParameterConverter : public ParameterConverter {
public:
    FractionParameterConverter(int32_t offset, int32_t scale, int32_t decimals, bool showSign);

    bool toValue(ParameterValue& out, const std::string& text) const override;
    void toText(std::string& out, const ParameterValue& value) const override;

private:
    bool showSign_;
    int32_t offset_;
    float scale_;
    int32_t decimals_;
    int32_t power_;
};

// The text's bytes are the value, in both directions.
class StringParameterConverter : public ParameterConverter {
public:
    bool toValue(ParameterValue& out, const std::string& text) const override;
    void toText(std::string& out, const ParameterValue& value) const override;
};
