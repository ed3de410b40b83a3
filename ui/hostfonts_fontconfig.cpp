#include "ui/hostfonts.h"

#include <QByteArray>
#include <QString>

#include <fontconfig/fontconfig.h>

namespace marlovin {

// Fontconfig lists a family the host also has twice, and Qt takes whichever copy comes last, which
// may be the host's (another version of Liberation, whose hinting differs). Hiding the host's
// copies leaves the built-in ones, which Qt hands to fontconfig directly, past any such rule.
void HideHostCopies(const QStringList& families) {
    QByteArray rules = "<fontconfig><selectfont><rejectfont>";
    for (const QString& family : families) {
        rules += "<pattern><patelt name=\"family\"><string>";
        rules += family.toUtf8();
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

}  // namespace marlovin
