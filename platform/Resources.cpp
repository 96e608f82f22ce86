#include <QFile>

#include <map>
#include <sstream>

#include "platform/Application.h"
#include "platform/Resources.h"
#include "platform/qt/Internals.h"

// The string table is a data file: one entry a line, the id, one blank or tab, then
// the text to the end of the line. Lines that begin with "#" and empty lines are skipped.
static const std::map<int, std::string>& stringTable()
{
    static std::map<int, std::string> table = [] {
        std::map<int, std::string> entries;
        ensureApplication();
        QFile file(":/strings.txt");
        if (!file.open(QIODevice::ReadOnly)) {
            return entries;
        }
        QByteArray data = file.readAll();
        std::istringstream in(std::string(data.constData(), std::size_t(data.size())));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.empty() || line[0] == '#') {
                continue;
            }
            std::size_t split = line.find_first_of(" \t");
            if (split == std::string::npos) {
                continue;
            }
            try {
                entries[std::stoi(line.substr(0, split))] = line.substr(split + 1);
            } catch (const std::exception&) {
                // a line without a number is not an entry
            }
        }
        return entries;
    }();
    return table;
}

bool loadString(int id, std::string& text)
{
    auto found = stringTable().find(id);
    if (found == stringTable().end()) {
        return false;
    }
    text = found->second;
    return true;
}

Bitmap::Bitmap() : d_(std::make_unique<ImagePrivate>()) {}
Bitmap::~Bitmap() = default;

bool Bitmap::loadBitmap(int resourceId)
{
    ensureApplication();
    QPixmap pixmap(QString(":/bitmaps/%1").arg(resourceId));
    if (pixmap.isNull()) {
        return false;
    }
    d_->pixmap = pixmap;
    d_->id = resourceId;
    return true;
}

bool Bitmap::isLoaded() const
{
    return !d_->pixmap.isNull();
}

int Bitmap::resourceId() const
{
    return d_->id;
}

int Bitmap::width() const
{
    return d_->pixmap.width();
}

int Bitmap::height() const
{
    return d_->pixmap.height();
}

Icon::Icon() : d_(std::make_unique<ImagePrivate>()) {}
Icon::~Icon() = default;

bool Icon::loadIcon(int resourceId)
{
    ensureApplication();
    QPixmap pixmap(QString(":/icons/%1").arg(resourceId));
    if (pixmap.isNull()) {
        return false;
    }
    d_->pixmap = pixmap;
    d_->id = resourceId;
    return true;
}

bool Icon::isLoaded() const
{
    return !d_->pixmap.isNull();
}
