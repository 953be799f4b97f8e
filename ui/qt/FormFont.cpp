#include "FormFont.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QResource>
#include <QStringList>

namespace {

// Sized in pixels, not points, so that the text scales with the layout and not with the
// screen's logical DPI setting.
constexpr int pixelSize = 11;

} // namespace

QFont formFont()
{
    static const QString family = [] {
        // The font is kept uncompressed in the program, so its bytes are handed over where they
        // lie: no 300 KB copy on the heap, and tables never read stay on disk.
        const QResource resource(QStringLiteral(":/fonts/RobotoCondensed-Regular.ttf"));
        const QByteArray data
            = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
        const int id = QFontDatabase::addApplicationFontFromData(data);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}
