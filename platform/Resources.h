#pragma once

#include <memory>
#include <string>

// The application's resources: the string table, bitmaps and icons, each found by
// its numeric resource id.

// Loads a string of the string table; false when the id has no entry.
bool loadString(int id, std::string& text);

struct ImagePrivate;

// A bitmap loaded from the resources. Loading can fail (no such id).
class Bitmap {
public:
    Bitmap();
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    bool loadBitmap(int resourceId);
    bool isLoaded() const;
    int resourceId() const;
    int width() const;
    int height() const;

    ImagePrivate& internals() const { return *d_; }

private:
    std::unique_ptr<ImagePrivate> d_;
};

class Icon {
public:
    Icon();
    ~Icon();
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    bool loadIcon(int resourceId);
    bool isLoaded() const;

    ImagePrivate& internals() const { return *d_; }

private:
    std::unique_ptr<ImagePrivate> d_;
};
