#include "ui/binding/Indicators.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "model/Exceptions.h"

Win32BitmapObserver::Win32BitmapObserver(Static* picture, const ValuePredicate* predicate,
                                         const Bitmap* whenTrue, const Bitmap* whenFalse)
    : picture_(picture), predicate_(predicate), whenTrue_(whenTrue), whenFalse_(whenFalse)
{
    if (picture == nullptr || predicate == nullptr || whenTrue == nullptr || whenFalse == nullptr) {
        throw VormoException("Error initializing a Win32BitmapObserver");
    }
}

void Win32BitmapObserver::update(Subject* changed, Transaction*)
{
    if (isOwnSubject(changed)) {
        picture_->setBitmap(predicate_->test(subject_->value()) ? whenTrue_ : whenFalse_);
    }
}

Win32BitmapMapObserver::Win32BitmapMapObserver(Static* picture, const Bitmap* defaultBitmap)
    : defaultBitmap_(defaultBitmap), picture_(picture)
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
    auto found = bitmaps_.find(subject_->value().toInt16());
    picture_->setBitmap(found != bitmaps_.end() ? found->second : defaultBitmap_);
}

void Win32BitmapMapObserver::addBitmap(const ParameterValue& value, const Bitmap* bitmap)
{
    bitmaps_[value.toInt16()] = bitmap;
    update(subject_, nullptr);
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
    : scaler_(scaler), window_(window), settings_(settings != nullptr ? *settings : MeterSettings{})
{
    if (window == nullptr || !window->hasWindow()) {
        throw VormoException("Null meter window");
    }
    if (scaler == nullptr) {
        throw VormoException("Null meter scaler");
    }
}

void Win32MeterObserver::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    if (!subject_->available()) {
        window_->fillSolidRect(window_->clientRect(), dialogFaceColour());
        shownBar_.reset();
        return;
    }
    double raw = subject_->value().toInt16();
    double target = scaler_->scale(raw * settings_.scale + settings_.offset, settings_.minimum);
    target = std::min(std::max(target, settings_.minimum), settings_.maximum);
    long time = now();
    double level = easedLevel(target, time);
    Bar bar = barFor(level);
    if (bar != shownBar_) {
        for (int i = 0; i < bar.count; ++i) {
            window_->fillSolidRect(bar.bands[std::size_t(i)].area, bar.bands[std::size_t(i)].colour);
        }
        shownBar_ = bar;
    }
    shownLevel_ = level;
    shownTime_ = time;
}

// The target, reached no faster than the rates allow since the previous update.
double Win32MeterObserver::easedLevel(double target, long time) const
{
    if (shownTime_ == 0) {
        return target;
    }
    double elapsed = double(time - shownTime_) * 0.001;
    if (target > shownLevel_ && settings_.riseRate > 0) {
        return std::min(target, shownLevel_ + elapsed * settings_.riseRate);
    }
    if (target < shownLevel_ && settings_.fallRate > 0) {
        return std::max(target, shownLevel_ - elapsed * settings_.fallRate);
    }
    return target;
}

Win32MeterObserver::Bar Win32MeterObserver::barFor(double level) const
{
    const double reference = settings_.reference;
    const Rect client = window_->clientRect();
    Bar bar;
    if (level < reference) {
        if (reference < settings_.maximum) {
            bar.add(band(client, reference, settings_.maximum, background));
        }
        bar.add(band(client, level, reference, belowReference));
        bar.add(band(client, settings_.minimum, level, background));
    } else if (level > reference) {
        if (settings_.minimum < reference) {
            bar.add(band(client, settings_.minimum, reference, background));
        }
        bar.add(band(client, reference, level, aboveReference));
        bar.add(band(client, level, settings_.maximum, background));
    } else {
        bar.add(Band{client, background});
    }
    return bar;
}

Win32MeterObserver::Band Win32MeterObserver::band(const Rect& client, double from, double to,
                                                  Colour colour) const
{
    double span = settings_.maximum - settings_.minimum;
    double fa = span != 0 ? (from - settings_.minimum) / span : 0.0;
    double fb = span != 0 ? (to - settings_.minimum) / span : 0.0;
    Rect area = client;
    if (settings_.horizontal) {
        int width = client.right - client.left;
        area.left = client.left + int(fa * width);
        area.right = client.left + int(fb * width);
    } else {
        int height = client.top - client.bottom;
        area.bottom = client.bottom + int(fa * height);
        area.top = client.bottom + int(fb * height);
    }
    return Band{area, colour};
}

// --- LCD text ------------------------------------------------------------------------

bool CStaticLCD::onControlColour(ControlColours& colours)
{
    if (!hasFont_) {
        // Only the face and the height are the readout's own; the rest is the template's.
        font_ = getFont();
        font_.face = "Digiface";
        font_.height = -26;
        hasFont_ = true;
    }
    colours.setFont = true;
    colours.font = font_;
    colours.setTextColour = true;
    colours.textColour = textColour_;
    colours.setBackground = true;
    colours.background = rgb(0, 0, 0);
    return true;
}
