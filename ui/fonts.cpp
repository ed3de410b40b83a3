#include "ui/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QResource>
#include <QString>
#include <QStringList>

#include "ui/hostfonts.h"

namespace marlovin {

namespace {

struct BuiltIn {
    const char* family;
    QFont::Weight weight;
    const char* file;
};

// In the order of Face.
constexpr BuiltIn kBuiltIn[] = {
    {"Liberation Sans", QFont::Normal, ":/fonts/LiberationSans-Regular.ttf"},
    {"Liberation Mono", QFont::Bold, ":/fonts/LiberationMono-Bold.ttf"},
    {"TeX Gyre Adventor", QFont::Bold, ":/fonts/texgyreadventor-bold.otf"},
};

QFont FontOf(const BuiltIn& face) {
    QFont font;
    font.setFamilies({QString::fromLatin1(face.family)});
    font.setWeight(face.weight);
    // Light hinting, as Debian's fontconfig sets it by default, whatever the host's settings.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

}  // namespace

void EnsureFonts() {
    [[maybe_unused]] static const bool ready = [] {
        QStringList families;
        for (const BuiltIn& face : kBuiltIn)
            families.append(QString::fromLatin1(face.family));
        HideHostCopies(families);
        for (const BuiltIn& face : kBuiltIn) {
            // Stored uncompressed in the program: Qt and FreeType read the face where it lies, so
            // only the pages they touch take memory, and only once.
            const QResource resource(QString::fromLatin1(face.file));
            QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                reinterpret_cast<const char*>(resource.data()), resource.size()));
        }
        QFont font = FontOf(kBuiltIn[static_cast<int>(Face::Arial)]);
        font.setPointSize(9);
        QApplication::setFont(font);
        return true;
    }();
}

QFont BuiltInFont(Face face) {
    EnsureFonts();
    return FontOf(kBuiltIn[static_cast<int>(face)]);
}

}  // namespace marlovin
