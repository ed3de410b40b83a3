#include "ui/fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <QStringList>

// The resources live in a static library, so nothing would pull their initialiser in otherwise.
static void InitFontResources() {
    Q_INIT_RESOURCE(fonts);
}

namespace marlovin {

namespace {

struct Face {
    // The family a window asks for, the host's usual stand-in for it (tried first), and the
    // built-in face of nearly the same widths.
    const char* named;
    const char* hostStandIn;
    const char* builtIn;
    const char* file;
};

// Liberation Sans and Mono share Arial's and Courier New's widths (fontconfig maps those names to
// them where they are installed). For the title face, URW Gothic is what hosts usually have;
// Quicksand Bold comes closest to its widths among the faces free to build into a program.
constexpr Face kFaces[] = {
    {"Arial", nullptr, "Liberation Sans", ":/fonts/LiberationSans-Regular.ttf"},
    {"Courier New", nullptr, "Liberation Mono", ":/fonts/LiberationMono-Bold.ttf"},
    {"Century Gothic", "URW Gothic", "Quicksand", ":/fonts/Quicksand-Bold.ttf"},
};

}  // namespace

void EnsureFonts() {
    [[maybe_unused]] static const bool ready = [] {
        InitFontResources();
        // Without any fonts the database still lists generic names, but they lead to no face.
        const bool hostHasFonts =
            QFontDatabase::hasFamily(QFontInfo(QApplication::font()).family());
        // The host's own faces win; a second copy of a family it has could render differently.
        for (const Face& face : kFaces) {
            const QString named = QString::fromLatin1(face.named);
            const QString builtIn = QString::fromLatin1(face.builtIn);
            if (!QFontDatabase::hasFamily(builtIn))
                QFontDatabase::addApplicationFont(QString::fromLatin1(face.file));
            if (!QFontDatabase::hasFamily(named)) {
                QStringList substitutes;
                if (face.hostStandIn != nullptr)
                    substitutes.append(QString::fromLatin1(face.hostStandIn));
                substitutes.append(builtIn);
                QFont::insertSubstitutions(named, substitutes);
            }
        }
        if (!hostHasFonts) {
            QFont font = QApplication::font();
            font.setFamilies({QString::fromLatin1(kFaces[0].builtIn)});
            QApplication::setFont(font);
        }
        return true;
    }();
}

}  // namespace marlovin
