#include "ui/binding/Indicators.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/Exceptions.h"

Win32BitmapObserver::Win32BitmapObserver(Static* picture, const ValuePredicate* predicate,
                                         const Bitmap* whenTrue, const Bitmap* whenFalse)
    : picture(picture), predicate(predicate), whenTrue(whenTrue), whenFalse(whenFalse)
{
    if (picture == nullptr || predicate == nullptr || whenTrue == nullptr || whenFalse == nullptr) {
        throw VormoException("Error initializing a Win32BitmapObserver");
    }
}

void Win32BitmapObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        picture->setBitmap(predicate->test(subject->value()) ? whenTrue : whenFalse);
    }
}

Win32BitmapMapObserver::Win32BitmapMapObserver(Static* picture, const Bitmap* defaultBitmap)
    : defaultBitmap(defaultBitmap), picture(picture)
{
    if (picture == nullptr || defaultBitmap == nullptr) {
        throw VormoException("Error initializing a Win32BitmapMapObserver");
    }
}

void Win32BitmapMapObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    auto found = bitmaps.find(subject->value().toInt16());
    picture->setBitmap(found != bitmaps.end() ? found->second : defaultBitmap);
}

void Win32BitmapMapObserver::addBitmap(const ParameterValue& value, const Bitmap* bitmap)
{
    bitmaps[value.toInt16()] = bitmap;
    update(subject, nullptr);
}

double LevelMeterScaler::scale(double value, double floor) const
{
    if (value <= 0) {
        return floor;
    }
    return std::max(floor, (value - 1023.0) * 0.094071);
}

static double signedLowByte(double value)
{
    return static_cast<int8_t>(static_cast<uint8_t>(static_cast<long>(std::trunc(value)) & 0xFF));
}

double LineModeMeterScaler::scale(double value, double) const
{
    return signedLowByte(value) * 0.1875;
}

double RfModeMeterScaler::scale(double value, double) const
{
    return signedLowByte(value) * 0.375;
}

// --- Meter ---------------------------------------------------------------------------

static long monotonicMilliseconds()
{
    static const auto start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return 1 + long(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

static Win32MeterObserver::Clock& meterClock()
{
    static Win32MeterObserver::Clock clock = monotonicMilliseconds;
    return clock;
}

void Win32MeterObserver::setClock(Clock clock)
{
    meterClock() = clock ? std::move(clock) : Clock(monotonicMilliseconds);
}

long Win32MeterObserver::now()
{
    return meterClock()();
}

Win32MeterObserver::Win32MeterObserver(Window* window, const MeterScaler* scaler,
                                       const MeterSettings* settings)
    : scaler(scaler), window(window)
{
    if (window == nullptr || !window->hasWindow()) {
        throw VormoException("Null meter window");
    }
    if (scaler == nullptr) {
        throw VormoException("Null meter scaler");
    }
    const MeterSettings copy = settings != nullptr ? *settings : MeterSettings{};
    settings = &copy;
    horizontal = settings->horizontal;
    scale = settings->scale;
    offset = settings->offset;
    reference = settings->reference;
    riseRate = settings->riseRate;
    fallRate = settings->fallRate;
    maximum = settings->maximum;
    minimum = settings->minimum;
}

void Win32MeterObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    if (!subject->available()) {
        window->fillSolidRect(window->clientRect(), dialogFaceColour());
        return;
    }
    double raw = subject->value().toInt16();
    double target = scaler->scale(raw * scale + offset, minimum);
    target = std::min(std::max(target, minimum), maximum);
    long time = now();
    double level = target;
    if (shownTime != 0) {
        double elapsed = double(time - shownTime) * 0.001;
        if (target > shownLevel && riseRate > 0) {
            level = std::min(target, shownLevel + elapsed * riseRate);
        } else if (target < shownLevel && fallRate > 0) {
            level = std::max(target, shownLevel - elapsed * fallRate);
        }
    }
    draw(level);
    shownLevel = level;
    shownTime = time;
}

void Win32MeterObserver::draw(double level)
{
    if (level < reference) {
        if (reference < maximum) {
            band(reference, maximum, background);
        }
        band(level, reference, belowReference);
        band(minimum, level, background);
    } else if (level > reference) {
        if (minimum < reference) {
            band(minimum, reference, background);
        }
        band(reference, level, aboveReference);
        band(level, maximum, background);
    } else {
        window->fillSolidRect(window->clientRect(), background);
    }
}

void Win32MeterObserver::band(double from, double to, Colour colour)
{
    Rect client = window->clientRect();
    double span = maximum - minimum;
    double fa = span != 0 ? (from - minimum) / span : 0.0;
    double fb = span != 0 ? (to - minimum) / span : 0.0;
    Rect area = client;
    if (horizontal) {
        int width = client.right - client.left;
        area.left = client.left + int(fa * width);
        area.right = client.left + int(fb * width);
    } else {
        int height = client.top - client.bottom;
        area.bottom = client.bottom + int(fa * height);
        area.top = client.bottom + int(fb * height);
    }
    window->fillSolidRect(area, colour);
}

// --- LCD text ------------------------------------------------------------------------

bool CStaticLCD::onControlColour(ControlColours& colours)
{
    if (!hasFont) {
        // Only the face and the height are the readout's own; the rest is the template's.
        font = getFont();
        font.face = "Digiface";
        font.height = -26;
        hasFont = true;
    }
    colours.setFont = true;
    colours.font = font;
    colours.setTextColour = true;
    colours.textColour = textColour;
    colours.setBackground = true;
    colours.background = rgb(0, 0, 0);
    return true;
}
