#include "ui/frminfo.h"

namespace marlovin {

frmInfo::frmInfo(QWidget* owner) : QDialog(owner) { setWindowTitle(QStringLiteral("Info")); }

}  // namespace marlovin
