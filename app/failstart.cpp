#include "app/failstart.h"

#include <cstdio>
#include <cstdlib>

namespace marlovin {

void FailStart(const QString& what) {
    const QString line =
        QStringLiteral(
            "marlovin: this game needs a graphical display, and none could be opened: ") +
        what + QLatin1Char('\n');
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace marlovin
