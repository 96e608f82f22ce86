#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "model/Observer.h"
#include "model/Parameter.h"
#include "platform/Controls.h"
#include "platform/Resources.h"

// The read-only indicators: pictures that follow a value (the LEDs), bar meters and
// the LCD-style text. The predicates, scalers, settings and bitmaps belong to the
// dialog that binds them and live as long as the binding.

class ValuePredicate {
public:
    virtual ~ValuePredicate() = default;
    virtual bool test(const ParameterValue& value) const = 0;
};

class ValueEqualsPredicate : public ValuePredicate {
public:
    explicit ValueEqualsPredicate(int16_t value) : value(value) {}
    bool test(const ParameterValue& tested) const override { return tested.toInt16() == value; }

private:
    int16_t value;
};

class ValueNonZeroPredicate : public ValuePredicate {
public:
    bool test(const ParameterValue& tested) const override { return tested.toInt16() != 0; }
};

// One picture while the predicate holds, another while it does not.
class Win32BitmapObserver : public Observer<Parameter> {
public:
    Win32BitmapObserver(Static* picture, const ValuePredicate* predicate, const Bitmap* whenTrue,
                        const Bitmap* whenFalse);

    void update(Subject* changed, Transaction* hint) override;

private:
    Static* picture_;
    const ValuePredicate* predicate_;
    const Bitmap* whenTrue_;
    const Bitmap* whenFalse_;
};

// A picture per value, with a default for the values without one.
class Win32BitmapMapObserver : public Observer<Parameter> {
public:
    Win32BitmapMapObserver(Static* picture, const Bitmap* defaultBitmap);

    void update(Subject* changed, Transaction* hint) override;
    virtual void addBitmap(const ParameterValue& value, const Bitmap* bitmap);

private:
    const Bitmap* defaultBitmap_;
    Static* picture_;
    std::map<int16_t, const Bitmap*> bitmaps_;
};

// Turns a raw meter value into a level.
class MeterScaler {
public:
    virtual ~MeterScaler() = default;
    virtual double scale(double value, double floor) const = 0;
};

// Output levels: 1023 is 0 dB, each step below about 0.094 dB less, never below the floor.
class LevelMeterScaler : public MeterScaler {
public:
    double scale(double value, double floor) const override;
};

// The low byte as a signed number, in steps of 0.1875 (line mode compression).
class LineModeMeterScaler : public MeterScaler {
public:
    double scale(double value, double floor) const override;
};

// The low byte as a signed number, in steps of 0.375 (RF mode compression).
class RfModeMeterScaler : public MeterScaler {
public:
    double scale(double value, double floor) const override;
};

struct MeterSettings {
    bool horizontal = true;
    double offset = 0.0;
    double reference = 0.0;
    double maximum = 0.0;
    double minimum = 0.0;
    double riseRate = 0.0;
    double fallRate = 0.0;
    double scale = 1.0;
};

// A bar meter painted into a static control, easing towards the level no faster than
// its rise and fall rates allow. It paints only when the bar it would draw differs from
// the one shown: an update that moves no band by a pixel costs no painting.
class Win32MeterObserver : public Observer<Parameter> {
public:
    static constexpr Colour background = 0x800000;     // dark blue
    static constexpr Colour belowReference = 0x0000FF; // red
    static constexpr Colour aboveReference = 0x00BEFF; // amber

    Win32MeterObserver(Window* window, const MeterScaler* scaler, const MeterSettings* settings);

    void update(Subject* changed, Transaction* hint) override;

    double getShownLevel() const { return shownLevel_; }

    // The meters' clock: monotonic milliseconds (never 0). Tests set their own.
    using Clock = std::function<long()>;
    static void setClock(Clock clock);
    static long now();

private:
    struct Band {
        Rect area;
        Colour colour = 0;
        bool operator==(const Band&) const = default;
    };
    // What one level looks like: up to three bands, painted in order.
    struct Bar {
        std::array<Band, 3> bands;
        int count = 0;
        bool operator==(const Bar&) const = default;
        void add(const Band& band) { bands[std::size_t(count++)] = band; }
    };

    double easedLevel(double target, long time) const;
    Bar barFor(double level) const;
    Band band(const Rect& client, double from, double to, Colour colour) const;

    const MeterScaler* scaler_;
    Window* window_;
    MeterSettings settings_;
    double shownLevel_ = 0.0;
    long shownTime_ = 0;
    std::optional<Bar> shownBar_; // none until painted, and again once blanked
};

// A static text with the look of a liquid-crystal display: the text in its colour on
// black, in the "Digiface" face at character height 26 (a monospaced face where
// Digiface is not installed); the other font attributes come from the template.
class CStaticLCD : public Static {
public:
    explicit CStaticLCD(Colour textColour) : textColour_(textColour) {}

protected:
    bool onControlColour(ControlColours& colours) override;

private:
    bool hasFont_ = false;
    FontDescription font_;
    Colour textColour_;
};
