#include "ui/pictures.h"

#include <QString>
#include <array>
#include <cmath>

namespace marlovin {

namespace {

// As drawn by ui/pictures.cmake.
constexpr std::array<qreal, 7> kBannerDensities = {1.25, 1.5, 1.75, 2, 2.5, 3, 4};
constexpr int kIconSides[] = {16, 22, 24, 48, 64, 96, 128, 256};
constexpr int kBannerWidth = 154;
constexpr int kBannerHeight = 294;
// Ratios come from the window system as doubles: 1.5 may arrive as 1.5000000001.
constexpr qreal kSlack = 1e-6;

}  // namespace

QIcon ProgramIcon() {
    QIcon icon(QStringLiteral(":/icon.png"));
    for (const int side : kIconSides)
        icon.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(side));
    return icon;
}

QImage BannerAt(qreal ratio) {
    if (ratio <= 1 + kSlack)
        return QImage(QStringLiteral(":/banner.png"));
    qreal density = kBannerDensities.back();
    for (const qreal drawn : kBannerDensities) {
        if (drawn >= ratio - kSlack) {
            density = drawn;
            break;
        }
    }
    QImage banner(QStringLiteral(":/pictures/banner@%1x.png").arg(density));
    if (std::abs(density - ratio) > kSlack) {
        // Rounded up like the build's drawings, so the picture covers every device pixel.
        const QSize size(static_cast<int>(std::ceil(kBannerWidth * ratio - kSlack)),
                         static_cast<int>(std::ceil(kBannerHeight * ratio - kSlack)));
        banner = banner.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    banner.setDevicePixelRatio(ratio);
    return banner;
}

}  // namespace marlovin
