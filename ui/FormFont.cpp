#include "FormFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Sized in pixels, not points, so that the text scales with the layout and not with the
// screen's logical DPI setting.
constexpr int pixelSize = 11;

} // namespace

QFont formFont()
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/RobotoCondensed-Regular.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    QFont font(family);
    font.setPixelSize(pixelSize);
    return font;
}
