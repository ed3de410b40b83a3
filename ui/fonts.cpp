#include "ui/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QResource>
#include <QString>

#include <fontconfig/fontconfig.h>

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

// Fontconfig lists a family the host also has twice, and Qt takes whichever copy comes last, which
// may be the host's (another version of Liberation, whose hinting differs). Hiding the host's
// copies leaves the built-in ones, which Qt hands to fontconfig directly, past any such rule.
void HideHostCopies() {
    QByteArray rules = "<fontconfig><selectfont><rejectfont>";
    for (const BuiltIn& face : kBuiltIn) {
        rules += "<pattern><patelt name=\"family\"><string>";
        rules += face.family;
        rules += "</string></patelt></pattern>";
    }
    rules += "</rejectfont></selectfont></fontconfig>";
    FcConfig* config = FcInitLoadConfig();
    if (config == nullptr)
        return;
    const auto* text = reinterpret_cast<const FcChar8*>(rules.constData());
    if (FcConfigParseAndLoadFromMemory(config, text, FcFalse) && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config);
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
}

}  // namespace

void EnsureFonts() {
    [[maybe_unused]] static const bool ready = [] {
        HideHostCopies();
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
